#pragma once
// The file operations of the viewer's portable code, over std::filesystem and the system code page.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "CString.h"

namespace ViewerFiles {

#ifdef _WIN32
constexpr wchar_t kSeparator = L'\\';
#else
constexpr wchar_t kSeparator = L'/';
#endif

bool FileExists(const CString& path);      // a regular file
bool FolderExists(const CString& path);
bool PathExists(const CString& path);
// Bytes, -1 when the file does not exist.
int64_t FileSize(const CString& path);
// The part after the last separator (either slash).
CString FileNamePart(const CString& path);
// The part before the last separator; empty for a bare name.
CString FolderPart(const CString& path);
CString JoinPath(const CString& folder, const CString& name);
// Lower-cased extension with its dot, empty when there is none.
CString LowerExtension(const CString& path);
bool CreateFolderTree(const CString& path);
bool RemoveFile(const CString& path);
bool RemoveEmptyFolder(const CString& path);
// Names (not paths) of the regular files directly in a folder.
std::vector<CString> FileNames(const CString& folder);
FILE* Open(const CString& path, const char* mode);
// Reads a whole file; false when it cannot be read.
bool ReadAll(const CString& path, std::string& bytes);
// Writes the bytes to a new file beside the target and moves it over the target only when the
// whole content was written; the old file stays untouched otherwise. 0 or -1.
int WriteReplacing(const CString& path, const std::string& bytes);

// Text in the system code page (natively UTF-8) and back.
std::string ToSystemCodePage(const CString& text);
CString FromSystemCodePage(const std::string& text);

} // namespace ViewerFiles
