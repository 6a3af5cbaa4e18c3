#include "InputListText.h"

#include <vector>

#include "ListText.h"

int ReadInputListText(bool pls, const std::string& bytes, const CString& listPath, CStringArray& entries)
{
    std::vector<CString> read;
    if (pls && !ParsePlsText(bytes, read))
        return 0;
    if (!pls)
        read = ParseM3uText(bytes);
    for (const CString& entry : read) {
        // Callers rely on a blank line of an ".m3u" giving its empty entry.
        const CString path = entry.IsEmpty() ? entry : ResolveListEntry(listPath, entry);
        if (path.IsEmpty() || IsListEntryPath(path))
            entries.Add(path);
    }
    return 1;
}
