#include "PlaylistFiles.h"

#include <cstdlib>
#include <map>
#include <vector>

#include <pugixml.hpp>

#include "CrImage.h"
#include "PlaylistItem.h"
#include "SettingsValues.h"
#include "ViewerFiles.h"

namespace {

const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kMaxM3uLine = 4095;
constexpr int kMaxPlsValue = 1023;

std::string Utf8(const CString& text) { return text.ToUtf8(); }
CString FromUtf8(const char* text) { return CString::FromUtf8(text); }

// ---- text files in the system code page (a byte-order mark picks UTF-8 or UTF-16) ----

CString DecodeText(const std::string& bytes)
{
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return CString::FromUtf8(bytes.c_str() + 3, int(bytes.size() - 3));
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE) {
        CString text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            uint32_t unit = uint8_t(bytes[i]) | uint32_t(uint8_t(bytes[i + 1])) << 8;
            text.AppendChar(wchar_t(unit));
        }
        return text;
    }
    return ViewerFiles::FromSystemCodePage(bytes);
}

CString TrimBlanks(CString text) { return text.Trim(L" \t\r\n"); }

// ---- ".pls": the INI subset the playlist needs ----

struct IniLine {
    CString text;
    CString section;   // the section the line belongs to ("" before the first header)
};

std::vector<IniLine> ReadIniLines(const CString& path)
{
    std::vector<IniLine> lines;
    std::string bytes;
    if (!ViewerFiles::ReadAll(path, bytes))
        return lines;
    CString text = DecodeText(bytes);
    CString section;
    int start = 0;
    while (start <= text.GetLength()) {
        int end = text.Find(L'\n', start);
        if (end < 0)
            end = text.GetLength();
        CString line = text.Mid(start, end - start);
        line.TrimRight(L"\r");
        CString trimmed = TrimBlanks(line);
        if (trimmed.GetLength() >= 2 && trimmed[0] == L'[' && trimmed.Find(L']') > 0)
            section = TrimBlanks(trimmed.Mid(1, trimmed.Find(L']') - 1));
        if (end < text.GetLength() || !line.IsEmpty())
            lines.push_back(IniLine{line, section});
        start = end + 1;
    }
    return lines;
}

// The keys of one section, names upper-cased, values without blanks or enclosing quotes.
std::map<CString, CString> ReadIniSection(const std::vector<IniLine>& lines, const wchar_t* section)
{
    std::map<CString, CString> values;
    for (const IniLine& line : lines) {
        if (line.section.CompareNoCase(section) != 0)
            continue;
        int equals = line.text.Find(L'=');
        CString trimmed = TrimBlanks(line.text);
        if (equals < 0 || trimmed.IsEmpty() || trimmed[0] == L';' || trimmed[0] == L'[')
            continue;
        CString key = TrimBlanks(line.text.Left(equals));
        CString value = TrimBlanks(line.text.Mid(equals + 1));
        if (value.GetLength() >= 2 && value[0] == L'"' && value[value.GetLength() - 1] == L'"')
            value = value.Mid(1, value.GetLength() - 2);
        key.MakeUpper();
        if (values.find(key) == values.end())
            values[key] = value;
    }
    return values;
}

// A profile integer: optional sign and the leading digits; 0 when there are none.
long long ParseIniInt(const CString& text)
{
    std::string narrow = text.ToUtf8();
    return std::strtoll(narrow.c_str(), nullptr, 10);
}

// ---- ".playlist" ----

void ReadIntAttribute(const pugi::xml_node& node, const char* name, int& field)
{
    if (pugi::xml_attribute attribute = node.attribute(name))
        field = attribute.as_int(field);
}

bool AddIntAttribute(pugi::xml_node& node, const char* name, long long value)
{
    pugi::xml_attribute attribute = node.append_attribute(name);
    return attribute && attribute.set_value(value);
}

