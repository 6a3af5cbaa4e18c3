#pragma once
// Shared helpers of the catalogue tests: a loaded built-in catalogue, scratch folders and a
// field-by-field view of preset records.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <tuple>

#include "AppFormatCatalog.h"
#include "FsPath.h"
#include "TestPaths.h"
#include "TestPrint.h"

// The catalogue as a first start without a catalogue file leaves it.
inline void LoadBuiltins(CAppFormatCatalog& catalog)
{
    catalog.Load(CString());
}

// A fresh folder of its own, removed with everything in it at the end of the test.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path() / ("catalog-test-" + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path Path(const char* name) const { return m_path / name; }
    CString File(const char* name) const { return FromFsPath(Path(name)); }
    const std::filesystem::path& Root() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline void WriteTextFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadTextFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline auto Fields(const MEDIA_PRESET_SETTINGS& s)
{
    return std::make_tuple(s.flags, std::wstring(s.name), s.videoFlags, std::wstring(s.videoCodec), s.width,
                           s.height, s.aspectNum, s.aspectDen, s.rateNum, s.rateDen, s.videoBitRate,
                           std::wstring(s.videoPreset), s.audioFlags, std::wstring(s.audioCodec), s.channels,
                           s.sampleRate, s.audioBitRate, std::wstring(s.audioPreset));
}
