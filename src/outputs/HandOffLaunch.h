// Handing the collected DNG files to a new instance of the host, which opens
// them itself, and recording their folders for cleanup once they went.
#pragma once

// Starts the host once for each batch of the waiting list that fits one
// command line, oldest first, removing what was launched. When a start
// fails, or the host's own path cannot be told, the user is told once
// (message 4), everything not yet launched keeps waiting for the next
// hand-off, and false is returned. The folders whose every waiting file went
// are recorded for cleanup (OutputFolder only at the end of its run).
bool FlushHandOffList();

// Adds a DNG file of OutputFolder to the waiting list.
void CollectDng(const char* name);

// The end of a run's scan: hands off what waits, then records OutputFolder
// for cleanup unless a file of it still waits (or could not be kept).
void EndRunOfFolder();
