// Taking the file name from a path, and the host's own executable path.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/ProcessLaunch.h"
#include "support/TestSupport.h"

namespace {

std::string NamePart(const char* path, size_t capacity = 260)
{
    char name[300];
    std::memset(name, '#', sizeof name);
    bool fit = FileNamePart(path, name, capacity);
    EXPECT_EQ(name[capacity], '#') << "written past the capacity";
    return fit ? std::string(name) : "<no fit: \"" + std::string(name) + "\">";
}

TEST(FileNamePart, TextAfterTheLastBackslash)
{
    EXPECT_EQ(NamePart("C:\\Program Files\\Adobe\\Photoshop.exe"), "Photoshop.exe");
    EXPECT_EQ(NamePart("Photoshop.exe"), "Photoshop.exe");
    EXPECT_EQ(NamePart("C:\\Program Files\\"), "");
    EXPECT_EQ(NamePart(""), "");
}

TEST(FileNamePart, OnlyTheBackslashSeparates)
{
    EXPECT_EQ(NamePart("C:/Tools/host.exe"), "C:/Tools/host.exe");
    EXPECT_EQ(NamePart("C:host.exe"), "C:host.exe");
    EXPECT_EQ(NamePart("C:\\Tools/sub/host.exe"), "Tools/sub/host.exe");
}

TEST(FileNamePart, NameThatDoesNotFitLeavesTheDestinationEmpty)
{
    std::string name51(51, 'n');
    EXPECT_EQ(NamePart(("C:\\Tools\\" + name51).c_str(), 52), name51);
    EXPECT_EQ(NamePart(("C:\\Tools\\" + name51 + "x").c_str(), 52), "<no fit: \"\">");
}

TEST(HostExecutablePath, IsTheFullPathOfTheRunningProgram)
{
    char path[260];
    std::memset(path, '#', sizeof path);
    HostExecutablePath(path);
    EXPECT_EQ(std::string(path), BesideProgram("platform_tests.exe"));
}

}  // namespace
