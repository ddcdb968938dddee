// What lasts for one import run, from its Prepare to its Finalize.
#pragma once

#include "hostapi/HostApi.h"

// A refused image has been reported in this run: the photographer hears of
// the first one only, and every other picture still becomes a document.
extern Boolean RefusalShown;
