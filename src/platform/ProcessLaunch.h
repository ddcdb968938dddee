// Starting processes: the converter, and new instances of the host.
#pragma once

#include <windows.h>

#include <cstddef>

// Copies the text after the last backslash of path. Returns false, leaving
// destination empty, when it does not fit in capacity bytes.
bool FileNamePart(const char* path, char* destination, size_t capacity);

// True once the process has ended, whatever its exit code; never waits.
bool ProcessHasExited(HANDLE process);

// Writes "<file name of executable> <arguments>" into commandLine. Returns 0,
// or the platform's error code when the path, its file name (51 characters
// at most) or the whole line would not fit: nothing is ever cut, since a cut
// one could name another program or other files.
DWORD BuildCommandLine(const char* executable, const char* arguments, char* commandLine, size_t capacity);

// Creates the process with the settings of every process the module starts
// (shown normally, handles not inherited, the host's environment and folder,
// not the host's error mode). Returns 0, or the platform's error code.
DWORD CreateModuleProcess(const char* executable, char* commandLine, PROCESS_INFORMATION& process);

// The longest command line Windows starts a process with (32,767 characters
// with the terminator).
constexpr size_t LongestCommandLine = 32766;

// How many characters of arguments fit one command line of executable; 0
// when its file name alone does not fit.
size_t ArgumentRoom(const char* executable);

// Starts executable with the command line "<its file name> <arguments>".
// Returns 0, or the platform's error code when nothing was started.
DWORD StartProcess(const char* executable, const char* arguments, bool wait);

// destination: 260 bytes; empty when the platform cannot tell.
void HostExecutablePath(char* destination);
