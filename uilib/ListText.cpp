#include "ListText.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <map>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const wchar_t kBlanks[] = L" \t";
const wchar_t kSection[] = L"Playlist";
const char kUtf8Mark[] = "\xEF\xBB\xBF";

#ifdef _WIN32
constexpr wchar_t kSeparator = L'\\';
#else
constexpr wchar_t kSeparator = L'/';
#endif

// [start, end) of every line; a last line without its line end counts when it is not empty.
template <typename Text>
std::vector<std::pair<size_t, size_t>> LineSpans(const Text& text, size_t start)
{
    std::vector<std::pair<size_t, size_t>> spans;
    size_t begin = start;
    for (size_t i = start; i < text.size(); i++) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        spans.emplace_back(begin, i);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            i++;
        begin = i + 1;
    }
    if (begin < text.size())
        spans.emplace_back(begin, text.size());
    return spans;
}

// No NUL, no code point beyond Unicode and no surrogate outside a proper pair.
bool IsWellFormed(const CString& text)
{
    const std::wstring& units = text.str();
    for (size_t i = 0; i < units.size(); i++) {
        uint32_t c = static_cast<uint32_t>(units[i]);
        if (c == 0 || c > 0x10FFFF)
            return false;
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < units.size()) {
            uint32_t low = static_cast<uint32_t>(units[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                i++;
                continue;
            }
        }
        if (c >= 0xD800 && c < 0xE000)
            return false;
    }
    return true;
}

#ifdef _WIN32
bool DecodeCodePage(const char* data, int size, CString& text)
{
    int chars = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, data, size, nullptr, 0);
    bool valid = chars > 0;
    DWORD flags = valid ? MB_ERR_INVALID_CHARS : 0;
    if (!valid)
        chars = ::MultiByteToWideChar(CP_ACP, 0, data, size, nullptr, 0);
    wchar_t* buffer = text.GetBufferSetLength(chars > 0 ? chars : 0);
    if (chars > 0)
        ::MultiByteToWideChar(CP_ACP, flags, data, size, buffer, chars);
    text.ReleaseBuffer(chars > 0 ? chars : 0);
    return valid;
}
#endif

// One line of bytes; false when it is not valid text in its encoding.
bool DecodeLine(const char* data, size_t size, bool utf8, CString& text)
{
    text.Empty();
    if (size == 0)
        return true;
    if (size > size_t(INT_MAX))
        return false;
#ifdef _WIN32
    if (!utf8)
        return DecodeCodePage(data, int(size), text) && IsWellFormed(text);
#endif
    text = CString::FromUtf8(data, int(size));
    // Decoding replaces what it cannot read, so anything that does not encode back was no UTF-8.
    return IsWellFormed(text) && text.ToUtf8().compare(0, std::string::npos, data, size) == 0;
}

