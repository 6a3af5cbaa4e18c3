#include "ConvTestSupport.h"
#include "FileShell.h"
#include "MessageFilter.h"
#include "SysImageList.h"

#include <gtest/gtest.h>

namespace {

constexpr FILEOP_FLAGS kQuiet = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_SILENT | FOF_NOERRORUI;

TEST(FileShell, DeleteFileIfExists)
{
    ScratchFolder folder;
    const CString path = folder.File(L"a.mp4");
    EXPECT_EQ(DeleteFileIfExists(path), 1);
    WriteBytes(path, "x");
    EXPECT_EQ(DeleteFileIfExists(path), 0);
    EXPECT_FALSE(Exists(path));
    // Held open without sharing deletion: it cannot go.
    WriteBytes(path, "x");
    HANDLE held = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(DeleteFileIfExists(path), -1);
    CloseHandle(held);
}

TEST(FileShell, MoveFileReplace)
{
    ScratchFolder folder;
    const CString from = folder.File(L"[Converting] a.mp4");
    const CString to = folder.File(L"a.mp4");
    WriteBytes(from, "new");
    EXPECT_EQ(MoveFileReplace(from, to), 0);
    EXPECT_EQ(ReadBytes(to), "new");
    EXPECT_FALSE(Exists(from));
    WriteBytes(from, "newer");
    EXPECT_EQ(MoveFileReplace(from, to), 0);
    EXPECT_EQ(ReadBytes(to), "newer");
    // Nothing to move: the file at the target stays.
    EXPECT_EQ(MoveFileReplace(folder.File(L"missing.mp4"), to), -1);
    EXPECT_EQ(ReadBytes(to), "newer");
}

TEST(FileShell, PathTitle)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* title;
    } const cases[] = {
        {L"C:\\Clips\\clip.avi", L"clip"},    {L"C:\\Clips\\my.clip.gif", L"my.clip"}, {L"clip", L"clip"},
        {L"C:\\Clips\\", L""},                {L"C:/Clips/clip.gif", L"clip"},         {L"D:clip.gif", L"clip"},
        {L"\\\\server\\share\\x.y", L"x"},    {L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetPathTitle(c.path), CString(c.title)) << CString(c.path).ToUtf8();
}

TEST(FileShell, CopyMakesTheFolderFirst)
{
    ScratchFolder folder;
    WriteBytes(folder.File(L"a.gif"), "a");
    WriteBytes(folder.File(L"b.gif"), "b");
    const CString target = folder.File(L"out\\deeper");
    ASSERT_TRUE(CopyFilesTo(folder.File(L"a.gif") + L"|" + folder.File(L"b.gif"), target, true, kQuiet, nullptr));
    EXPECT_EQ(ReadBytes(target + L"\\a.gif"), "a");
    EXPECT_EQ(ReadBytes(target + L"\\b.gif"), "b");
    // To a file name: its folder is made.
    ASSERT_TRUE(CopyFilesTo(folder.File(L"a.gif"), folder.File(L"other\\copy.gif"), false, kQuiet, nullptr));
    EXPECT_EQ(ReadBytes(folder.File(L"other\\copy.gif")), "a");
    // Texts beyond the shell's buffers are refused, not cut.
    EXPECT_FALSE(CopyFilesTo(CString(L'x', 1100), target, true, kQuiet, nullptr));
}

TEST(FileShell, RenameThroughTheShell)
{
    ScratchFolder folder;
    WriteBytes(folder.File(L"old.mp4"), "v");
    EXPECT_EQ(RenameFileShell(folder.File(L"old.mp4"), folder.File(L"new.mp4"), kQuiet, nullptr), 1);
    EXPECT_TRUE(Exists(folder.File(L"new.mp4")));
    EXPECT_EQ(RenameFileShell(folder.File(L"gone.mp4"), folder.File(L"x.mp4"), kQuiet, nullptr), 0);
}

TEST(FileShell, IconsAndFolders)
{
    EXPECT_GE(GetSysIconIndex(L"C:\\no such folder\\clip.gif", 0), 0);
    EXPECT_GE(GetSysIconIndex(L"C:\\windows", SHGFI_SMALLICON), 0);
    EXPECT_FALSE(GetMyVideosFolder(true).IsEmpty());
    EXPECT_FALSE(GetMyMusicFolder(true).IsEmpty());

    CSysImageList lists;
    ASSERT_EQ(lists.Load(), 1);
    ASSERT_TRUE(lists.GetList(CSysImageList::SMALL_ICONS)->GetSafeHandle());
    ASSERT_TRUE(lists.GetList(CSysImageList::LARGE_ICONS)->GetSafeHandle());
    EXPECT_LT(lists.GetList(CSysImageList::SMALL_ICONS)->GetImageSize().cx,
              lists.GetList(CSysImageList::LARGE_ICONS)->GetImageSize().cx);
    EXPECT_EQ(lists.GetList(0), nullptr);
    EXPECT_EQ(lists.GetList(3), nullptr);
}

TEST(FileShell, SystemListsOutliveTheirHolder)
{
    HIMAGELIST small = nullptr;
    {
        CSysImageList lists;
        ASSERT_EQ(lists.Load(), 1);
        small = lists.GetList(CSysImageList::SMALL_ICONS)->GetSafeHandle();
    }
    CSysImageList again;
    ASSERT_EQ(again.Load(), 1);
    EXPECT_EQ(again.GetList(CSysImageList::SMALL_ICONS)->GetSafeHandle(), small);
    EXPECT_GT(ImageList_GetImageCount(small), 0);
}

TEST(FileShell, CopyDataMessagesAreLetThrough)
{
    const int result = AllowCopyDataMessages();
    EXPECT_TRUE(result == 0 || result == 1) << result;
}

} // namespace