bool AddTextChild(pugi::xml_node& parent, const char* name, const CString& text)
{
    pugi::xml_node child = parent.append_child(name);
    return child && child.text().set(Utf8(text).c_str());
}

// A stored item whose facts cannot be true is read again from its GIF.
void ForgetImplausibleFacts(CPlaylistItem& item)
{
    if (!item.HasImplausibleFacts())
        return;
    item.Width = item.Height = item.FrameCount = item.Duration = 0;
    item.Size = 0;
    item.State = ITEM_NEW;
}

bool WriteThumbnail(pugi::xml_node& xmlItem, CPlaylistItem& item, bool embed)
{
    if (item.m_thumbnail.IsValid() && embed) {
        CString text;
        if (EncodeThumbnail(item.m_thumbnail, text) == 0 && !text.IsEmpty())
            return AddTextChild(xmlItem, "Thumbnail", text);
        return true;
    }
    if (item.m_thumbnail.IsValid()) {
        if (item.ThumbnailFile.IsEmpty())
            item.ThumbnailFile = ViewerSettings().NewTempFilePath();
        // An empty file is one the system made for us to fill.
        if (!item.ThumbnailFile.IsEmpty() && ViewerFiles::FileSize(item.ThumbnailFile) <= 0)
            item.m_thumbnail.Save(item.ThumbnailFile, CRIMAGE_FORMAT_JPG);
    }
    if (!item.ThumbnailFile.IsEmpty())
        return AddTextChild(xmlItem, "ThumbnailFile", item.ThumbnailFile);
    return true;
}

bool WriteItem(pugi::xml_node& list, CPlaylistItem& item, bool embed)
{
    pugi::xml_node node = list.append_child("Item");
    if (!node)
        return false;
    bool ok = AddIntAttribute(node, "State", item.State) && AddIntAttribute(node, "Width", item.Width) &&
              AddIntAttribute(node, "Height", item.Height) && AddIntAttribute(node, "FrameCount", item.FrameCount) &&
              AddIntAttribute(node, "Duration", item.Duration) && AddIntAttribute(node, "Size", item.Size) &&
              AddIntAttribute(node, "LoopCount", item.LoopCount) && AddTextChild(node, "File", item.m_strPath) &&
              WriteThumbnail(node, item, embed);
    if (!ok)
        return false;
    pugi::xml_node filters = node.append_child("Filters");
    return filters && AddIntAttribute(filters, "Reverse", item.Reverse != 0) &&
           AddIntAttribute(filters, "FlipHorz", item.FlipHorz != 0) &&
           AddIntAttribute(filters, "FlipVert", item.FlipVert != 0) &&
           AddIntAttribute(filters, "RotateLeft", item.RotateLeft != 0) &&
           AddIntAttribute(filters, "RotateRight", item.RotateRight != 0) &&
           AddIntAttribute(filters, "Negative", item.Negate != 0);
}

struct StringWriter : pugi::xml_writer {
    std::string bytes;
    void write(const void* data, size_t size) override { bytes.append(static_cast<const char*>(data), size); }
};

} // namespace

// ---- CPlaylist ----

CPlaylist::~CPlaylist() { DeleteAll(); }

CPlaylistItem* CPlaylist::GetAt(int index) const
{
    return index >= 0 && index < m_items.GetSize() ? m_items[index] : nullptr;
}

CPlaylistItem* CPlaylist::AddNew(const CString& path)
{
    CPlaylistItem* item = new CPlaylistItem;
    if (item->Open(path) != 0) {
        delete item;
        return nullptr;
    }
    m_items.Add(item);
    return item;
}

void CPlaylist::DeleteAll()
{
    for (CPlaylistItem* item : m_items)
        delete item;
    m_items.RemoveAll();
}

// ---- dispatch ----

bool IsPlaylistFile(const CString& path)
{
    CString extension = ViewerFiles::LowerExtension(path);
    return extension == L".playlist" || extension == L".m3u" || extension == L".pls";
}

