#pragma once
// Shared pieces of the converter's window and run tests: the real sibling programs and the fake
// one, the globals the converter's parts reach, GIF sources, and a status receiver that notes
// what it is told.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppFormatCatalog.h"
#include "AppGlobals.h"
#include "AppSettings.h"
#include "CSync.h"
#include "CatalogTestSupport.h"
#include "ConvertItem.h"
#include "FwTestSupport.h"
#include "GuiDriving.h"
#include "JobStatusSink.h"
#include "ModulePaths.h"
#include "RunnerTestSupport.h"
#include "SysHelpers.h"

inline CString WindowsPath(const std::string& unixPath)
{
    CString path = L"Z:" + CString::FromUtf8(unixPath.c_str());
    path.Replace(L'/', L'\\');
    return path;
}

// The stand-ins as the program finds them beside itself.
inline CModulePaths StandInModules()
{
    return CModulePaths::Locate(WindowsPath(SUITE_PROGRAM_DIR));
}

// The stand-in probe with the fake encoder (its script in FAKE_SIBLING_SCRIPT).
inline CModulePaths FakeEncoderModules()
{
    CModulePaths paths = StandInModules();
    paths.m_encoder = WindowsPath(FAKE_SIBLING_PATH);
    return paths;
}

inline CString SampleGif()
{
    return CString::FromUtf8(SourcePath("tools/modules/tests/data/short.gif").c_str());
}

// Copies the sample animation into the folder under the name.
inline CString PutSampleGif(const ScratchFolder& folder, const char* name)
{
    const CString path = folder.File(name);
    CopyFileW(SampleGif(), path, FALSE);
    return path;
}

inline bool FileExists(const CString& path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// Names in the folder that begin with the prefix.
inline std::vector<std::string> FilesStartingWith(const std::filesystem::path& folder, const std::string& prefix)
{
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().u8string();
        if (name.compare(0, prefix.size(), prefix) == 0)
            found.push_back(name);
    }
    return found;
}

// The settings, the catalogue and the list lock that the application object would publish,
// the module paths of the runs, and a temporary folder of the test's own (so that no "~Wu"
// file can hide among those of other programs).
class ConverterTest : public FwProfileTest {
protected:
    void SetUp() override
    {
        FwProfileTest::SetUp();
        LoadBuiltins(m_catalog);
        g_pAppSettings = &m_settings;
        g_pFormatCatalog = &m_catalog;
        g_pListLock = &m_listLock;
        g_nConvertRow = -1;
        SetModulePaths(StandInModules());
        std::filesystem::create_directories(m_scratch.Path("tmp"));
        wchar_t previous[MAX_PATH] = L"";
        if (GetEnvironmentVariableW(L"TMP", previous, MAX_PATH))
            m_previousTemp = previous;
        SetEnvironmentVariableW(L"TMP", m_scratch.File("tmp"));
        std::filesystem::create_directories(m_scratch.Path("out"));
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"TMP", m_previousTemp.IsEmpty() ? nullptr : m_previousTemp.GetString());
        SetModulePaths(CModulePaths());
        g_nConvertRow = -1;
        g_pListLock = nullptr;
        g_pFormatCatalog = nullptr;
        g_pAppSettings = nullptr;
        FwProfileTest::TearDown();
    }

    CMediaPreset* FirstPreset(const wchar_t* formatId) const
    {
        CMediaFormatInfo* format = m_catalog.FindFormat(formatId);
        return format && !format->m_presets.empty() ? format->m_presets.front().get() : nullptr;
    }
    CString OutFolder() const { return m_scratch.File("out"); }
    CString OutFile(const wchar_t* name) const { return OutFolder() + L"\\" + name; }
    // Temporary and "[Converting] " files left behind.
    std::vector<std::string> Leftovers() const
    {
        std::vector<std::string> left = FilesStartingWith(m_scratch.Path("out"), "[Converting] ");
        for (const std::string& name : FilesStartingWith(m_scratch.Path("tmp"), "~Wu"))
            left.push_back(name);
        return left;
    }

    ScratchFolder m_scratch;
    CAppSettings m_settings;
    CAppFormatCatalog m_catalog;
    CCriticalSection m_listLock;
    CString m_previousTemp;
};

// Notes every state and status text it is given, and what the Set calls carried.
class RecordingSink : public CJobStatusSink {
public:
    void OnStatus(CConvertItem* item) override
    {
        m_states.push_back(item->m_state);
        CJobStatusSink::OnStatus(item);
    }
    void OnProgress(CConvertItem* item) override
    {
        ++m_progressCalls;
        CJobStatusSink::OnProgress(item);
        if (m_onProgress)
            m_onProgress();
    }
    void SetStateImage(int image) override { m_calls.push_back("image " + std::to_string(image)); }
    void SetTextColor(COLORREF colour) override { m_calls.push_back("colour " + std::to_string(colour)); }
    void SetOutputText(const CString& text) override { m_calls.push_back("output " + text.ToUtf8()); }
    void SetSizes(int64_t input, int64_t output) override
    {
        m_calls.push_back("sizes " + std::to_string(input) + " " + std::to_string(output));
    }
    void SetTimes(int64_t input, int64_t output) override
    {
        m_calls.push_back("times " + std::to_string(input) + " " + std::to_string(output));
    }
    void SetProgress(int64_t value, int64_t range) override
    {
        m_calls.push_back("progress " + std::to_string(value) + " " + std::to_string(range));
    }
    void SetStatusText(const CString& text) override
    {
        m_texts.push_back(text.ToUtf8());
        m_calls.push_back("status " + text.ToUtf8());
    }

    std::vector<int> m_states;
    std::vector<std::string> m_texts;
    std::vector<std::string> m_calls;
    int m_progressCalls = 0;
    std::function<void()> m_onProgress;
};
