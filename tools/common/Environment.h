// Environment variables: read, and set for a while and restored afterwards.
// Processes started meanwhile inherit them. Names and values are UTF-8 (the
// wide environment underneath).
#pragma once

#include <map>
#include <optional>
#include <string>

// The variable's value; empty when it is not set.
std::string EnvironmentVariable(const char* name);

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    explicit ScopedEnvironment(const std::map<std::string, std::string>& variables);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const std::string& name, const std::string& value);

private:
    std::map<std::string, std::optional<std::string>> saved_;
};
