#include <gtest/gtest.h>

#include "FwTestSupport.h"

namespace {

using Profile = FwProfileTest;

} // namespace

TEST_F(Profile, ValuesRoundTripUnderTheMakersKey)
{
    CWinApp& app = TestApp();
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"Zoom", 100), 100);
    EXPECT_EQ(app.GetProfileString(L"Settings", L"LastOpenFolder", L"none"), L"none");
    EXPECT_TRUE(app.WriteProfileInt(L"Settings", L"Zoom", -7));
    EXPECT_TRUE(app.WriteProfileString(L"Settings", L"LastOpenFolder", L"C:\\Pictures \u00e9"));
    EXPECT_TRUE(app.WriteProfileString(L"Recent\\Files", L"01", L"a.gif"));
    EXPECT_TRUE(app.WriteProfileString(L"", L"AppFolder", L"C:\\App"));
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"Zoom", 100), -7);
    EXPECT_EQ(app.GetProfileString(L"Settings", L"LastOpenFolder"), L"C:\\Pictures \u00e9");
    EXPECT_EQ(app.GetProfileString(L"Recent\\Files", L"01"), L"a.gif");
    EXPECT_EQ(app.GetProfileString(L"", L"AppFolder"), L"C:\\App");
    // A string where a number is asked for counts as missing.
    EXPECT_EQ(app.GetProfileInt(L"Settings", L"LastOpenFolder", 3), 3);

    // The layout other programs and people see.
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, MakerPath() + L"\\FwTests\\Settings", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD value = 0, size = sizeof(value), type = 0;
    EXPECT_EQ(::RegQueryValueExW(key, L"Zoom", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(static_cast<int>(value), -7);
    ::RegCloseKey(key);
}

TEST_F(Profile, EntriesAndSectionsCanBeDeleted)
{
    CWinApp& app = TestApp();
    app.WriteProfileString(L"Recent\\Files", L"01", L"a");
    app.WriteProfileString(L"Recent\\Files", L"02", L"b");
    EXPECT_TRUE(app.WriteProfileString(L"Recent\\Files", L"01", nullptr));
    EXPECT_EQ(app.GetProfileString(L"Recent\\Files", L"01", L"gone"), L"gone");
    EXPECT_EQ(app.GetProfileString(L"Recent\\Files", L"02"), L"b");
    EXPECT_TRUE(app.DeleteProfileSection(L"Recent\\Files"));
    EXPECT_EQ(app.GetProfileString(L"Recent\\Files", L"02", L"gone"), L"gone");
    EXPECT_TRUE(app.DeleteProfileSection(L"Never\\There"));
    EXPECT_FALSE(app.DeleteProfileSection(L""));   // never the whole program key
}
