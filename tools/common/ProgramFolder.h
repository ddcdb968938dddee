// Where the running program is, and the programs built beside it. Paths are
// UTF-8, of any length.
#pragma once

#include <string>
#include <vector>

// The running program's full path (GetModuleFileNameW, whole); empty when
// Windows does not give it.
std::string OwnProgramPath();

// The folder that holds the running program, with a trailing backslash; the
// module and the other programs of the build are built next to it.
std::string ProgramFolder();
// Names the build's program folder (with its trailing backslash) for a copy
// of a program started from another folder.
constexpr const char BuildFolderVariable[] = "OMBRIX_TEST_BUILD_FOLDER";

// The program's arguments, its own name first, as UTF-8 from the wide
// command line (main's are in the code page).
std::vector<std::string> ProgramArguments();

// Full path of a file next to the running program.
std::string BesideProgram(const char* fileName);

// folder + "\" + name.
std::string InFolder(const std::string& folder, const std::string& name);
