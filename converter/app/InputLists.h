#pragma once
// Lists of input files: ".m3u" (one path per line, "#" comments) and ".pls" (an INI file: section
// "Playlist", "NumberOfEntries", "File1", "File2", ...), in the encodings ListText.h reads and
// writes. A save replaces the old file only once the new one is whole.
#include "CString.h"
#include "Collections.h"

class CPlaylistFile {
public:
    virtual ~CPlaylistFile() = default;
    // 1 read, 0 nothing to read (no such file; for ".pls" also no entry count), -1 unreadable.
    virtual int Load(const CString& path) = 0;
    // 1 written, -1 when the file cannot be written.
    virtual int Save(const CString& path) = 0;
    virtual int Add(const CString& entry) { return m_entries.Add(entry); }
    virtual void Clear() { m_entries.RemoveAll(); }

    CStringArray m_entries;
};

class CM3uFile : public CPlaylistFile {
public:
    int Load(const CString& path) override;
    int Save(const CString& path) override;
};

class CPlsFile : public CPlaylistFile {
public:
    int Load(const CString& path) override;
    int Save(const CString& path) override;
};

// ".m3u" or ".pls", in any case.
bool IsInputListFile(const CString& path);
// A new list object for the file's kind, or null; the caller deletes it.
CPlaylistFile* CreatePlaylistFile(const CString& path);
