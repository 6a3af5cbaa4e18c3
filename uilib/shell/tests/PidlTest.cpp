#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/Pidl.h"

namespace {

// A list of elements with the given byte counts (each filled with its index), in our allocator.
LPITEMIDLIST MakeList(const std::vector<USHORT>& sizes)
{
    size_t total = sizeof(USHORT);
    for (USHORT size : sizes)
        total += size;
    auto* bytes = static_cast<BYTE*>(CCountingMalloc::Instance().Alloc(total));
    BYTE* at = bytes;
    for (size_t i = 0; i < sizes.size(); i++) {
        std::memset(at, static_cast<int>(i + 1), sizes[i]);
        std::memcpy(at, &sizes[i], sizeof(USHORT));
        at += sizes[i];
    }
    std::memset(at, 0, sizeof(USHORT));
    return reinterpret_cast<LPITEMIDLIST>(bytes);
}

const BYTE* Bytes(LPCITEMIDLIST list) { return reinterpret_cast<const BYTE*>(list); }

TEST(PidlFunctions, LengthNextAndLast)
{
    struct Case {
        std::vector<USHORT> sizes;
        UINT length;
        int nextOffset;   // -1: none
        int lastOffset;
    } cases[] = {
        {{}, 0, -1, 0},
        {{5}, 5, -1, 0},
        {{5, 3}, 8, 5, 5},
        {{5, 3, 10}, 18, 5, 8},
        {{2, 2, 2, 2}, 8, 2, 6},
    };
    for (const Case& c : cases) {
        CPidl list(MakeList(c.sizes));
        EXPECT_EQ(GetPidlSize(list), c.length) << c.length;
        LPITEMIDLIST next = GetNextPidlItem(list);
        EXPECT_EQ(next ? Bytes(next) - Bytes(list) : -1, c.nextOffset) << c.length;
        EXPECT_EQ(Bytes(GetLastPidlItem(list)) - Bytes(list), c.lastOffset) << c.length;
    }
    EXPECT_EQ(GetPidlSize(nullptr), 0u);
    EXPECT_EQ(GetNextPidlItem(nullptr), nullptr);
    EXPECT_EQ(GetLastPidlItem(nullptr), nullptr);
}

TEST(PidlFunctions, Concatenation)
{
    CPidl first(MakeList({4, 6}));
    CPidl second(MakeList({3}));
    CPidl both(ConcatPidls(first, second));
    ASSERT_NE(both.m_pidl, nullptr);
    EXPECT_EQ(GetPidlSize(both), 13u);
    EXPECT_EQ(std::memcmp(Bytes(both), Bytes(first), 10), 0);
    EXPECT_EQ(std::memcmp(Bytes(both) + 10, Bytes(second), 5), 0);   // with the terminator

    CPidl copy(ConcatPidls(nullptr, second));
    ASSERT_NE(copy.m_pidl, nullptr);
    EXPECT_NE(copy.m_pidl, second.m_pidl);
    EXPECT_EQ(std::memcmp(Bytes(copy), Bytes(second), 5), 0);
    CPidl copyFirst(ConcatPidls(first, nullptr));
    EXPECT_EQ(GetPidlSize(copyFirst), 10u);
    EXPECT_EQ(ConcatPidls(nullptr, nullptr), nullptr);
}

TEST(PidlFunctions, DesktopListIsEmpty)
{
    LPITEMIDLIST raw = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &raw)));
    CPidl desktop(raw);
    EXPECT_EQ(GetPidlSize(desktop), 0u);
    EXPECT_EQ(GetNextPidlItem(desktop), nullptr);
    EXPECT_EQ(GetLastPidlItem(desktop), desktop.m_pidl);
}

