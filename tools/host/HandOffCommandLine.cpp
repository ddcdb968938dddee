#include "host/HandOffCommandLine.h"

#include <cctype>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

size_t SkipBlanks(const std::string& text, size_t at)
{
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

// Length of prefix when text begins with it (ignoring case) followed by a
// blank or the end; 0 otherwise.
size_t MatchProgram(const std::string& text, size_t at, const std::string& prefix)
{
    if (prefix.empty() || text.size() - at < prefix.size())
        return 0;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return 0;
    size_t end = at + prefix.size();
    return end == text.size() || IsBlank(text[end]) ? prefix.size() : 0;
}

std::string FileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string ArgumentText(const std::string& commandLine, const std::string& programPath)
{
    size_t at = SkipBlanks(commandLine, 0);
    if (at < commandLine.size() && commandLine[at] == '"') {
        size_t close = commandLine.find('"', at + 1);
        at = close == std::string::npos ? commandLine.size() : close + 1;
    } else if (size_t length = MatchProgram(commandLine, at, programPath)) {
        at += length;
    } else if (size_t nameLength = MatchProgram(commandLine, at, FileNameOf(programPath))) {
        at += nameLength;
    } else {
        while (at < commandLine.size() && !IsBlank(commandLine[at]))
            ++at;
    }
    return commandLine.substr(SkipBlanks(commandLine, at));
}

std::vector<std::string> SplitArguments(const std::string& argumentText)
{
    std::vector<std::string> arguments;
    size_t at = SkipBlanks(argumentText, 0);
    while (at < argumentText.size()) {
        size_t end;
        if (argumentText[at] == '"') {
            end = argumentText.find('"', at + 1);
            if (end == std::string::npos)
                end = argumentText.size();
            arguments.push_back(argumentText.substr(at + 1, end - at - 1));
            if (end < argumentText.size())
                ++end;
        } else {
            end = at;
            while (end < argumentText.size() && !IsBlank(argumentText[end]))
                ++end;
            arguments.push_back(argumentText.substr(at, end - at));
        }
        at = SkipBlanks(argumentText, end);
    }
    return arguments;
}

bool IsHandOffCommandLine(const std::string& commandLine, const std::string& programPath)
{
    std::string arguments = ArgumentText(commandLine, programPath);
    if (arguments.empty() || arguments[0] != '"')
        return false;
    for (const std::string& argument : SplitArguments(arguments))
        if (!argument.empty() && argument[0] == '-')
            return false;
    return true;
}
