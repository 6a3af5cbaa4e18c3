#include "InputLists.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "SysHelpers.h"

namespace {

const wchar_t kSection[] = L"Playlist";
const wchar_t kCountKey[] = L"NumberOfEntries";

CString Extension(const CString& path)
{
    const int dot = path.ReverseFind(L'.');
    const int slash = path.ReverseFind(L'\\');
    if (dot < 0 || dot < slash)
        return CString();
    CString extension = path.Mid(dot);
    extension.MakeLower();
    return extension;
}

bool FileExists(const CString& path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// One whole line, however long, with its line end; false at the end of the file.
bool ReadLine(FILE* file, std::string& line)
{
    line.clear();
    char buffer[4096];
    while (std::fgets(buffer, sizeof(buffer), file)) {
        line += buffer;
        if (!line.empty() && line.back() == '\n')
            return true;
    }
    return !line.empty();
}

// A profile value of any length.
CString ProfileText(const CString& path, const wchar_t* key)
{
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        const DWORD length =
            GetPrivateProfileStringW(kSection, key, L"", buffer.data(), static_cast<DWORD>(buffer.size()), path);
        if (length + 1 < buffer.size())
            return CString(buffer.data(), static_cast<int>(length));
        buffer.resize(buffer.size() * 2);
    }
}

// The numbers N of the section's "FileN" keys, in order.
std::vector<int> EntryNumbers(const CString& path)
{
    std::vector<wchar_t> names(4096);
    DWORD length = 0;
    for (;;) {
        length = GetPrivateProfileStringW(kSection, nullptr, L"", names.data(), static_cast<DWORD>(names.size()), path);
        if (length + 2 < names.size())
            break;
        names.resize(names.size() * 2);
    }
    std::map<int, bool> numbers;
    for (const wchar_t* name = names.data(); *name; name += wcslen(name) + 1) {
        if (_wcsnicmp(name, L"File", 4) != 0)
            continue;
        wchar_t* end = nullptr;
        const long number = wcstol(name + 4, &end, 10);
        if (end != name + 4 && *end == L'\0' && number > 0)
            numbers[static_cast<int>(number)] = true;
    }
    std::vector<int> ordered;
    for (const auto& n : numbers)
        ordered.push_back(n.first);
    return ordered;
}

} // namespace

int CM3uFile::Load(const CString& path)
{
    if (!FileExists(path))
        return 0;
    FILE* file = _wfopen(path, L"rt");
    if (!file)
        return -1;
    for (std::string line; ReadLine(file, line);) {
        CString entry;
        AnsiToWide(line.c_str(), entry);
        if (entry.IsEmpty())
            continue;
        entry.TrimLeft();
        if (!entry.IsEmpty() && entry[0] == L'#')
            continue;
        entry.TrimRight();
        Add(entry);
    }
    std::fclose(file);
    return 1;
}

int CM3uFile::Save(const CString& path)
{
    FILE* file = _wfopen(path, L"wt");
    if (!file)
        return -1;
    for (int i = 0; i < m_entries.GetSize(); ++i) {
        std::string text;
        WideToAnsi(m_entries[i], text);
        std::fprintf(file, "%s\n", text.c_str());
    }
    return std::fclose(file) == 0 ? 1 : -1;
}

int CPlsFile::Load(const CString& path)
{
    if (!FileExists(path))
        return 0;
    const int count = static_cast<int>(GetPrivateProfileIntW(kSection, kCountKey, -1, path));
    if (count == -1)
        return 0;
    // Only keys the file has can give entries, so a huge count costs nothing.
    for (int number : EntryNumbers(path)) {
        if (number > count)
            break;
        CString key;
        key.Format(L"File%d", number);
        CString entry = ProfileText(path, key);
        entry.Trim();
        if (!entry.IsEmpty())
            Add(entry);
    }
    return 1;
}

int CPlsFile::Save(const CString& path)
{
    if (!FileExists(path)) {
        FILE* file = _wfopen(path, L"wb");
        if (!file)
            return -1;
        std::fclose(file);
    }
    WritePrivateProfileStringW(kSection, nullptr, nullptr, path);
    CString count;
    count.Format(L"%d", m_entries.GetSize());
    if (!WritePrivateProfileStringW(kSection, kCountKey, count, path))
        return -1;
    for (int i = 0; i < m_entries.GetSize(); ++i) {
        CString key;
        key.Format(L"File%d", i + 1);
        if (!WritePrivateProfileStringW(kSection, key, m_entries[i], path))
            return -1;
    }
    return 1;
}

bool IsInputListFile(const CString& path)
{
    const CString extension = Extension(path);
    return extension == L".m3u" || extension == L".pls";
}

CPlaylistFile* CreatePlaylistFile(const CString& path)
{
    const CString extension = Extension(path);
    if (extension == L".m3u")
        return new CM3uFile;
    if (extension == L".pls")
        return new CPlsFile;
    return nullptr;
}
