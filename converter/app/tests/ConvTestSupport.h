#pragma once
// A scratch folder for the converter helper tests, removed with its contents afterwards.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "CString.h"

class ScratchFolder {
public:
    ScratchFolder()
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        m_path.Format(L"%sconvcore test %lu-%d", temp, GetTickCount(), ++counter);
        CreateDirectoryW(m_path, nullptr);
    }
    ~ScratchFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(std::filesystem::path(m_path.str()), error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    CString File(const wchar_t* name) const { return m_path + L"\\" + name; }
    const CString& Path() const { return m_path; }

private:
    CString m_path;
};

inline void WriteBytes(const CString& path, const std::string& bytes)
{
    std::ofstream(std::filesystem::path(path.str()), std::ios::binary) << bytes;
}

inline std::string ReadBytes(const CString& path)
{
    std::ifstream in(std::filesystem::path(path.str()), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const CString& path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}
