// The DNG files waiting to be handed to a new host instance: whole entries
// ("folder\name" in quotes and a blank), oldest first. The list grows as
// files arrive, so that no file is ever turned away for lack of room, and is
// given out in batches that each fit one command line.
#pragma once

#include <cstddef>
#include <string_view>

// Appends the entry of folder\name. False, the list unchanged, only when no
// memory can be had for it.
bool AppendHandOff(const char* folder, const char* name);

// True while any DNG file waits.
bool HandOffPending();

// Writes into arguments (room + 1 bytes) the oldest entries, as many whole
// ones as fit in room characters, and returns how many list bytes they take
// (0: the list is empty, or its oldest entry alone does not fit). They stay
// in the list until DropHandOffBatch.
size_t NextHandOffBatch(char* arguments, size_t room);

// Removes the first taken bytes of the list, once they were handed off.
void DropHandOffBatch(size_t taken);

// Steps through the runs of entries of one folder within the first taken
// bytes: the folder of the run at offset, offset moved past it. False at
// the end of the batch.
bool NextBatchFolder(size_t taken, size_t& offset, std::string_view& folder);

// True when an entry of folder waits at or after byte from of the list.
bool HandOffWaitsFor(std::string_view folder, size_t from = 0);

// Empties the list and gives its memory back.
void ReleaseHandOffList();
