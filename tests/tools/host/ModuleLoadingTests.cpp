// The host reads a module's PiPL before loading it and refuses anything that
// is not an import module with a usable entry point.
#include <gtest/gtest.h>

#include "TestModuleRun.h"
#include "support/FileContents.h"
#include "support/TempFolder.h"

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
    EXPECT_TRUE(Mentions(error, "names no wx86 entry point")) << error;
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