std::vector<CListTextLine> SplitBytes(const std::string& bytes, size_t start, bool utf8)
{
    std::vector<CListTextLine> lines;
    for (const auto& span : LineSpans(bytes, start)) {
        CListTextLine line;
        line.intact = DecodeLine(bytes.data() + span.first, span.second - span.first, utf8, line.text);
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<CListTextLine> SplitUtf16(const std::string& bytes, bool bigEndian)
{
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        uint32_t first = uint8_t(bytes[i]), second = uint8_t(bytes[i + 1]);
        uint32_t unit = bigEndian ? first << 8 | second : second << 8 | first;
        // Where wchar_t is 32 bits wide a surrogate pair is one character.
        if (sizeof(wchar_t) == 4 && unit >= 0xDC00 && unit < 0xE000 && !text.empty()) {
            uint32_t high = static_cast<uint32_t>(text.back());
            if (high >= 0xD800 && high < 0xDC00) {
                text.back() = wchar_t(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
                continue;
            }
        }
        text += wchar_t(unit);
    }
    // A byte left over is half a character: the last line is broken.
    if (bytes.size() % 2 != 0)
        text += wchar_t(0);
    std::vector<CListTextLine> lines;
    for (const auto& span : LineSpans(text, 0)) {
        CListTextLine line;
        line.text = CString(text.substr(span.first, span.second - span.first));
        line.intact = IsWellFormed(line.text);
        lines.push_back(std::move(line));
    }
    return lines;
}

bool StartsWith(const std::string& bytes, const char* mark)
{
    return bytes.compare(0, std::strlen(mark), mark) == 0;
}

bool IsRelative(const CString& path)
{
    if (path.IsEmpty() || path[0] == L'\\' || path[0] == L'/')
        return false;
    // A drive letter, also on the native build where such paths come from Windows lists.
    return !(path.GetLength() >= 2 && path[1] == L':');
}

CString Trimmed(CString text) { return text.Trim(kBlanks); }

// The name a "[name]" line opens; false for every other line.
bool ReadSectionHeader(const CString& line, CString& name)
{
    CString trimmed = Trimmed(line);
    int close = trimmed.Find(L']');
    if (trimmed.IsEmpty() || trimmed[0] != L'[' || close < 1)
        return false;
    name = Trimmed(trimmed.Mid(1, close - 1));
    return true;
}

// The number of a "File<N>" key written the way "File%d" writes it (no sign, no leading zero).
bool ReadEntryNumber(const CString& key, long long& number)
{
    if (key.GetLength() < 5 || key.GetLength() > 4 + 18 || key.Left(4).CompareNoCase(L"File") != 0 || key[4] == L'0')
        return false;
    number = 0;
    for (int i = 4; i < key.GetLength(); i++) {
        if (key[i] < L'0' || key[i] > L'9')
            return false;
        number = number * 10 + (key[i] - L'0');
    }
    return true;
}

// A profile integer: an optional sign and the digits that follow; 0 when there are none.
long long ReadProfileInt(const CString& text)
{
    int i = 0;
    bool negative = i < text.GetLength() && text[i] == L'-';
    if (i < text.GetLength() && (text[i] == L'-' || text[i] == L'+'))
        i++;
    long long value = 0;
    for (; i < text.GetLength() && text[i] >= L'0' && text[i] <= L'9'; i++)
        if (value < LLONG_MAX / 10 - 10)
            value = value * 10 + (text[i] - L'0');
    return negative ? -value : value;
}

// The text in the system code page; false when the code page cannot hold every character.
bool ToCodePage(const CString& text, std::string& bytes)
{
    bytes.clear();
#ifdef _WIN32
    if (::GetACP() != CP_UTF8) {
        if (text.IsEmpty())
            return true;
        BOOL lossy = FALSE;
        int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, text.GetLength(), nullptr, 0, nullptr,
                                         &lossy);
        if (size <= 0 || lossy)
            return false;
        bytes.assign(size_t(size), '\0');
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, text.GetLength(), &bytes[0], size, nullptr, nullptr);
        return true;
    }
#endif
    bytes = text.ToUtf8();
    return true;
}

} // namespace

std::vector<CListTextLine> SplitListText(const std::string& bytes)
{
    if (StartsWith(bytes, "\xFF\xFE"))
        return SplitUtf16(bytes, false);
    if (StartsWith(bytes, "\xFE\xFF"))
        return SplitUtf16(bytes, true);
    if (StartsWith(bytes, kUtf8Mark))
        return SplitBytes(bytes, 3, true);
    return SplitBytes(bytes, 0, false);
}

bool IsListEntryPath(const CString& entry)
{
    if (entry.IsEmpty() || entry.GetLength() > kMaxListEntryPath)
        return false;
    for (int i = 0; i < entry.GetLength(); i++)
        if (static_cast<uint32_t>(entry[i]) < 0x20 || std::wcschr(L"\"<>|", entry[i]))
            return false;
    return true;
}

