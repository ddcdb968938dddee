// Handing the collected DNG files to a new instance of the host, which opens
// them itself.
#pragma once

// Starts the host with HandOffList as its arguments, then with each batch of
// the backlog, emptying what was launched. When a start fails, or the host's
// own path cannot be told, the user is told once (message 4), everything not
// yet launched is kept for the next hand-off, and false is returned.
bool FlushHandOffList();

// Adds a DNG file of OutputFolder to the list. A full list is handed off
// first; when that fails, the file waits in the backlog.
void CollectDng(const char* name);
