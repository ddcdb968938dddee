// The command line a module gives a new host instance when it hands files
// over: the host's file name, then each path in double quotes followed by a
// blank. Pure code.
#pragma once

#include <string>
#include <vector>

// The text after the program's name. programPath is the running program's
// full path; the command line may begin with it, with its file name (which
// may contain blanks and is then unquoted), or with a quoted name.
std::string ArgumentText(const std::string& commandLine, const std::string& programPath);

// The arguments: quoted runs taken whole (no escapes: paths hold no quotes),
// other runs up to the next blank.
std::vector<std::string> SplitArguments(const std::string& argumentText);

// True for a hand-off as a module makes it: at least one argument, the first
// one quoted, none of them an option (beginning with '-').
bool IsHandOffCommandLine(const std::string& commandLine, const std::string& programPath);
