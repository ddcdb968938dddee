// Writes a run's report as JSON lines: one "run" line, then one line per
// call, document, dialog, leak and problem, and a closing "summary" line.
// Strips and progress calls are summed up (counts, first and last ones);
// pixels are represented by their checksum.
#pragma once

#include <string>

#include "host/HostReport.h"

std::string ReportAsJsonLines(const HostReport& report);

// False when the file cannot be written.
bool WriteReport(const HostReport& report, const std::string& path);
