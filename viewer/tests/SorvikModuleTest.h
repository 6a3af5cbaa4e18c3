#pragma once
// Tests that read Sorvik.exe's resources: the program file loaded as a resource module.
#include <gtest/gtest.h>

#include <windows.h>

#include "SorvikWindows.h"

class SorvikModuleTest : public ::testing::Test {
protected:
    HMODULE m_module = nullptr;

    void SetUp() override
    {
        m_module = ::LoadLibraryExW(SorvikProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m_module, nullptr) << "Sorvik.exe did not load as a resource module";
    }
    void TearDown() override
    {
        if (m_module)
            ::FreeLibrary(m_module);
    }
};
