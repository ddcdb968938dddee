#include "common/Environment.h"

#include <windows.h>

#include "common/WideText.h"

std::string EnvironmentVariable(const char* name)
{
    std::wstring wideName = Utf8ToWide(name);
    std::wstring value(256, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), DWORD(value.size()));
        if (length == 0)
            return std::string();
        if (length < value.size()) {
            value.resize(length);
            return WideToUtf8(value);
        }
        value.assign(length, L'\0');
    }
    return std::string();
}

ScopedEnvironment::ScopedEnvironment(const std::map<std::string, std::string>& variables)
{
    for (const auto& [name, value] : variables)
        Set(name, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    for (const auto& [name, value] : saved_)
        SetEnvironmentVariableW(Utf8ToWide(name).c_str(), value ? Utf8ToWide(*value).c_str() : nullptr);
}

void ScopedEnvironment::Set(const std::string& name, const std::string& value)
{
    if (saved_.count(name) == 0) {
        std::string old = EnvironmentVariable(name.c_str());
        saved_[name] = old.empty() ? std::nullopt : std::optional<std::string>(old);
    }
    SetEnvironmentVariableW(Utf8ToWide(name).c_str(), Utf8ToWide(value).c_str());
}
