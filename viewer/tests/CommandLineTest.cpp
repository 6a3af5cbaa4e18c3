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

TEST_F(SorvikCommandLine, NarrowArgumentsReadAsTheWideOnes)
{
    // Narrow text comes in the system code page: plain letters read the same either way.
    struct Case {
        const char* narrow;
        BOOL flag;
        std::vector<const wchar_t*> files;
    } cases[] = {
        {"C:\\pics\\a cat.gif", FALSE, {L"C:\\pics\\a cat.gif"}},
        {"s", TRUE, {}},
        {"", FALSE, {}},
    };
    for (const Case& c : cases) {
        CCommandLineInfoEx info;
        info.ParseParam(c.narrow, c.flag, TRUE);
        ASSERT_EQ(info.m_files.GetSize(), int(c.files.size())) << c.narrow;
        for (int i = 0; i < info.m_files.GetSize(); i++)
            EXPECT_EQ(info.m_files[i], CString(c.files[size_t(i)]));
        EXPECT_EQ(info.m_nShellCommand, c.files.empty() ? CCommandLineInfo::FileNew : CCommandLineInfo::FileOpen);
    }
}

// The ".gif" option of the settings: the binding it replaces is kept in the profile and comes back.
class GifAssociationTest : public ::testing::Test {
protected:
    static constexpr const wchar_t* kExtension = L"Software\\Classes\\.gif";
    static constexpr const wchar_t* kOwnType = L"Software\\Classes\\Brenmoor.Sorvik.gif";

    void SetUp() override
    {
        TestApp().SetRegistryKey(TestMakerKey());
        Clean();
    }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, (CString(L"Software\\") + TestMakerKey()).GetString());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kExtension);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kOwnType);
    }
    static void SetDefault(const wchar_t* key, const wchar_t* value)
    {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, key, nullptr, REG_SZ, value, DWORD((wcslen(value) + 1) * sizeof(wchar_t)));
    }
    // The key's default value; "(none)" when the key is missing.
    static CString Default(const wchar_t* key)
    {
        wchar_t value[256] = L"";
        DWORD size = sizeof value;
        if (::RegGetValueW(HKEY_CURRENT_USER, key, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
            return L"(none)";
        return value;
    }
};

TEST_F(GifAssociationTest, TurningItOnKeepsTheOldBindingAndTurningItOffGivesItBack)
{
    SetDefault(kExtension, L"OtherViewer.gif");
    EXPECT_FALSE(IsGifAssociated());
    SetGifAssociation(true);
    EXPECT_TRUE(IsGifAssociated());
    EXPECT_EQ(Default(kExtension), CString(L"Brenmoor.Sorvik.gif"));
    EXPECT_EQ(Default(kOwnType), CString(L"GIF"));
    EXPECT_EQ(TestApp().GetProfileString(L"FileTypes\\.gif", L"Backup", L""), CString(L"OtherViewer.gif"));

    SetGifAssociation(false);
    EXPECT_FALSE(IsGifAssociated());
    EXPECT_EQ(Default(kExtension), CString(L"OtherViewer.gif"));
    EXPECT_EQ(Default(kOwnType), CString(L"(none)"));
}

TEST_F(GifAssociationTest, ABackupOfItsOwnTypeRemovesTheBinding)
{
    SetGifAssociation(true);   // nothing bound before: no backup
    EXPECT_EQ(TestApp().GetProfileString(L"FileTypes\\.gif", L"Backup", L"(none)"), CString(L"(none)"));
    TestApp().WriteProfileString(L"FileTypes\\.gif", L"Backup", L"Brenmoor.Sorvik.gif");
    SetGifAssociation(false);
    EXPECT_EQ(Default(kExtension), CString(L"(none)"));
    EXPECT_FALSE(IsGifAssociated());
}

} // namespace
