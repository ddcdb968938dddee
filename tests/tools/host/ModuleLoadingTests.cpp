// The host reads a module's PiPL before loading it and refuses anything that
// is not an import module with a usable entry point.
#include <gtest/gtest.h>

#include "TestModuleRun.h"
#include "support/FileContents.h"
#include "common/TempFolder.h"

namespace {

std::string LoadError(const std::string& path)
{
    ReferenceHost host;
    EXPECT_FALSE(host.Load(path));
    EXPECT_FALSE(host.IsLoaded());
    return host.LoadError();
}

bool Mentions(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(ModuleLoading, ImportModuleIsLoadedByItsPipl)
{
    ReferenceHost host;
    ASSERT_TRUE(host.Load(TestModulePath())) << host.LoadError();
    EXPECT_EQ(host.Pipl().name, "Test Module");
    EXPECT_EQ(host.Pipl().entryPoint, "ENTRYPOINT");
    EXPECT_EQ(host.Pipl().version, 0x00040000u);
    EXPECT_EQ(FourCharText(host.Pipl().kind), "8BAM");
}

TEST(ModuleLoading, TheProjectsModuleIsAnImportModule)
{
    ReferenceHost host;
    ASSERT_TRUE(host.Load(BesideProgram("OmbrixImport.8ba"))) << host.LoadError();
    EXPECT_EQ(host.Pipl().name, "Ombrix...");
    EXPECT_EQ(host.Pipl().entryPoint, "ENTRYPOINT");
}

TEST(ModuleLoading, FileWithoutPiplIsRefused)
{
    EXPECT_TRUE(Mentions(LoadError(BesideProgram("TestModuleNoPipl.8ba")), "has no PiPL resource"));
}

TEST(ModuleLoading, ModuleOfAnotherKindIsRefused)
{
    std::string error = LoadError(BesideProgram("TestModuleWrongKind.8ba"));
    EXPECT_TRUE(Mentions(error, "is not an import module")) << error;
    EXPECT_TRUE(Mentions(error, "8BFM")) << error;
}

TEST(ModuleLoading, PiplWithoutEntryPointIsRefused)
{
    std::string error = LoadError(BesideProgram("TestModuleNoEntry.8ba"));
    EXPECT_TRUE(Mentions(error, "names no " + FourCharText(OwnCodeProperty) + " entry point")) << error;
}

// A host loads only modules of its own architecture and says which one a
// refused module is for: a test module whose PiPL names the other
// architecture's code property, and the project's module of the other build
// (BUILD/win32 beside BUILD/win64).
TEST(ModuleLoading, ModuleForTheOtherArchitectureIsRefused)
{
    const bool host64 = sizeof(void*) == 8;
    const std::string expected = std::string("is a module for ") + (host64 ? "32" : "64") +
                                 "-bit hosts (its PiPL names its entry point in '" +
                                 (host64 ? "wx86', not '8664'" : "8664', not 'wx86'") + "): this " +
                                 (host64 ? "64" : "32") + "-bit host needs the module built for " +
                                 (host64 ? "64" : "32") + "-bit hosts";
    std::string error = LoadError(BesideProgram("TestModuleOtherArch.8ba"));
    EXPECT_TRUE(Mentions(error, expected)) << error;

    const std::string other = BesideProgram(host64 ? "..\\..\\win32\\bin\\OmbrixImport.8ba"
                                                   : "..\\..\\win64\\bin\\OmbrixImport.8ba");
    if (GetFileAttributesA(other.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "the other architecture's build is missing: " << other;
    error = LoadError(other);
    EXPECT_TRUE(Mentions(error, expected)) << error;
}

TEST(ModuleLoading, EntryPointThatIsNotExportedIsRefused)
{
    std::string error = LoadError(BesideProgram("TestModuleMissingEntry.8ba"));
    EXPECT_TRUE(Mentions(error, "does not export the entry point 'MissingEntry'")) << error;
}

TEST(ModuleLoading, FilesThatAreNoModuleAreRefused)
{
    TempFolder folder;
    folder.MakeFile("text.8ba", "not a module");
    EXPECT_TRUE(Mentions(LoadError(folder.Inside("text.8ba")), "cannot open"));
    EXPECT_TRUE(Mentions(LoadError(folder.Inside("missing.8ba")), "cannot open"));
}

TEST(ModuleLoading, RunsWithoutAModuleCallNothing)
{
    ReferenceHost host;
    EXPECT_FALSE(host.Load(BesideProgram("TestModuleNoPipl.8ba")));
    HostReport report = host.Import();
    EXPECT_FALSE(report.loaded);
    EXPECT_TRUE(report.calls.empty());
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_TRUE(Mentions(report.problems[0], "module not loaded"));
}

}  // namespace
