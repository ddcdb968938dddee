// A file in the root of drive C: that no cleanup may touch.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

class RootCanary {
public:
    RootCanary()
    {
        HANDLE file = CreateFileA(Path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    ~RootCanary() { DeleteFileA(Path); }
    RootCanary(const RootCanary&) = delete;
    RootCanary& operator=(const RootCanary&) = delete;

    bool Alive() const { return GetFileAttributesA(Path) != INVALID_FILE_ATTRIBUTES; }

private:
    static constexpr const char* Path = "C:\\ombrix-cleanup-canary.txt";
};
