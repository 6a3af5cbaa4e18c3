#pragma once
// What a file dialog hands back in its name buffer, read portably: one path, or a folder
// followed by names. Explorer-style dialogs end each name with a NUL (the list with an empty
// name), old-style ones separate folder and names by blanks.
#include <string>

#include "CString.h"

// The path at `*position` in `buffer`; `position` moves to the next name, or becomes null after
// the last. Start with position == buffer. A buffer without names after its first entry is a
// single path and comes back unchanged.
CString NextFileDialogPath(const wchar_t* buffer, const wchar_t*& position, bool explorer);

// A filter in the "Text|*.txt|All|*.*||" form as the dialog wants it: every "|" a NUL and the
// list always ended by two NULs, whether or not the text ended in "||".
std::wstring FileDialogFilterList(const wchar_t* filter);
