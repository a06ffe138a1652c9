#pragma once

#include "framework/filetype.h"
#include "framework/ref.h"

// The program's file types: only the pattern file type, kept from start-up to shutdown and read by nothing.
class MainFileTypes {
public:
    // "QEV Filetype Pattern", ".qevpat"; nil before start-up and after shutdown.
    static fw::Ref<fw::FileType> pQEVFiletypePattern;

    // Creates the file types, replacing any earlier ones.
    static void _Initialize();
    // Drops the file types.
    static void release();
};
