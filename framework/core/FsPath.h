#pragma once
// CString paths to and from std::filesystem paths: wide on Windows, UTF-8 natively.
#include <filesystem>

#include "CString.h"

inline std::filesystem::path ToFsPath(const CString& path)
{
#ifdef _WIN32
    return std::filesystem::path(path.str());
#else
    return std::filesystem::path(path.ToUtf8());
#endif
}

inline CString FromFsPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    return CString(path.wstring());
#else
    return CString::FromUtf8(path.string().c_str());
#endif
}
