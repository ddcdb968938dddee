// Starting processes: the converter, and new instances of the host.
#pragma once

#include <windows.h>

#include <cstddef>

// Copies the text after the last backslash of path. Returns false, leaving
// destination empty, when it does not fit in capacity bytes.
bool FileNamePart(const char* path, char* destination, size_t capacity);

// True once the process has ended, whatever its exit code; never waits.
bool ProcessHasExited(HANDLE process);

// The startup information every process started by the module gets.
void PrepareStartupInfo(STARTUPINFOA& startup);

// Starts executable with the command line "<its file name> <arguments>".
// Returns 0, or the platform's error code when nothing was started.
DWORD StartProcess(const char* executable, const char* arguments, bool wait);

// destination: 260 bytes; empty when the platform cannot tell.
void HostExecutablePath(char* destination);
