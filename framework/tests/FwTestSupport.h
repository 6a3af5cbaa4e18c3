#pragma once
// Helpers of the framework's window tests: a message pump with a deadline.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "Fw.h"

// Dispatches this thread's messages until `done` answers true (then true) or `timeoutMs` has
// passed (then false). A WM_QUIT ends the pump too and is reported through `quit`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000, bool* quit = nullptr);

// The application object of the test program (registry key of its own).
CWinApp& TestApp();

// Readable CString values in test failures (the catalogue's test support has the same one).
#ifndef SUITE_CSTRING_PRINTTO
#define SUITE_CSTRING_PRINTTO
inline void PrintTo(const CString& text, std::ostream* os) { *os << '"' << text.ToUtf8() << '"'; }
#endif

// The maker key of this test program's profile, "FwTestMaker-<program name>": test programs run
// at the same time in one Wine prefix, so each needs a key of its own.
const wchar_t* TestMakerKey();

// Tests that write the application's profile: the maker's key starts empty and is removed afterwards.
class FwProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp().SetRegistryKey(TestMakerKey());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, MakerPath());
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, MakerPath()); }

    static CString MakerPath() { return CString(L"Software\\") + TestMakerKey(); }
};
