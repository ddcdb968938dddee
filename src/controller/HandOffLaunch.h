// Handing the collected DNG files to a new instance of the host, which opens
// them itself.
#pragma once

// Starts the host with HandOffList as its arguments. On success (or when the
// host's path cannot be told) the list is emptied; when the start fails the
// user is told (message 4), the list is kept for the next hand-off and false
// is returned.
bool FlushHandOffList();

// Adds a DNG file of OutputFolder to the list, handing the list off first
// when the entry does not fit.
void CollectDng(const char* name);
