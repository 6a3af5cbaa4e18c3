#include "ArgvSplit.h"
#include "ProbeOptions.h"
#include "TestPrint.h"

#include <gtest/gtest.h>

namespace {

TEST(ProbeCommandLine, ProgramInputOutputAndExtras)
{
    CProbeOptions options;
    options.m_input = L"C:\\My Clips\\a.gif";
    options.m_xmlPath = L"C:\\Temp\\~Wu12.tmp";
    EXPECT_EQ(BuildProbeCommandLine(L"C:\\Talvena\\Modules\\Harrowin.exe", options),
              CString(L"\"C:\\Talvena\\Modules\\Harrowin.exe\" \"C:\\My Clips\\a.gif\" -o \"C:\\Temp\\~Wu12.tmp\""));
    options.m_extraOptions = L"-v quiet";
    EXPECT_EQ(BuildProbeCommandLine(L"H.exe", options),
              CString(L"\"H.exe\" \"C:\\My Clips\\a.gif\" -o \"C:\\Temp\\~Wu12.tmp\" -v quiet"));
}

TEST(ProbeCommandLine, PathsStayOneArgumentEach)
{
    CProbeOptions options;
    options.m_input = L"C:\\odd \"name\"\\clip.gif";
    options.m_xmlPath = L"C:\\Temp\\out folder\\";
    const std::vector<CString> args = SplitCommandLine(BuildProbeCommandLine(L"C:\\M\\Harrowin.exe", options));
    ASSERT_EQ(args.size(), 4u);
    EXPECT_EQ(args[1], options.m_input);
    EXPECT_EQ(args[2], L"-o");
    EXPECT_EQ(args[3], options.m_xmlPath);
}

TEST(ProbeCommandLine, ResetEmptiesEverything)
{
    CProbeOptions options;
    options.m_flags = 3;
    options.m_input = L"a";
    options.m_xmlPath = L"b";
    options.m_extraOptions = L"c";
    options.Reset();
    EXPECT_EQ(options.m_flags, 0);
    EXPECT_TRUE(options.m_input.IsEmpty() && options.m_xmlPath.IsEmpty() && options.m_extraOptions.IsEmpty());
}

TEST(ProbeInputCheck, LogAndTextFilesAreRefused)
{
    struct Case {
        const wchar_t* path;
        int result;
    } const cases[] = {
        {L"C:\\a\\clip.gif", 0},    {L"C:\\a\\notes.txt", -1}, {L"C:\\a\\NOTES.TXT", -1},
        {L"C:\\a\\run.Log", -1},    {L"C:\\a\\b.txt.gif", 0},  {L"C:\\a.txt\\clip", 0},
        {L"C:\\a\\noextension", 0}, {L"", 0},                  {L"C:\\a\\.txt", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckProbeInput(c.path), c.result) << CString(c.path).ToUtf8();
}

} // namespace