int LoadPlaylistFile(const CString& path, CPlaylist& playlist)
{
    if (!ViewerFiles::FileExists(path))
        return -1;
    CString extension = ViewerFiles::LowerExtension(path);
    if (extension == L".playlist")
        return LoadXmlPlaylist(path, playlist);
    if (extension == L".m3u")
        return LoadM3uPlaylist(path, playlist);
    if (extension == L".pls")
        return LoadPlsPlaylist(path, playlist);
    return -1;
}

int SavePlaylistFile(const CString& path, const CString& type, CPlaylist& playlist, bool embed)
{
    CString kind = type;
    kind.MakeLower();
    kind.TrimLeft(L'.');
    if (kind == L"playlist")
        return SaveXmlPlaylist(path, playlist, embed);
    if (kind == L"m3u")
        return SaveM3uPlaylist(path, playlist);
    if (kind == L"pls")
        return SavePlsPlaylist(path, playlist);
    return -1;
}

// ---- ".playlist" ----

int LoadXmlPlaylist(const CString& path, CPlaylist& playlist)
{
    std::string bytes;
    if (!ViewerFiles::ReadAll(path, bytes))
        return -1;
    pugi::xml_document document;
    if (!document.load_buffer(bytes.data(), bytes.size()))
        return -1;
    pugi::xml_node list = document.child("Playlists").child("Playlist");
    if (!list)
        return -1;
    ReadIntAttribute(list, "Flags", playlist.Flags);
    if (pugi::xml_node title = list.child("Title"))
        playlist.Title = FromUtf8(title.text().get());
    if (pugi::xml_node artwork = list.child("ArtworkFile"))
        playlist.ArtworkFile = FromUtf8(artwork.text().get());

    for (pugi::xml_node node = list.child("Item"); node; node = node.next_sibling("Item")) {
        pugi::xml_node file = node.child("File");
        if (!file)
            continue;
        CPlaylistItem* item = new CPlaylistItem;
        int state = item->State;
        ReadIntAttribute(node, "State", state);
        item->State = state;
        ReadIntAttribute(node, "Width", item->Width);
        ReadIntAttribute(node, "Height", item->Height);
        ReadIntAttribute(node, "FrameCount", item->FrameCount);
        ReadIntAttribute(node, "Duration", item->Duration);
        if (pugi::xml_attribute size = node.attribute("Size"))
            item->Size = size.as_llong(item->Size);
        ReadIntAttribute(node, "LoopCount", item->LoopCount);
        ForgetImplausibleFacts(*item);
        item->m_strPath = FromUtf8(file.text().get());
        pugi::xml_node thumbnail = node.child("Thumbnail");
        if (thumbnail) {
            if (*thumbnail.text().get())
                DecodeThumbnail(FromUtf8(thumbnail.text().get()), item->m_thumbnail);
        } else if (pugi::xml_node thumbnailFile = node.child("ThumbnailFile")) {
            item->ThumbnailFile = FromUtf8(thumbnailFile.text().get());
        }
        if (pugi::xml_node filters = node.child("Filters")) {
            ReadIntAttribute(filters, "Reverse", item->Reverse);
            ReadIntAttribute(filters, "FlipHorz", item->FlipHorz);
            ReadIntAttribute(filters, "FlipVert", item->FlipVert);
            ReadIntAttribute(filters, "RotateLeft", item->RotateLeft);
            ReadIntAttribute(filters, "RotateRight", item->RotateRight);
            // Written as "Negative"; lists of older versions say "Negate".
            ReadIntAttribute(filters, filters.attribute("Negative") ? "Negative" : "Negate", item->Negate);
        }
        playlist.m_items.Add(item);
    }
    return 0;
}

