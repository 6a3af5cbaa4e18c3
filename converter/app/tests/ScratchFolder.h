#pragma once
// A folder of its own in the temporary folder, removed with everything in it afterwards.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "CString.h"
#include "ConverterPaths.h"

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

class ScratchFolder {
public:
    explicit ScratchFolder(const char* tag = "talvena")
    {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = std::filesystem::temp_directory_path() /
                 (std::string(tag) + "-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    CString Path() const { return FromFsPath(m_path); }
    CString File(const wchar_t* name) const { return Path() + kPathSeparator + name; }
    // Writes a file of that name with the text; returns its path.
    CString Write(const wchar_t* name, const std::string& content = "x") const
    {
        const CString path = File(name);
        std::ofstream(ToFsPath(path), std::ios::binary) << content;
        return path;
    }
    static std::string Read(const CString& path)
    {
        std::ifstream in(ToFsPath(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_path;
};
