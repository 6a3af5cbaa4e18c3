#include "ConvTestSupport.h"
#include "ShellMenuRegistrar.h"
#include "SysHelpers.h"

#include <gtest/gtest.h>

namespace {

// regsvr32 runs on its own; give it time.
int RegisteredWithin(int expected, DWORD milliseconds)
{
    int found = IsShellMenuRegistered();
    for (DWORD waited = 0; found != expected && waited < milliseconds; waited += 100) {
        Sleep(100);
        found = IsShellMenuRegistered();
    }
    return found;
}

TEST(ShellMenu, RegistersThroughRegsvr32AndRemovesTheKeys)
{
    // The library beside the program, as installed.
    const CString library = GetAppFolder() + L"\\Pellmot.dll";
    CString built = CString::FromUtf8(SUITE_PROGRAM_DIR);
    built.Replace(L'/', L'\\');
    ASSERT_TRUE(CopyFileW(L"Z:" + built + L"\\Pellmot.dll", library, FALSE));

    CShellMenuRegistrar registrar;
    UnregisterShellMenu();
    EXPECT_EQ(IsShellMenuRegistered(), 0);
    ASSERT_EQ(registrar.Register(true), 0);
    EXPECT_EQ(RegisteredWithin(2, 20000), 2);
    EXPECT_EQ(registrar.Register(false), 0);
    EXPECT_EQ(IsShellMenuRegistered(), 0);
    EXPECT_EQ(UnregisterShellMenu(), 0);
    DeleteFileW(library);
}

TEST(ShellMenu, MissingLibraryIsNotRegistered)
{
    CShellMenuRegistrar registrar;
    registrar.m_library = L"NoSuchLibrary.dll";
    EXPECT_EQ(registrar.RegisterDll(), -1);
    EXPECT_EQ(registrar.Register(true), -1);
}

} // namespace