int SaveXmlPlaylist(const CString& path, CPlaylist& playlist, bool embed)
{
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    if (!declaration)
        return -1;
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child("Playlists");
    if (!root)
        return -1;
    root.append_attribute("Version") = "1.2.0";
    root.append_attribute("Generator") = "Brenmoor - Sorvik";
    pugi::xml_node list = root.append_child("Playlist");
    if (!list)
        return -1;
    if (playlist.Flags != 0 && !AddIntAttribute(list, "Flags", playlist.Flags))
        return -1;
    if (!playlist.Title.IsEmpty() && !AddTextChild(list, "Title", playlist.Title))
        return -1;
    if (!playlist.ArtworkFile.IsEmpty() && !AddTextChild(list, "ArtworkFile", playlist.ArtworkFile))
        return -1;
    for (int i = 0; i < playlist.GetCount(); i++)
        if (!WriteItem(list, *playlist.GetAt(i), embed))
            return -1;
    StringWriter writer;
    document.save(writer, "\t", pugi::format_default, pugi::encoding_utf8);
    return ViewerFiles::WriteReplacing(path, writer.bytes);
}

// ---- ".m3u" ----

int LoadM3uPlaylist(const CString& path, CPlaylist& playlist)
{
    FILE* file = ViewerFiles::Open(path, "rb");
    if (!file)
        return -1;
    // Entries given relative to the list are found beside it.
    const CString folder = ViewerFiles::FolderPart(path);
    bool first = true;
    std::vector<char> buffer(kMaxM3uLine + 1);
    bool utf8 = false;
    while (fgets(buffer.data(), int(buffer.size()), file)) {
        std::string bytes(buffer.data());
        if (first && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            utf8 = true;
            bytes.erase(0, 3);
        }
        first = false;
        CString line = utf8 ? CString::FromUtf8(bytes.c_str()) : ViewerFiles::FromSystemCodePage(bytes);
        line.TrimLeft(L" \t");
        if (line.IsEmpty() || line[0] == L'#')
            continue;
        line.TrimRight(L" \t\r\n");
        if (line.IsEmpty())
            continue;
        CPlaylistItem* item = new CPlaylistItem;
        item->m_strPath = ViewerFiles::IsRelative(line) && !folder.IsEmpty() ? ViewerFiles::JoinPath(folder, line) : line;
        playlist.m_items.Add(item);
    }
    fclose(file);
    return 0;
}

int SaveM3uPlaylist(const CString& path, CPlaylist& playlist)
{
    std::string bytes;
    for (int i = 0; i < playlist.GetCount(); i++) {
        bytes += ViewerFiles::ToSystemCodePage(playlist.GetAt(i)->m_strPath);
        bytes += '\n';
    }
    return ViewerFiles::WriteReplacing(path, bytes);
}

// ---- ".pls" ----

int LoadPlsPlaylist(const CString& path, CPlaylist& playlist)
{
    if (!ViewerFiles::FileExists(path))
        return -1;
    std::map<CString, CString> values = ReadIniSection(ReadIniLines(path), L"Playlist");
    auto count = values.find(L"NUMBEROFENTRIES");
    long long entries = count == values.end() ? -1 : ParseIniInt(count->second);
    if (entries == -1)
        return -1;
    // The count may claim more entries than the file has: only numbers present are looked at.
    long long highest = 0;
    for (const auto& value : values) {
        if (value.first.Left(4) != L"FILE")
            continue;
        CString digits = value.first.Mid(4);
        if (!digits.IsEmpty() && digits.SpanIncluding(L"0123456789") == digits) {
            long long number = ParseIniInt(digits);
            if (number > highest)
                highest = number;
        }
    }
    if (entries > highest)
        entries = highest;
    for (long long i = 1; i <= entries; i++) {
        CString key;
        key.Format(L"FILE%I64d", i);
        auto entry = values.find(key);
        if (entry == values.end())
            continue;
        CString file = TrimBlanks(entry->second.Left(kMaxPlsValue));
        if (file.IsEmpty())
            continue;
        CPlaylistItem* item = new CPlaylistItem;
        item->m_strPath = file;
        playlist.m_items.Add(item);
    }
    return 0;
}