TEST(PidlFunctions, ParsedPathRoundTrips)
{
    CTempFolder folder(L"uishell-pidl");
    folder.MakeFolder(L"Outer");
    folder.MakeFolder(L"Outer\\Inner");
    CString path = folder.Path(L"Outer\\Inner");

    CPidl list(PathToPidl(path, nullptr));
    ASSERT_NE(list.m_pidl, nullptr);
    EXPECT_EQ(list.GetPath().CompareNoCase(path), 0) << list.GetPath().ToUtf8();
    int elements = 0;
    for (LPITEMIDLIST e = list; e; e = GetNextPidlItem(e))
        elements++;
    EXPECT_GE(elements, 3);   // drive, some folders, Outer, Inner

    // The parent's list and the last element make the whole list again.
    CPidl parent(PathToPidl(folder.Path(L"Outer"), nullptr));
    CPidl joined(ConcatPidls(parent, GetLastPidlItem(list)));
    EXPECT_EQ(joined.GetPath().CompareNoCase(path), 0);
    EXPECT_GE(list.GetIconIndex(SHGFI_SMALLICON), 0);
    EXPECT_EQ(PathToPidl(folder.Path(L"Missing\\Nowhere"), nullptr), nullptr);
    EXPECT_EQ(PathToPidl(nullptr, nullptr), nullptr);
}

TEST(CPidl, CopyFromFreesWhatItHeld)
{
    auto& malloc = CCountingMalloc::Instance();
    size_t before = malloc.m_live.size();
    CPidl source(MakeList({6, 4}));
    {
        CPidl holder;
        holder.CopyFrom(source);
        holder.CopyFrom(source);
        EXPECT_EQ(malloc.m_live.size(), before + 2);
        holder.CopyFrom(holder);   // over itself
        EXPECT_EQ(GetPidlSize(holder), 10u);
        // A list that starts inside another one is copied by its own length.
        holder.CopyFrom(GetLastPidlItem(source));
        EXPECT_EQ(GetPidlSize(holder), 4u);
        holder.CopyFrom(nullptr);
        EXPECT_EQ(holder.m_pidl, nullptr);
        holder.CopyFrom(source);
    }
    EXPECT_EQ(malloc.m_live.size(), before + 1);
}

TEST(CStrRet, AllThreeKinds)
{
    // A wide name from the shell, freed when the holder is prepared again.
    CDesktopFolderRef desktop;
    ASSERT_TRUE(desktop);
    LPITEMIDLIST raw = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw)));
    CPidl computer(raw);
    CStrRet name;
    ASSERT_TRUE(SUCCEEDED(desktop->GetDisplayNameOf(computer, SHGDN_NORMAL, name.Prepare(computer, STRRET_WSTR))));
    EXPECT_FALSE(name.GetString().IsEmpty());

    // An ANSI name inside the item itself.
    CPidl item(MakeList({12}));
    std::memcpy(reinterpret_cast<BYTE*>(item.m_pidl) + 4, "Holiday", 8);
    STRRET* record = name.Prepare(item, STRRET_OFFSET);
    record->uOffset = 4;
    EXPECT_EQ(name.GetString(), CString(L"Holiday"));

    record = name.Prepare(item, STRRET_CSTR);
    std::memcpy(record->cStr, "Pictures", 9);
    EXPECT_EQ(name.GetString(), CString(L"Pictures"));
}

DWORD WINAPI DesktopOnOwnThread(void* out)
{
    ::CoInitialize(nullptr);
    *static_cast<IShellFolder**>(out) = GetDesktopFolder();
    ReleaseDesktopFolder();
    ::CoUninitialize();
    return 0;
}

TEST(SharedShellObjects, OneObjectPerThreadWhileUsed)
{
    IShellFolder* first = GetDesktopFolder();
    IShellFolder* second = GetDesktopFolder();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    ReleaseDesktopFolder();
    ReleaseDesktopFolder();
    ReleaseDesktopFolder();   // one too many does nothing
    CDesktopFolderRef again;
    EXPECT_TRUE(again);

    // Another thread gets its own (shell folders belong to the thread that made them).
    IShellFolder* other = nullptr;
    HANDLE thread = ::CreateThread(nullptr, 0, &DesktopOnOwnThread, &other, 0, nullptr);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    EXPECT_NE(other, nullptr);
    EXPECT_EQ(GetShellMalloc(), &CCountingMalloc::Instance());
    ReleaseShellMalloc();
}

} // namespace
