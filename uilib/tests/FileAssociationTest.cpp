#include <gtest/gtest.h>

#include "FileAssociation.h"
#include "FwTestSupport.h"
#include "SysHelpers.h"

namespace {

const wchar_t kExt[] = L".fwtestext";
const wchar_t kType[] = L"Brenmoor.FwTests.fwtestext";
const wchar_t kExtKey[] = L"Software\\Classes\\.fwtestext";
const wchar_t kTypeKey[] = L"Software\\Classes\\Brenmoor.FwTests.fwtestext";

bool KeyExists(const CString& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

CString DefaultValue(const CString& path)
{
    wchar_t buffer[512] = L"";
    DWORD size = sizeof(buffer);
    if (::RegGetValueW(HKEY_CURRENT_USER, path, nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<none>";
    return buffer;
}

void SetDefault(const CString& path, const wchar_t* value)
{
    ::RegSetKeyValueW(HKEY_CURRENT_USER, path, nullptr, REG_SZ, value, static_cast<DWORD>((::lstrlenW(value) + 1) * sizeof(wchar_t)));
}

class Association : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kExtKey);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTypeKey);
    }
    CFileAssociation assoc{kExt, kType, L"Test file", -1};
};

} // namespace

TEST_F(Association, BindingRemembersAndRestoresTheOtherProgramsType)
{
    SetDefault(kExtKey, L"Other.Viewer");
    EXPECT_FALSE(assoc.IsAssociated());
    CString previous;
    EXPECT_TRUE(assoc.GetAssociation(previous));
    EXPECT_EQ(previous, L"Other.Viewer");
    EXPECT_TRUE(assoc.IsAssociated());
    EXPECT_TRUE(assoc.SetAssociation(previous));
    EXPECT_EQ(DefaultValue(kExtKey), L"Other.Viewer");
    EXPECT_FALSE(assoc.IsAssociated());
}

TEST_F(Association, UnbindingWithoutAnotherTypeRemovesTheBinding)
{
    CString previous;
    EXPECT_TRUE(assoc.GetAssociation(previous));
    EXPECT_TRUE(previous.IsEmpty());
    EXPECT_TRUE(assoc.SetAssociation(kType));   // the own type counts as none
    EXPECT_FALSE(KeyExists(kExtKey));
    EXPECT_TRUE(KeyExists(L"Software\\Classes"));

    // A key that other programs keep entries under stays, without the binding.
    assoc.GetAssociation(previous);
    SetDefault(CString(kExtKey) + L"\\OpenWithProgids", L"");
    EXPECT_TRUE(assoc.SetAssociation(L""));
    EXPECT_TRUE(KeyExists(CString(kExtKey) + L"\\OpenWithProgids"));
    EXPECT_EQ(DefaultValue(kExtKey), L"<none>");
    EXPECT_FALSE(assoc.IsAssociated());
}

TEST_F(Association, UnbindingAnExtensionBoundElsewhereChangesNothing)
{
    CString previous;
    assoc.GetAssociation(previous);
    SetDefault(kExtKey, L"Third.Party");
    EXPECT_FALSE(assoc.SetAssociation(L""));
    EXPECT_EQ(DefaultValue(kExtKey), L"Third.Party");
}

TEST_F(Association, RegisteringAndUnregisteringTheType)
{
    CString program = GetModuleFilePath();
    EXPECT_FALSE(assoc.IsTypeRegistered());
    EXPECT_TRUE(assoc.RegisterType(program));
    EXPECT_TRUE(assoc.IsTypeRegistered());
    EXPECT_EQ(DefaultValue(kTypeKey), L"Test file");
    EXPECT_FALSE(KeyExists(CString(kTypeKey) + L"\\DefaultIcon"));
    EXPECT_EQ(DefaultValue(CString(kTypeKey) + L"\\shell\\open\\command"), L"\"" + program + L"\" \"%1\"");

    CFileAssociation withIcon(kExt, kType, L"Test file", 3);
    EXPECT_TRUE(withIcon.RegisterType(program));
    // The test program has no icon 3: the program's first icon is named instead.
    EXPECT_EQ(DefaultValue(CString(kTypeKey) + L"\\DefaultIcon"), program + L",0");

    // A further verb keeps itself and the type key.
    SetDefault(CString(kTypeKey) + L"\\shell\\edit\\command", L"edit");
    EXPECT_TRUE(withIcon.UnregisterType());
    EXPECT_FALSE(KeyExists(CString(kTypeKey) + L"\\DefaultIcon"));
    EXPECT_FALSE(KeyExists(CString(kTypeKey) + L"\\shell\\open"));
    EXPECT_TRUE(KeyExists(CString(kTypeKey) + L"\\shell\\edit\\command"));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, CString(kTypeKey) + L"\\shell");
    EXPECT_TRUE(withIcon.UnregisterType());
    EXPECT_FALSE(KeyExists(kTypeKey));
}

TEST_F(Association, EmptyNamesDoNothing)
{
    CFileAssociation none(L"", kType, L"x", -1);
    CString previous = L"kept?";
    EXPECT_FALSE(none.GetAssociation(previous));
    EXPECT_TRUE(previous.IsEmpty());
    EXPECT_FALSE(none.IsAssociated());
    EXPECT_FALSE(none.RegisterType(L"C:\\x.exe"));
    EXPECT_FALSE(none.UnregisterType());
    HKEY root;
    CString path;
    CFileAssociation::GetClassesKey(L".gif", root, path);
    EXPECT_EQ(root, HKEY_CURRENT_USER);
    EXPECT_EQ(path, L"Software\\Classes\\.gif");
}
