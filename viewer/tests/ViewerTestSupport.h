#pragma once
// Fixtures of the viewer's tests: GIF files of our own making (TestGif.h) and a scratch folder per
// test (ScratchFolderTest).
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "CString.h"
#include "FsPath.h"
#include "ScratchFolder.h"
#include "TestGif.h"

#if defined(_WIN32) && __has_include("FwTestSupport.h")
#include "FwTestSupport.h"
#else
inline void PrintTo(const CString& text, std::ostream* os) { *os << '"' << text.ToUtf8() << '"'; }
#endif

