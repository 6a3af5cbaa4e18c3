// The converter's input lists from any bytes, read as both kinds: nothing may crash, every entry
// can name a file (or is an ".m3u"'s blank line), and a list written back reads as the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "InputListText.h"
#include "ListText.h"

namespace {

std::vector<CString> ListOf(const CStringArray& entries)
{
    std::vector<CString> list;
    for (int i = 0; i < entries.GetSize(); ++i)
        list.push_back(entries[i]);
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const CString listPath = L"C:\\lists\\list";
    for (bool pls : {false, true}) {
        CStringArray entries;
        ReadInputListText(pls, bytes, listPath, entries);
        const std::vector<CString> read = ListOf(entries);
        for (const CString& entry : read)
            if (!entry.IsEmpty() && !IsListEntryPath(entry))
                std::abort();
        const std::string written = pls ? ComposePlsText(bytes, read) : ComposeM3uText(read, L"\r\n");
        CStringArray again;
        if (ReadInputListText(pls, written, listPath, again) != 1 || ListOf(again) != read)
            std::abort();
    }
    return 0;
}
