#include "InputLists.h"

#include <windows.h>

#include <string>
#include <vector>

#include "InputListText.h"
#include "ListText.h"

namespace {

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

// The whole file as it is stored; false when it cannot be read.
bool ReadFileBytes(const CString& path, std::string& bytes)
{
    bytes.clear();
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof(buffer), &got, nullptr) != FALSE) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return ok;
}

// Writes a new file beside the list and moves it over the list only once all of it is written,
// so a failed save leaves the old list as it was.
int WriteFileReplacing(const CString& path, const std::string& bytes)
{
    const CString temporary = path + L".saving";
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    DWORD written = 0;
    bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                written == bytes.size());
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    if (ok && MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    DeleteFileW(temporary);
    return -1;
}

std::vector<CString> EntryList(const CStringArray& entries)
{
    std::vector<CString> list;
    for (int i = 0; i < entries.GetSize(); ++i)
        list.push_back(entries[i]);
    return list;
}

// 0 for a missing file, -1 for one that cannot be read, else what the text gives.
int LoadList(CPlaylistFile& list, bool pls, const CString& path)
{
    if (!FileExists(path))
        return 0;
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        return -1;
    return ReadInputListText(pls, bytes, path, list.m_entries);
}

} // namespace

int CM3uFile::Load(const CString& path) { return LoadList(*this, false, path); }

int CM3uFile::Save(const CString& path)
{
    return WriteFileReplacing(path, ComposeM3uText(EntryList(m_entries), L"\r\n"));
}

int CPlsFile::Load(const CString& path) { return LoadList(*this, true, path); }

int CPlsFile::Save(const CString& path)
{
    // Other sections of an existing file stay; the "Playlist" section is written anew.
    std::string old;
    if (FileExists(path) && !ReadFileBytes(path, old))
        return -1;
    return WriteFileReplacing(path, ComposePlsText(old, EntryList(m_entries)));
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
