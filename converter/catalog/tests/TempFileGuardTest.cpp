#include "CatalogTestSupport.h"
#include "ModulePaths.h"
#include "TempFileGuard.h"

#include <gtest/gtest.h>

namespace {

TEST(TempFileGuard, RemovesTheFileWhenItGoesAway)
{
    ScratchFolder folder;
    WriteTextFile(folder.Path("a.tmp"), "partial");
    {
        CTempFileGuard guard(folder.File("a.tmp"), 1);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("a.tmp")));
}

TEST(TempFileGuard, WithDeletionOffTheFileStays)
{
    ScratchFolder folder;
    WriteTextFile(folder.Path("keep.tmp"), "mine");
    {
        CTempFileGuard guard(folder.File("keep.tmp"), 0);
    }
    EXPECT_EQ(ReadTextFile(folder.Path("keep.tmp")), "mine");
}

TEST(TempFileGuard, PathSetLaterAndMissingFileEndAtOnce)
{
    ScratchFolder folder;
    WriteTextFile(folder.Path("late.tmp"), "x");
    {
        CTempFileGuard guard;
        guard.SetPath(folder.File("late.tmp"));
        CTempFileGuard missing(folder.File("never-made.tmp"));
        CTempFileGuard empty;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("late.tmp")));
}

TEST(ModulePaths, SiblingsAreAlwaysFullPathsInTheModulesFolder)
{
    const CModulePaths paths = CModulePaths::Locate(L"C:\\Program Files\\Talvena");
    EXPECT_EQ(paths.m_encoder, L"C:\\Program Files\\Talvena\\Modules\\Tollwick.exe");
    EXPECT_EQ(paths.m_presets, L"C:\\Program Files\\Talvena\\Modules\\Presets");
    EXPECT_EQ(paths.m_probe, L"C:\\Program Files\\Talvena\\Modules\\Harrowin.exe");
    SetModulePaths(paths);
    EXPECT_EQ(GetModulePaths().m_probe, paths.m_probe);
    SetModulePaths(CModulePaths());
}

} // namespace
