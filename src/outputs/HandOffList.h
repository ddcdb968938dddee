// The DNG files waiting to be handed to a new host instance: whole entries
// ("folder\name" in quotes and a blank), oldest first. The list grows as
// files arrive, so that no file is ever turned away for lack of room, and is
// given out in batches that each fit one command line. An entry may carry
// its folder's cleanup record: the folder is recorded once that entry, the
// last of the folder's finished scan, has been handed off.
#pragma once

#include <cstddef>
#include <string_view>

// Appends the entry of folder\name. False, the list unchanged, only when no
// memory can be had for it.
bool AppendHandOff(std::wstring_view folder, std::wstring_view name);

// True while any DNG file waits.
bool HandOffPending();

// Writes into arguments (room + 1 units) the oldest entries, as many whole
// ones as fit in room characters, and returns how many list units they take
// (0: the list is empty, or its oldest entry alone does not fit). They stay
// in the list until DropHandOffBatch.
size_t NextHandOffBatch(wchar_t* arguments, size_t room);

// Removes the first taken units of the list, once they were handed off.
void DropHandOffBatch(size_t taken);

// True when an entry of folder waits.
bool HandOffWaitsFor(std::wstring_view folder);

// Puts folder's cleanup record on its last waiting entry. False, nothing
// changed, when no entry of folder waits.
bool CarryRecordOnLastEntry(std::wstring_view folder);

// Takes folder's cleanup record off every entry that carries it.
void DropRecordsOf(std::wstring_view folder);

// Steps through the entries within the first taken units that carry their
// folder's record, from offset on: the folder of the next one, offset moved
// past it. False when none is left in the batch.
bool NextRecordInBatch(size_t taken, size_t& offset, std::wstring_view& folder);

// Steps through every entry within the first taken units, from offset on:
// the folder and name of the next one, offset moved past it. False when
// none is left in the batch.
bool NextFileInBatch(size_t taken, size_t& offset, std::wstring_view& folder, std::wstring_view& name);

// Empties the list and gives its memory back.
void ReleaseHandOffList();
