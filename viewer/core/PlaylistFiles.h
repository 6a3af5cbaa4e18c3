#pragma once
// Playlists in the viewer's own XML format (".playlist"), as M3U and as PLS (portable).
#include <cstddef>
#include <cstdint>
#include <string>

#include "CString.h"
#include "Collections.h"

class CPlaylistItem;
class CrImage;

// The items that the readers fill and the writers store, with the list's own facts.
class CPlaylist {
public:
    CArray<CPlaylistItem*> m_items;
    int Flags = 0;
    CString Title;
    CString ArtworkFile;

    CPlaylist() = default;
    // Deletes the items still held; a caller that hands them on empties the array first.
    virtual ~CPlaylist();
    CPlaylist(const CPlaylist&) = delete;
    CPlaylist& operator=(const CPlaylist&) = delete;

    virtual int GetCount() const { return m_items.GetSize(); }
    virtual CPlaylistItem* GetAt(int index) const;
    // A new item for the path, appended when the file exists and its info was read; else null.
    virtual CPlaylistItem* AddNew(const CString& path);
    virtual void DeleteAll();
};

bool IsPlaylistFile(const CString& path);
// 0, or -1 for a missing file, an unknown extension or a file the reader cannot use.
int LoadPlaylistFile(const CString& path, CPlaylist& playlist);
// `type` is an extension with or without its dot; `embed` stores thumbnails inside ".playlist"
// files. 0, or -1 when the file could not be written (an older file then stays as it was).
int SavePlaylistFile(const CString& path, const CString& type, CPlaylist& playlist, bool embed);

int LoadXmlPlaylist(const CString& path, CPlaylist& playlist);
int SaveXmlPlaylist(const CString& path, CPlaylist& playlist, bool embed);
int LoadM3uPlaylist(const CString& path, CPlaylist& playlist);
int SaveM3uPlaylist(const CString& path, CPlaylist& playlist);
int LoadPlsPlaylist(const CString& path, CPlaylist& playlist);
int SavePlsPlaylist(const CString& path, CPlaylist& playlist);

// The readers over a file's bytes; entries relative to the list are joined to `listPath`'s folder.
// An entry that cannot be a path (a NUL, bytes that are no text, control characters, too long) is
// left out, and the rest of the file still counts.
int ReadXmlPlaylist(std::string bytes, CPlaylist& playlist);
void ReadM3uPlaylist(const std::string& bytes, const CString& listPath, CPlaylist& playlist);
int ReadPlsPlaylist(const std::string& bytes, const CString& listPath, CPlaylist& playlist);

// Standard Base64 with "=" padding and no line breaks; the output must have room for
// ((length rounded up to a multiple of 3) * 8 / 6) characters. Returns the characters written.
size_t Base64Encode(const uint8_t* bytes, size_t length, char* output);
// Decodes until the first "=" or character outside the alphabet; the output needs
// length * 6 / 8 + 1 bytes. Returns the bytes written.
size_t Base64Decode(const char* text, size_t length, uint8_t* output);
int EncodeThumbnail(CrImage& image, CString& text);
int DecodeThumbnail(const CString& text, CrImage& image);
