#include "FileDialogNames.h"

namespace {

// The end of the entry at `p`: the next delimiter or NUL.
const wchar_t* EntryEnd(const wchar_t* p, wchar_t delimiter)
{
    while (*p && *p != delimiter)
        p++;
    return p;
}

} // namespace

CString NextFileDialogPath(const wchar_t* buffer, const wchar_t*& position, bool explorer)
{
    const wchar_t delimiter = explorer ? L'\0' : L' ';
    const wchar_t* folderEnd = EntryEnd(buffer, delimiter);
    const wchar_t* name = position;
    if (name == buffer) {
        // Nothing behind the first entry: one selected path.
        if (*folderEnd == 0 && (!explorer || folderEnd[1] == 0)) {
            position = nullptr;
            return CString(buffer);
        }
        name = folderEnd + 1;
    }
    const wchar_t* nameEnd = EntryEnd(name, delimiter);
    const wchar_t* next = *nameEnd ? nameEnd + 1 : (explorer ? nameEnd + 1 : nameEnd);
    position = *next ? next : nullptr;

    CString path(buffer, static_cast<int>(folderEnd - buffer));
    wchar_t last = path.IsEmpty() ? 0 : path[path.GetLength() - 1];
    if (last != L'\\' && last != L'/')
        path += L'\\';
    path.Append(name, static_cast<int>(nameEnd - name));
    return path;
}

std::wstring FileDialogFilterList(const wchar_t* filter)
{
    std::wstring list = filter ? filter : L"";
    for (wchar_t& c : list)
        if (c == L'|')
            c = 0;
    // A text that did not end in "||" would leave the list unterminated; extra NULs are harmless.
    list.append(2, L'\0');
    return list;
}
