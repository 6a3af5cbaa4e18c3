#pragma once
// The text of ".m3u" and ".pls" lists, read and written the same way by both programs (portable).
// Reading: a byte-order mark picks UTF-8 or UTF-16 in either byte order; without one the bytes are
// in the system code page. Lines end at CR, LF or CR LF and may be of any length.
// Writing: the system code page, or UTF-8 with a byte-order mark when the code page cannot hold
// every character, so that a saved path always reads back as the same path (EncodeListText);
// or the code page alone, refusing what it cannot hold (EncodeCodePageListText).
#include <string>
#include <vector>

#include "CString.h"

// Longest path the system's wide file functions take.
constexpr int kMaxListEntryPath = 32767;

struct CListTextLine {
    CString text;
    // False when the line held a NUL or bytes that its encoding cannot decode: such a line
    // names no file and is passed over (the lines after it still count).
    bool intact = true;
};

std::vector<CListTextLine> SplitListText(const std::string& bytes);

// True when the entry could name a file: not empty, no control character, not too long.
bool IsListEntryPath(const CString& entry);
// An entry given relative to the list, joined to the list's folder; others unchanged.
CString ResolveListEntry(const CString& listPath, const CString& entry);

// ".m3u": every intact line that is no comment (first non-blank character "#"), trimmed of
// blanks at both ends; a blank line gives an empty entry.
std::vector<CString> ParseM3uText(const std::string& bytes);
// ".pls": the "File<N>" values of the "Playlist" section for N from 1 to its "NumberOfEntries",
// in number order, trimmed and without enclosing double quotes, empty values left out. Only keys
// the file has are looked at, so a huge count costs nothing. False without an entry count (or
// with a count of -1).
bool ParsePlsText(const std::string& bytes, std::vector<CString>& entries);

// One entry a line, each ended by `lineEnd`.
CString M3uText(const std::vector<CString>& entries, const wchar_t* lineEnd);
// `oldBytes` (an existing file, or empty) with its "Playlist" section replaced by the entries;
// every other section stays.
CString PlsText(const std::string& oldBytes, const std::vector<CString>& entries);
// The two above, encoded by EncodeListText.
std::string ComposeM3uText(const std::vector<CString>& entries, const wchar_t* lineEnd);
std::string ComposePlsText(const std::string& oldBytes, const std::vector<CString>& entries);
// The text as a list file stores it (see above).
std::string EncodeListText(const CString& text);
// The text in the system code page; false when the code page cannot hold every character, or
// when the bytes would start like a byte-order mark and read back as another text.
bool EncodeCodePageListText(const CString& text, std::string& bytes);
