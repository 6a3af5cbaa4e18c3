#include "PathLists.h"

namespace {

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Percent escapes are UTF-8 bytes.
CString PercentDecoded(const CString& text)
{
    std::string bytes;
    const std::string utf8 = text.ToUtf8();
    for (size_t i = 0; i < utf8.size(); ++i) {
        const int high = i + 2 < utf8.size() ? HexDigit(static_cast<unsigned char>(utf8[i + 1])) : -1;
        const int low = i + 2 < utf8.size() ? HexDigit(static_cast<unsigned char>(utf8[i + 2])) : -1;
        if (utf8[i] == '%' && high >= 0 && low >= 0) {
            bytes += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            bytes += utf8[i];
        }
    }
    return CString::FromUtf8(bytes.c_str(), static_cast<int>(bytes.size()));
}

// A line of several quoted paths ("a" "b") gives each; any other line is one path.
void AddLine(CString line, CStringArray& paths)
{
    line.Trim();
    if (line.IsEmpty())
        return;
    if (line[0] != L'"') {
        paths.Add(PathFromFileUrl(line));
        return;
    }
    int start = 0;
    while (start < line.GetLength()) {
        if (line[start] != L'"') {
            ++start;
            continue;
        }
        const int end = line.Find(L'"', start + 1);
        const CString path = end < 0 ? line.Mid(start + 1) : line.Mid(start + 1, end - start - 1);
        CString trimmed = path;
        trimmed.Trim();
        if (!trimmed.IsEmpty())
            paths.Add(PathFromFileUrl(trimmed));
        if (end < 0)
            break;
        start = end + 1;
    }
}

} // namespace

CString PathFromFileUrl(const CString& text)
{
    const CString scheme = L"file://";
    if (text.GetLength() <= scheme.GetLength() || text.Left(scheme.GetLength()).CompareNoCase(scheme) != 0)
        return text;
    CString rest = PercentDecoded(text.Mid(scheme.GetLength()));
    // "file:///C:/x" has an empty host; "file://server/share/x" names a share.
    if (!rest.IsEmpty() && rest[0] == L'/')
        rest = rest.Mid(1);
    else
        rest = L"//" + rest;
    rest.Replace(L'/', L'\\');
    return rest;
}

void ParsePathList(const CString& text, CStringArray& paths)
{
    int start = 0;
    const int length = text.GetLength();
    while (start <= length) {
        int end = start;
        while (end < length && text[end] != L'\r' && text[end] != L'\n' && text[end] != L'\0')
            ++end;
        AddLine(text.Mid(start, end - start), paths);
        start = end + 1;
    }
}

CString QuotePathList(const CStringArray& paths)
{
    CString list;
    for (int i = 0; i < paths.GetSize(); ++i) {
        if (!list.IsEmpty())
            list += L' ';
        list += L"\"" + paths[i] + L"\"";
    }
    return list;
}
