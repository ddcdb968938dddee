// The quoted DNG paths waiting to be handed to a new host instance.
#pragma once

// Appends "folder\name" in quotes and a blank to HandOffList. Returns false,
// leaving the list unchanged, when the entry does not fit.
bool AppendHandOff(const char* folder, const char* name);

// Keeps the same entry in HandOffBacklog, for files that arrive while the
// list is full and could not be handed off. False, backlog unchanged, when it
// does not fit there either.
bool KeepInBacklog(const char* folder, const char* name);

// Moves the backlog's oldest entries, as many as fit, into the empty
// HandOffList. False when the backlog is empty or the list is not.
bool MoveBacklogIntoList();

// True while any DNG file waits, in the list or in the backlog.
bool HandOffPending();
