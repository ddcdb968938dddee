// Helpers shared by the test programs.
#pragma once

#include <string>

// The folder that holds the running test program, with a trailing backslash;
// the module and the stand-in programs are built next to it.
std::string ProgramFolder();
// Names the build's program folder (with its trailing backslash) for a copy
// of a test program started from another folder.
constexpr const char BuildFolderVariable[] = "OMBRIX_TEST_BUILD_FOLDER";

// Full path of a file next to the running test program.
std::string BesideProgram(const char* fileName);
