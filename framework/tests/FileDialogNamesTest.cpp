#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileDialogNames.h"

namespace {

// A literal with its embedded NULs.
template <size_t N>
std::wstring Chars(const wchar_t (&text)[N])
{
    return std::wstring(text, N - 1);
}

// Every path the buffer yields, walked the way a caller walks it.
std::vector<std::wstring> AllPaths(const std::wstring& buffer, bool explorer)
{
    std::vector<std::wstring> paths;
    const wchar_t* position = buffer.c_str();
    while (position && paths.size() < 10000)
        paths.push_back(NextFileDialogPath(buffer.c_str(), position, explorer).str());
    return paths;
}

} // namespace

TEST(FileDialogNames, SelectionsComeBackAsFullPaths)
{
    struct Case {
        const char* what;
        std::wstring buffer;   // as the dialog leaves it (the rest of the buffer is NUL)
        bool explorer;
        std::vector<std::wstring> paths;
    };
    const Case cases[] = {
        {"one path", Chars(L"C:\\pics\\a.gif\0\0"), true, {L"C:\\pics\\a.gif"}},
        {"folder and names", Chars(L"C:\\pics\0a.gif\0b b.gif\0\0"), true,
         {L"C:\\pics\\a.gif", L"C:\\pics\\b b.gif"}},
        {"root folder keeps its backslash", Chars(L"C:\\\0a.gif\0b.gif\0\0"), true, {L"C:\\a.gif", L"C:\\b.gif"}},
        {"folder ending in a slash", Chars(L"Z:/tmp/\0x.gif\0\0"), true, {L"Z:/tmp/x.gif"}},
        {"nothing chosen", Chars(L"\0\0"), true, {L""}},
        {"old style, one path", L"C:\\PICS\\A.GIF", false, {L"C:\\PICS\\A.GIF"}},
        {"old style, blanks between names", L"C:\\PICS A.GIF B.GIF", false, {L"C:\\PICS\\A.GIF", L"C:\\PICS\\B.GIF"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AllPaths(c.buffer + std::wstring(4, L'\0'), c.explorer), c.paths) << c.what;
}

TEST(FileDialogNames, ThousandsOfNamesAreAllReturned)
{
    std::wstring buffer = L"C:\\a folder";
    buffer += L'\0';
    for (int i = 0; i < 5000; i++) {
        buffer += L"frame " + std::to_wstring(i) + L".gif";
        buffer += L'\0';
    }
    buffer.append(2, L'\0');
    std::vector<std::wstring> paths = AllPaths(buffer, true);
    ASSERT_EQ(paths.size(), 5000u);
    EXPECT_EQ(paths.front(), L"C:\\a folder\\frame 0.gif");
    EXPECT_EQ(paths.back(), L"C:\\a folder\\frame 4999.gif");
}

TEST(FileDialogNames, FilterBarsBecomeATerminatedList)
{
    struct Case {
        const wchar_t* filter;
        std::wstring list;
    };
    const Case cases[] = {
        {L"GIF Files (*.gif)|*.gif|All Files (*.*)|*.*||", Chars(L"GIF Files (*.gif)\0*.gif\0All Files (*.*)\0*.*\0\0\0\0")},
        // Without the closing bars the list is still ended by two NULs.
        {L"GIF Files (*.gif)|*.gif", Chars(L"GIF Files (*.gif)\0*.gif\0\0")},
        {nullptr, std::wstring(2, L'\0')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileDialogFilterList(c.filter), c.list) << (c.filter ? "a filter" : "no filter");
}
