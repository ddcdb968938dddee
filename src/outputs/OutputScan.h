// The walk through the converter's output folder, carried in ScanCursor from
// one selector call to the next, and what becomes of the folder when it
// ends. Entries are taken in the order the system enumerates them; nothing
// is sorted.
//
// A folder is recorded for cleanup only when, listed again at that moment,
// it holds nothing but pictures this load saw become documents or refused
// for their content, and DNG files that reached a new host instance: at the
// end of its scan when none of its DNG files waits, else when the last of
// them has been handed off (outputs/SeenFiles.h).
#pragma once

#include <windows.h>

// Starts the enumeration of OutputFolder, ending first a scan left open by an
// earlier run (as EndScanOfFolder), and drops every record of the folder
// until its scan decides. False when the folder cannot be listed
// (MoreEntries is then false); the folder is still decided on at the end.
bool OpenScan();

// Handles the current entry: folders and unsupported names are skipped, DNG
// files are collected for the hand-off. True when the entry is a picture,
// which then stays current for Start.
bool TakeEntry();

// Moves on until a picture is current (MoreEntries true) or the folder is
// exhausted (MoreEntries false). A current picture that has not arrived is
// passed over, and keeps its folder on disk.
void AdvanceScan();

// The current picture became a document, or was refused for its content.
void SettleCurrentPicture();

// Adds a listed DNG file of the scanned folder to the waiting list, unless
// it waits already or went to a host as it is. Without memory for it, the
// file stays where it is, with its folder, and the user hears of it once a
// folder.
void CollectDng(const WIN32_FIND_DATAW& entry);

// When nothing more will be acquired from the folder: walks what is left of
// it (collecting DNG files; pictures passed over keep the folder), closes
// the enumeration and decides on the folder: recorded now, recorded with its
// last waiting DNG file, or kept. Nothing is handed off here.
void EndScanOfFolder();

// The end of a run: EndScanOfFolder, then every waiting DNG file is handed off.
void EndRunOfFolder();

// Closes the enumeration without deciding on its folder (the module is
// being unloaded: a folder not decided on is never recorded).
void CloseScan();
