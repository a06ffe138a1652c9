#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace fw {

// Runs an outside program to its end, started directly (no command shell), and keeps its exit status.
// While it runs the windows keep painting; a run that lasts shows a modal box naming the program with a "Stop"
// button that kills it. The program's output is discarded.
class Shell {
public:
    // Runs program (a path) with the arguments, each handed over exactly as given, and returns when it has ended.
    void Execute(const QString& program, const QStringList& arguments);
    // The exit status of the last run; -1 when the program could not start, crashed or was stopped.
    int ErrorCode() const { return m_errorCode; }
    // The last run as command-line text, for messages: the program's shell-escaped path, then for each argument a
    // blank and the argument itself when it is an option ("-..."), else its shell-escaped path in double quotes.
    QString CommandLine() const { return m_commandLine; }

    // Test seam: while a StandIn lives, Execute hands the program and arguments to its function instead of starting
    // a process, and takes the function's result as the exit status. The newest live StandIn answers.
    class StandIn {
    public:
        using Run = std::function<int(const QString& program, const QStringList& arguments)>;
        explicit StandIn(Run run);
        ~StandIn();
        StandIn(const StandIn&) = delete;
        StandIn& operator=(const StandIn&) = delete;

    private:
        friend class Shell;
        Run m_run;
        StandIn* m_previous;
    };

private:
    int m_errorCode = 0;
    QString m_commandLine;
};

} // namespace fw
