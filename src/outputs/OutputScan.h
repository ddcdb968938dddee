// The walk through the converter's output folder, carried in ScanCursor from
// one selector call to the next. Entries are taken in the order the system
// enumerates them; nothing is sorted.
#pragma once

// Starts the enumeration of OutputFolder, closing one left open by an earlier
// run, and marks the folder as one to record for cleanup when its run ends.
// False when the folder cannot be listed (MoreEntries is then false).
bool OpenScan();
void CloseScan();

// Handles the current entry: folders and unsupported names are skipped, DNG
// files are collected for the hand-off. True when the entry is an image,
// which then stays current for Start.
bool TakeEntry();

// Moves on until an image is current (MoreEntries true) or the folder is
// exhausted (MoreEntries false).
void AdvanceScan();

// When nothing more will be acquired from the folder: walks what is left of
// it, collecting DNG files only, and closes the enumeration.
void WalkRestOfScan();
