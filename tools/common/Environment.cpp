#include "common/Environment.h"

#include <windows.h>

#include <vector>

std::string EnvironmentVariable(const char* name)
{
    std::vector<char> value(32767);
    DWORD length = GetEnvironmentVariableA(name, value.data(), DWORD(value.size()));
    return length > 0 && length < value.size() ? std::string(value.data(), length) : std::string();
}

ScopedEnvironment::ScopedEnvironment(const std::map<std::string, std::string>& variables)
{
    for (const auto& [name, value] : variables)
        Set(name, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    for (const auto& [name, value] : saved_)
        SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
}

void ScopedEnvironment::Set(const std::string& name, const std::string& value)
{
    if (saved_.count(name) == 0) {
        std::string old = EnvironmentVariable(name.c_str());
        saved_[name] = old.empty() ? std::nullopt : std::optional<std::string>(old);
    }
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}
