#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FwTestSupport.h"
#include "SorvikApp.h"

namespace {

// Arguments as typed: the framework takes a lead "-" or "/" off and calls it a switch.
void Parse(CCommandLineInfoEx& info, const std::vector<CString>& typed)
{
    for (size_t i = 0; i < typed.size(); i++) {
        const wchar_t* text = typed[i];
        BOOL flag = text[0] == L'-' || text[0] == L'/';
        info.ParseParam(flag ? text + 1 : text, flag, i + 1 == typed.size());
    }
}

// A folder on the drive that Wine maps to the Unix root, so its Unix path is known.
class SorvikCommandLine : public ::testing::Test {
protected:
    CString m_unix;      // /tmp/...
    CString m_windows;   // Z:\tmp\...
    wchar_t m_oldFolder[MAX_PATH] = L"";

    void SetUp() override
    {
        std::string name = "sorvik-cmdline-" + std::to_string(::GetCurrentProcessId());
        m_unix = CString(L"/tmp/") + CString(name.c_str());
        m_windows = CString(L"Z:\\tmp\\") + CString(name.c_str());
        std::filesystem::create_directories(m_windows.str());
        std::ofstream(std::filesystem::path(m_windows.str()) / L"x.gif") << "GIF89a";
        ::GetCurrentDirectoryW(MAX_PATH, m_oldFolder);
    }
    void TearDown() override
    {
        ::SetCurrentDirectoryW(m_oldFolder);
        std::error_code error;
        std::filesystem::remove_all(m_windows.str(), error);
    }
};

TEST_F(SorvikCommandLine, PlainArgumentsAndUnixPathsArePathsAndSwitchesAreIgnored)
{
    ASSERT_TRUE(::SetCurrentDirectoryW(m_windows));
    struct Case {
        CString typed;
        CString path;   // empty: a switch, ignored
    } cases[] = {
        {L"C:\\a b\\one.gif", L"C:\\a b\\one.gif"},   // kept though it does not exist: it is reported
        {L"D:\\folder", L"D:\\folder"},
        {L"x.gif", m_windows + L"\\x.gif"},           // relative to the current folder
        {L"sub/../x.gif", m_windows + L"\\x.gif"},
        {m_windows + L"/x.gif", m_windows + L"\\x.gif"},
        {m_unix + L"/x.gif", m_windows + L"\\x.gif"},   // how Wine hands over a Unix path
        {m_unix, m_windows},
        {m_unix + L"/gone.gif", m_windows + L"\\gone.gif"},   // a switch never holds a slash
        {L"/x", L""},
        {L"-a", L""},
        {L"/ignored-switch", L""},
        {L"/", L""},
        {L"-", L""},
    };
    for (const Case& c : cases) {
        CCommandLineInfoEx info;
        Parse(info, {c.typed});
        if (c.path.IsEmpty()) {
            EXPECT_EQ(info.m_files.GetSize(), 0) << c.typed.ToUtf8();
            EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew) << c.typed.ToUtf8();
            continue;
        }
        ASSERT_EQ(info.m_files.GetSize(), 1) << c.typed.ToUtf8();
        EXPECT_EQ(info.m_files[0].CompareNoCase(c.path), 0) << c.typed.ToUtf8() << " gave " << info.m_files[0].ToUtf8();
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
        EXPECT_TRUE(info.m_strFileName.IsEmpty());
        EXPECT_TRUE(info.m_bShowSplash);
    }
}

TEST_F(SorvikCommandLine, PathsKeepTheirOrderAmongSwitches)
{
    CCommandLineInfoEx info;
    Parse(info, {L"C:\\one.gif", L"/s", m_unix + L"/x.gif", L"-b", L"C:\\two.gif"});
    ASSERT_EQ(info.m_files.GetSize(), 3);
    EXPECT_EQ(info.m_files[0], CString(L"C:\\one.gif"));
    EXPECT_EQ(info.m_files[1].CompareNoCase(m_windows + L"\\x.gif"), 0);
    EXPECT_EQ(info.m_files[2], CString(L"C:\\two.gif"));
}

TEST_F(SorvikCommandLine, OnlySwitchesOpenNothing)
{
    CCommandLineInfoEx info;
    Parse(info, {L"-a", L"/b"});
    EXPECT_EQ(info.m_files.GetSize(), 0);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
}

} // namespace
