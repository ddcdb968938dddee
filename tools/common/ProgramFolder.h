// Where the running program is, and the programs built beside it.
#pragma once

#include <string>

// The running program's full path; empty when it does not fit the classic
// path length (a cut path would name another file).
std::string OwnProgramPath();

// The folder that holds the running program, with a trailing backslash; the
// module and the other programs of the build are built next to it.
std::string ProgramFolder();
// Names the build's program folder (with its trailing backslash) for a copy
// of a program started from another folder.
constexpr const char BuildFolderVariable[] = "OMBRIX_TEST_BUILD_FOLDER";

// Full path of a file next to the running program.
std::string BesideProgram(const char* fileName);

// folder + "\" + name.
std::string InFolder(const std::string& folder, const std::string& name);