CString ResolveListEntry(const CString& listPath, const CString& entry)
{
    int slash = listPath.ReverseFind(L'/');
    int backslash = listPath.ReverseFind(L'\\');
    int separator = slash > backslash ? slash : backslash;
    if (separator < 0 || !IsRelative(entry))
        return entry;
    return listPath.Left(separator) + kSeparator + entry;
}

std::vector<CString> ParseM3uText(const std::string& bytes)
{
    std::vector<CString> entries;
    for (CListTextLine& line : SplitListText(bytes)) {
        if (!line.intact)
            continue;
        line.text.TrimLeft(kBlanks);
        if (!line.text.IsEmpty() && line.text[0] == L'#')
            continue;
        entries.push_back(line.text.TrimRight(kBlanks));
    }
    return entries;
}

bool ParsePlsText(const std::string& bytes, std::vector<CString>& entries)
{
    entries.clear();
    bool inSection = false;
    bool counted = false;
    long long count = 0;
    std::map<long long, CString> numbered;
    for (const CListTextLine& line : SplitListText(bytes)) {
        CString name;
        if (!line.intact)
            continue;
        if (ReadSectionHeader(line.text, name)) {
            inSection = name.CompareNoCase(kSection) == 0;
            continue;
        }
        int equals = line.text.Find(L'=');
        CString trimmed = Trimmed(line.text);
        if (!inSection || equals < 0 || trimmed[0] == L';')
            continue;
        CString key = Trimmed(line.text.Left(equals));
        CString value = Trimmed(line.text.Mid(equals + 1));
        if (value.GetLength() >= 2 && value[0] == L'"' && value[value.GetLength() - 1] == L'"')
            value = value.Mid(1, value.GetLength() - 2);
        long long number = 0;
        // The first of two keys with one name is the one that counts.
        if (key.CompareNoCase(L"NumberOfEntries") == 0 && !counted) {
            counted = true;
            count = ReadProfileInt(value);
        } else if (ReadEntryNumber(key, number)) {
            numbered.emplace(number, value);
        }
    }
    if (!counted || count == -1)
        return false;
    for (const auto& entry : numbered)
        if (entry.first <= count && !entry.second.IsEmpty())
            entries.push_back(entry.second);
    return true;
}

CString M3uText(const std::vector<CString>& entries, const wchar_t* lineEnd)
{
    CString text;
    for (const CString& entry : entries)
        text += entry + lineEnd;
    return text;
}

std::string ComposeM3uText(const std::vector<CString>& entries, const wchar_t* lineEnd)
{
    return EncodeListText(M3uText(entries, lineEnd));
}

CString PlsText(const std::string& oldBytes, const std::vector<CString>& entries)
{
    CString text;
    bool inSection = false;
    for (const CListTextLine& line : SplitListText(oldBytes)) {
        CString name;
        // A broken line is dropped: written again it could read as something else.
        if (!line.intact)
            continue;
        if (ReadSectionHeader(line.text, name))
            inSection = name.CompareNoCase(kSection) == 0;
        if (!inSection)
            text += line.text + L"\r\n";
    }
    text += L"[Playlist]\r\n";
    text.AppendFormat(L"NumberOfEntries=%d\r\n", int(entries.size()));
    for (size_t i = 0; i < entries.size(); i++)
        text.AppendFormat(L"File%d=%s\r\n", int(i + 1), entries[i].GetString());
    return text;
}

std::string ComposePlsText(const std::string& oldBytes, const std::vector<CString>& entries)
{
    return EncodeListText(PlsText(oldBytes, entries));
}

bool EncodeCodePageListText(const CString& text, std::string& bytes)
{
    // A text that starts like a byte-order mark would be read in another encoding.
    return ToCodePage(text, bytes) && !StartsWith(bytes, kUtf8Mark) && !StartsWith(bytes, "\xFF\xFE") &&
           !StartsWith(bytes, "\xFE\xFF");
}

std::string EncodeListText(const CString& text)
{
    std::string bytes;
    if (EncodeCodePageListText(text, bytes))
        return bytes;
    return kUtf8Mark + text.ToUtf8();
}
