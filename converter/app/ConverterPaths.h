#pragma once
// Path rules of the converter's outputs: free names in a folder, the parts of an output path,
// what a new name typed by the user may be, and the file filters of the GIF dialogs. Portable.
#include "CString.h"

#ifdef _WIN32
constexpr wchar_t kPathSeparator = L'\\';
#else
constexpr wchar_t kPathSeparator = L'/';
#endif

// folder + separator + title + extension.
CString JoinOutputPath(const CString& folder, const CString& title, const CString& extension);
// The title itself when folder\title+extension is free (no file or folder of that name), else
// "title (1)", "title (2)", ... whichever is free first.
CString MakeUniqueFileName(const CString& folder, const CString& title, const CString& extension);
// The full path of that free name.
CString MakeUniqueFilePath(const CString& folder, const CString& title, const CString& extension);

// Folder (without the last separator), title and extension (from the last dot of the name, dot
// included) of a path.
void SplitOutputPath(const CString& path, CString& folder, CString& title, CString& extension);
// The file name without folder and extension.
CString GetOutputTitle(const CString& path);
// The file name with its extension.
CString GetFileNamePart(const CString& path);

bool PathExists(const CString& path);
// Whether both name one existing file (also through another spelling of its path).
bool IsSameFile(const CString& a, const CString& b);
// A new title typed by the user must name a file in the output folder: not empty, and without
// separators, drive or stream colons, wildcards or control characters.
bool IsAcceptableNewTitle(const CString& title);

// The GIF filter of the file dialogs: the full form for the open dialog, the short pattern
// list for folder scans.
CString GetGifFilter(int full);
