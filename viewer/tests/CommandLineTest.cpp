#include <gtest/gtest.h>

#include "FwTestSupport.h"
#include "SorvikApp.h"

namespace {

void Parse(CCommandLineInfoEx& info, const std::vector<std::pair<const wchar_t*, bool>>& params)
{
    for (size_t i = 0; i < params.size(); i++)
        info.ParseParam(params[i].first, params[i].second, i + 1 == params.size());
}

TEST(SorvikCommandLine, EveryPlainArgumentIsAPathAndSwitchesAreIgnored)
{
    CCommandLineInfoEx info;
    Parse(info, {{L"C:\\a b\\one.gif", false}, {L"x", true}, {L"D:\\folder", false}, {L"list.m3u", false}});
    ASSERT_EQ(info.m_files.GetSize(), 3);
    EXPECT_EQ(info.m_files[0], CString(L"C:\\a b\\one.gif"));
    EXPECT_EQ(info.m_files[1], CString(L"D:\\folder"));
    EXPECT_EQ(info.m_files[2], CString(L"list.m3u"));
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_TRUE(info.m_strFileName.IsEmpty());
    EXPECT_TRUE(info.m_bShowSplash);
}

TEST(SorvikCommandLine, OnlySwitchesOpenNothing)
{
    CCommandLineInfoEx info;
    Parse(info, {{L"a", true}, {L"b", true}});
    EXPECT_EQ(info.m_files.GetSize(), 0);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
}

} // namespace
