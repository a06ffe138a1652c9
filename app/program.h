#pragma once

class App;

// The program's run from entry to exit: start-up, the event loop and shutdown.
class Program {
public:
    // The whole run; returns the exit status. The command line is not read.
    static int Main(int argc, char** argv);
    // Start-up and the event loop under one catch that reports what escapes them; returns the loop's exit status,
    // or 1 when an exception ended start-up or the loop.
    static int _Main(App& app);
    // The start-up routine: the file types, then the main window; returns 0.
    static int _Startup();
    // Releases the module-level objects in shutdown order: the main window, the shared menu bar, the file types.
    static void releaseModuleObjects();
};
