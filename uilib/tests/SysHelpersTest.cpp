#include <gtest/gtest.h>

#include <cstdio>

#include "FwTestSupport.h"
#include "SysHelpers.h"

namespace {

CString TempFolder()
{
    wchar_t path[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, path);
    return path;
}

void WriteFileBytes(const CString& path, size_t bytes)
{
    FILE* f = _wfopen(path, L"wb");
    ASSERT_NE(f, nullptr);
    for (size_t i = 0; i < bytes; i++)
        fputc('x', f);
    fclose(f);
}

using AppProfile = FwProfileTest;

UINT g_shutdownFlags = 0;
BOOL WINAPI FakeExitWindows(UINT flags, DWORD) { g_shutdownFlags = flags; return TRUE; }

} // namespace

TEST(SysHelpers, OperatingSystemVersion)
{
    COSVersion version;
    EXPECT_EQ(version.Query(), 1);
    EXPECT_EQ(version.m_valid, 1);
    EXPECT_EQ(version.m_info.dwOSVersionInfoSize, sizeof(OSVERSIONINFOEXW));
    EXPECT_TRUE(version.IsVistaOrLater());
}

TEST(SysHelpers, FileDirectoryAndSize)
{
    EXPECT_EQ(GetFileDirectory(L"C:\\Pictures\\cat.gif"), L"C:\\Pictures");
    EXPECT_EQ(GetFileDirectory(L"cat.gif"), L"");
    EXPECT_EQ(GetFileDirectory(L"C:\\"), L"");
    // Too long for the helper's buffer: refused, not cut to some other folder.
    EXPECT_EQ(GetFileDirectory(L"C:\\" + CString(L'a', 1100) + L"\\b.gif"), L"");

    CString file = TempFolder() + L"fw_size_test.bin";
    WriteFileBytes(file, 1234);
    EXPECT_EQ(GetFileSize64(file), 1234);
    ::DeleteFileW(file);
    EXPECT_EQ(GetFileSize64(file), -1);
}

TEST(SysHelpers, DirectoryTreesAndTemporaryFiles)
{
    CString root = TempFolder() + L"fw_tree_test";
    CString deep = root + L"\\one\\two\\three";
    EXPECT_TRUE(CreateDirectoryTree(deep));
    EXPECT_NE(::GetFileAttributesW(deep), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(CreateDirectoryTree(deep));   // already there
    EXPECT_FALSE(CreateDirectoryTree(L""));
    ::RemoveDirectoryW(deep);
    ::RemoveDirectoryW(root + L"\\one\\two");
    ::RemoveDirectoryW(root + L"\\one");
    ::RemoveDirectoryW(root);

    CString temp = GetTempFilePath();
    ASSERT_FALSE(temp.IsEmpty());
    EXPECT_GE(temp.Find(L"~Wu"), 0);
    EXPECT_EQ(GetFileSize64(temp), 0);
    EXPECT_NE(GetTempFilePath(), temp);
    ::DeleteFileW(temp);
}

TEST_F(AppProfile, ProgramAndDataFolders)
{
    CString module = GetModuleFilePath();
    ASSERT_FALSE(module.IsEmpty());
    EXPECT_EQ(module.Right(4).MakeLower(), L".exe");
    EXPECT_EQ(GetAppFolder(), GetFileDirectory(module));
    TestApp().WriteProfileString(L"", L"AppFolder", L"C:\\Elsewhere");
    EXPECT_EQ(GetAppFolder(), L"C:\\Elsewhere");

    CString data = GetAppDataFolder();
    EXPECT_EQ(data.Right(17), L"\\Brenmoor\\FwTests");
    EXPECT_NE(::GetFileAttributesW(data), INVALID_FILE_ATTRIBUTES);
    ::RemoveDirectoryW(data);
    EXPECT_FALSE(GetMyPicturesFolder().IsEmpty());
}

TEST(SysHelpers, TextConversion)
{
    std::string narrow;
    EXPECT_EQ(WideToAnsi(L"abc", narrow), 4);
    EXPECT_EQ(narrow, "abc");
    EXPECT_EQ(WideToAnsi(L"", narrow), -1);
    EXPECT_EQ(WideToAnsi(nullptr, narrow), -1);
    CString wide = L"old";
    EXPECT_EQ(AnsiToWide("xyz", wide), 4);
    EXPECT_EQ(wide, L"xyz");
    EXPECT_EQ(AnsiToWide("", wide), 1);
    EXPECT_TRUE(wide.IsEmpty());
    EXPECT_EQ(AnsiToWide(nullptr, wide), -1);
}

TEST(SysHelpers, PumpsUntilTheAwaitedMessage)
{
    DWORD self = ::GetCurrentThreadId();
    ::PostThreadMessageW(self, WM_USER + 1, 0, 0);
    ::PostThreadMessageW(self, WM_USER + 0x5B8, 0, 0);
    ::PostThreadMessageW(self, WM_USER + 2, 0, 0);
    EXPECT_EQ(PumpMessagesUntil(nullptr, WM_USER + 0x5B8), static_cast<UINT>(WM_USER + 0x5B8));
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));   // what came after stays queued
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));

    ::PostThreadMessageW(self, WM_USER + 0x5BC, 0, 1);
    ::PostThreadMessageW(self, WM_USER + 0x5BC, 0, 2);
    EXPECT_EQ(PumpMessagesUntilMatch(nullptr, WM_USER + 0x5BC, 2), static_cast<UINT>(WM_USER + 0x5BC));
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));

    // A quit ends the wait and is handed on to the outer loop.
    ::PostQuitMessage(3);
    EXPECT_EQ(PumpMessagesUntil(nullptr, WM_USER + 0x5B8), 0u);
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(SysHelpers, DeletesThroughTheShellButRefusesOverlongPaths)
{
    CString file = TempFolder() + L"fw_delete_test.txt";
    WriteFileBytes(file, 3);
    EXPECT_TRUE(DeleteToRecycleBin(file, FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI, nullptr));
    EXPECT_EQ(::GetFileAttributesW(file), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(DeleteToRecycleBin(L"C:\\" + CString(L'x', 1100), FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI, nullptr));
    EXPECT_FALSE(DeleteToRecycleBin(L"", 0, nullptr));
}

TEST(SysHelpers, ShutdownNeverForcesPrograms)
{
    auto saved = g_pfnExitWindowsEx;
    g_pfnExitWindowsEx = FakeExitWindows;
    BOOL result = ShutdownSystem(EWX_POWEROFF | EWX_FORCE);
    g_pfnExitWindowsEx = saved;
    EXPECT_TRUE(result);
    EXPECT_EQ(g_shutdownFlags, static_cast<UINT>(EWX_POWEROFF));
}
