#pragma once
// A folder of its own for each test, below the system's temporary folder, removed afterwards.
// Named after the test program and the test, so that programs running at once never share one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CString.h"
#include "FsPath.h"

class ScratchFolderTest : public ::testing::Test {
protected:
    std::filesystem::path m_folder;

    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(SUITE_TEST_PROGRAM) + "-" + info->test_suite_name() + "-" + info->name();
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
    CString Path(const CString& name) const { return FromFsPath(m_folder / ToFsPath(name)); }
    CString Folder() const { return FromFsPath(m_folder); }
};
