// Starting processes: the converter, and new instances of the host.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Sizes and lengths are in UTF-16 units.

// Copies the text after the last backslash of path. Returns false, leaving
// destination empty, when it does not fit in capacity bytes.
bool FileNamePart(const wchar_t* path, wchar_t* destination, size_t capacity);

// True once the process has ended, whatever its exit code; never waits.
bool ProcessHasExited(HANDLE process);

// Writes "<file name of executable> <arguments>" into commandLine. Returns 0,
// or the platform's error code when the path, its file name (51 characters
// at most) or the whole line would not fit: nothing is ever cut, since a cut
// one could name another program or other files.
DWORD BuildCommandLine(const wchar_t* executable, const wchar_t* arguments, wchar_t* commandLine, size_t capacity);

// Creates the process with the settings of every process the module starts
// (shown normally, handles not inherited, the host's environment and folder,
// not the host's error mode). Returns 0, or the platform's error code.
DWORD CreateModuleProcess(const wchar_t* executable, wchar_t* commandLine, PROCESS_INFORMATION& process);

// The longest command line Windows starts a process with (32,767 UTF-16 units
// with the terminator).
constexpr size_t LongestCommandLine = 32766;

// How many characters of arguments fit one command line of executable; 0
// when its file name alone does not fit.
size_t ArgumentRoom(const wchar_t* executable);

// Starts executable with the command line "<its file name> <arguments>".
// Returns 0, or the platform's error code when nothing was started.
DWORD StartProcess(const wchar_t* executable, const wchar_t* arguments, bool wait);

// The full path of the host's executable, of any length; empty when the
// platform cannot tell.
std::wstring HostExecutablePath();
