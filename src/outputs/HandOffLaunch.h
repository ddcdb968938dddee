// Handing the collected DNG files to a new instance of the host, which opens
// them itself, and recording the folders whose last file went.
#pragma once

// Starts the host once for each batch of the waiting list that fits one
// command line, oldest first, removing what was launched. When a start
// fails, or the host's own path cannot be told, the user is told once
// (message 4), everything not yet launched keeps waiting for the next
// hand-off, and false is returned. Each folder whose record an entry of a
// launched batch carries is recorded for cleanup.
bool FlushHandOffList();