int SavePlsPlaylist(const CString& path, CPlaylist& playlist)
{
    // Other sections of an existing file stay; the "Playlist" section is written anew.
    CString text;
    for (const IniLine& line : ReadIniLines(path))
        if (line.section.CompareNoCase(L"Playlist") != 0)
            text += line.text + L"\r\n";
    text += L"[Playlist]\r\n";
    text.AppendFormat(L"NumberOfEntries=%d\r\n", playlist.GetCount());
    for (int i = 0; i < playlist.GetCount(); i++)
        text.AppendFormat(L"File%d=%s\r\n", i + 1, playlist.GetAt(i)->m_strPath.GetString());
    return ViewerFiles::WriteReplacing(path, ViewerFiles::ToSystemCodePage(text));
}

// ---- Base64 and thumbnails ----

size_t Base64Encode(const uint8_t* bytes, size_t length, char* output)
{
    size_t out = 0;
    for (size_t i = 0; i < length; i += 3) {
        uint32_t group = uint32_t(bytes[i]) << 16;
        if (i + 1 < length)
            group |= uint32_t(bytes[i + 1]) << 8;
        if (i + 2 < length)
            group |= bytes[i + 2];
        output[out++] = kBase64Alphabet[(group >> 18) & 63];
        output[out++] = kBase64Alphabet[(group >> 12) & 63];
        output[out++] = i + 1 < length ? kBase64Alphabet[(group >> 6) & 63] : '=';
        output[out++] = i + 2 < length ? kBase64Alphabet[group & 63] : '=';
    }
    return out;
}

size_t Base64Decode(const char* text, size_t length, uint8_t* output)
{
    size_t out = 0;
    uint32_t bits = 0;
    int count = 0;
    for (size_t i = 0; i < length; i++) {
        char c = text[i];
        int value;
        if (c >= 'A' && c <= 'Z')
            value = c - 'A';
        else if (c >= 'a' && c <= 'z')
            value = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            value = c - '0' + 52;
        else if (c == '+')
            value = 62;
        else if (c == '/')
            value = 63;
        else
            break;   // "=" or anything outside the alphabet ends the data
        bits = bits << 6 | uint32_t(value);
        if (++count == 4) {
            output[out++] = uint8_t(bits >> 16);
            output[out++] = uint8_t(bits >> 8);
            output[out++] = uint8_t(bits);
            bits = 0;
            count = 0;
        }
    }
    if (count == 2) {
        output[out++] = uint8_t(bits >> 4);
    } else if (count == 3) {
        output[out++] = uint8_t(bits >> 10);
        output[out++] = uint8_t(bits >> 2);
    }
    return out;
}

int EncodeThumbnail(CrImage& image, CString& text)
{
    text.Empty();
    if (!image.IsValid())
        return -1;
    uint8_t* buffer = nullptr;
    int32_t size = 0;
    if (!image.Encode(&buffer, &size, CRIMAGE_FORMAT_JPG) || !buffer || size <= 0) {
        free(buffer);
        return -1;
    }
    std::string encoded((size_t(size) + 2) / 3 * 4, '\0');
    encoded.resize(Base64Encode(buffer, size_t(size), &encoded[0]));
    free(buffer);
    if (encoded.empty())
        return -1;
    text = CString::FromUtf8(encoded.c_str());
    return 0;
}

int DecodeThumbnail(const CString& text, CrImage& image)
{
    if (text.IsEmpty())
        return -1;
    std::string narrow = text.ToUtf8();
    std::vector<uint8_t> bytes(narrow.size() * 6 / 8 + 8);
    size_t size = Base64Decode(narrow.data(), narrow.size(), bytes.data());
    if (size == 0 || size > 0x7FFFFFFF)
        return -1;
    return image.Decode(bytes.data(), uint32_t(size), CRIMAGE_FORMAT_JPG) ? 0 : -1;
}
