#include "host/ScopedEnvironment.h"

#include <windows.h>

#include <vector>

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
        std::vector<char> old(32767);
        DWORD length = GetEnvironmentVariableA(name.c_str(), old.data(), DWORD(old.size()));
        if (length > 0 && length < old.size())
            saved_[name] = std::string(old.data(), length);
        else
            saved_[name] = std::nullopt;
    }
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}
