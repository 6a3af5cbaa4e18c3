#pragma once
// Fixtures of the viewer's tests: GIF files of our own making (TestGif.h) and a scratch folder per test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "CString.h"
#include "FsPath.h"
#include "TestGif.h"

#if defined(_WIN32) && __has_include("FwTestSupport.h")
#include "FwTestSupport.h"
#else
inline void PrintTo(const CString& text, std::ostream* os) { *os << '"' << text.ToUtf8() << '"'; }
#endif

// A folder of its own below the system's temporary folder, removed afterwards.
class ScratchFolderTest : public ::testing::Test {
protected:
    std::filesystem::path m_folder;

    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("sorvik-") + info->test_suite_name() + "-" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        m_folder = std::filesystem::temp_directory_path() / name;
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    CString Path(const std::string& name) const { return FromFsPath(m_folder / name); }
    CString Folder() const { return FromFsPath(m_folder); }
};
