#include "PlaylistFiles.h"

#include <cstdlib>
#include <vector>

#include <pugixml.hpp>

#include "CrImage.h"
#include "ListText.h"
#include "PlaylistItem.h"
#include "SettingsValues.h"
#include "ViewerFiles.h"

namespace {

const char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Utf8(const CString& text) { return text.ToUtf8(); }

// Items for the entries that can name a file, relative ones found beside the list.
void AddListEntries(const std::vector<CString>& entries, const CString& listPath, CPlaylist& playlist)
{
    for (const CString& entry : entries) {
        const CString path = ResolveListEntry(listPath, entry);
        if (!IsListEntryPath(path))
            continue;
        CPlaylistItem* item = new CPlaylistItem;
        item->m_strPath = path;
        playlist.m_items.Add(item);
    }
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

// XML has no NUL, but a NUL unit ends the parser's text early and so would make a path shorter:
// each becomes U+0001, which no path holds, in the document's own unit width and byte order.
bool MaskNulUnits(std::string& bytes, pugi::xml_encoding encoding)
{
    const bool wide32 = encoding == pugi::encoding_utf32_le || encoding == pugi::encoding_utf32_be;
    const bool wide16 = encoding == pugi::encoding_utf16_le || encoding == pugi::encoding_utf16_be;
    const bool bigEndian = encoding == pugi::encoding_utf16_be || encoding == pugi::encoding_utf32_be;
    const size_t width = wide32 ? 4 : wide16 ? 2 : 1;
    bool masked = false;
    for (size_t at = 0; at + width <= bytes.size(); at += width) {
        bool zero = true;
        for (size_t k = 0; k < width; k++)
            zero = zero && bytes[at + k] == 0;
        if (zero) {
            bytes[bigEndian ? at + width - 1 : at] = 1;
            masked = true;
        }
    }
    return masked;
}

// A reference between "&" and ";": 1 decoded, 0 no reference (the "&" stands for itself), -1 a
// reference that names no character.
int DecodeReference(const CString& name, CString& out)
{
    static const struct { const wchar_t* name; wchar_t ch; } kNamed[] = {
        {L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}, {L"quot", L'"'}, {L"apos", L'\''}};
    for (const auto& named : kNamed)
        if (name == named.name) {
            out += named.ch;
            return 1;
        }
    if (name.IsEmpty() || name[0] != L'#')
        return 0;
    const bool hex = name.GetLength() > 1 && (name[1] == L'x' || name[1] == L'X');
    const CString digits = name.Mid(hex ? 2 : 1);
    uint32_t value = 0;
    for (int i = 0; i < digits.GetLength() && value <= 0x10FFFF; i++) {
        const wchar_t c = digits[i];
        const int digit = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10
                        : c >= L'A' && c <= L'F' ? c - L'A' + 10 : 99;
        if (digit >= (hex ? 16 : 10))
            return -1;
        value = value * (hex ? 16 : 10) + uint32_t(digit);
    }
    if (digits.IsEmpty() || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000))
        return -1;
    if (sizeof(wchar_t) == 2 && value >= 0x10000) {
        out += wchar_t(0xD800 + ((value - 0x10000) >> 10));
        out += wchar_t(0xDC00 + ((value - 0x10000) & 0x3FF));
    } else {
        out += wchar_t(value);
    }
    return 1;
}

// Character data as written, with its references decoded; false for a reference to no character.
bool DecodeCharacterData(const CString& raw, CString& out)
{
    // Longest reference looked for, so that a text full of "&" costs no more than its length.
    constexpr int kLongestName = 32;
    for (int i = 0; i < raw.GetLength(); i++) {
        int end = -1;
        for (int j = i + 1; raw[i] == L'&' && end < 0 && j < raw.GetLength() && j <= i + kLongestName + 1; j++)
            if (raw[j] == L';')
                end = j;
        int decoded = end < 0 ? 0 : DecodeReference(raw.Mid(i + 1, end - i - 1), out);
        if (decoded < 0)
            return false;
        if (decoded == 0)
            out += raw[i];
        else
            i = end;
    }
    return true;
}

// The whole text of an element: every piece of text and CDATA in order (a comment between two
// pieces does not cut it). False when an element stands inside or a reference names no character.
bool ReadElementText(const pugi::xml_node& node, CString& text)
{
    text.Empty();
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            return false;
        if (child.type() == pugi::node_cdata)
            text += CString::FromUtf8(child.value());
        else if (child.type() == pugi::node_pcdata && !DecodeCharacterData(CString::FromUtf8(child.value()), text))
            return false;
    }
    return true;
}

// The text of a child that names a file; empty when it cannot be a path.
CString ReadPathChild(const pugi::xml_node& parent, const char* name)
{
    CString path;
    if (!ReadElementText(parent.child(name), path) || !IsListEntryPath(path))
        path.Empty();
    return path;
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
    // The list names its thumbnail files, so a stored path is never written, only read: an item
    // without a file that holds something gets a new one of the viewer's own folder.
    if (item.m_thumbnail.IsValid() && ViewerFiles::FileSize(item.ThumbnailFile) <= 0) {
        item.ThumbnailFile = ViewerSettings().NewTempFilePath();
        if (!item.ThumbnailFile.IsEmpty())
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
    return ReadXmlPlaylist(bytes, playlist);
}

int ReadXmlPlaylist(std::string bytes, CPlaylist& playlist)
{
    // References are decoded here, not by the parser, which would cut a text at a "&#0;".
    const unsigned int options = pugi::parse_default & ~pugi::parse_escapes;
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_buffer(bytes.data(), bytes.size(), options);
    if (MaskNulUnits(bytes, parsed.encoding))
        parsed = document.load_buffer(bytes.data(), bytes.size(), options, parsed.encoding);
    pugi::xml_node list = document.child("Playlists").child("Playlist");
    if (!parsed || !list)
        return -1;
    ReadIntAttribute(list, "Flags", playlist.Flags);
    CString text;
    if (list.child("Title") && ReadElementText(list.child("Title"), text))
        playlist.Title = text;
    if (list.child("ArtworkFile"))
        playlist.ArtworkFile = ReadPathChild(list, "ArtworkFile");

    for (pugi::xml_node node = list.child("Item"); node; node = node.next_sibling("Item")) {
        // An item whose file cannot be a path is left out, like one without a file.
        CString file = ReadPathChild(node, "File");
        if (file.IsEmpty())
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
        item->m_strPath = file;
        if (pugi::xml_node thumbnail = node.child("Thumbnail")) {
            if (ReadElementText(thumbnail, text) && !text.IsEmpty())
                DecodeThumbnail(text, item->m_thumbnail);
        } else {
            item->ThumbnailFile = ReadPathChild(node, "ThumbnailFile");
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

// ---- ".m3u" and ".pls" ----

namespace {

std::vector<CString> ItemPaths(CPlaylist& playlist)
{
    std::vector<CString> paths;
    for (int i = 0; i < playlist.GetCount(); i++)
        paths.push_back(playlist.GetAt(i)->m_strPath);
    return paths;
}

// Lists are written in the system code page; one that it cannot hold is not written at all,
// rather than with paths that would no longer name their files.
int WriteListText(const CString& path, const CString& text)
{
    std::string bytes;
    if (!EncodeCodePageListText(text, bytes))
        return -1;
    return ViewerFiles::WriteReplacing(path, bytes);
}

} // namespace

int LoadM3uPlaylist(const CString& path, CPlaylist& playlist)
{
    std::string bytes;
    if (!ViewerFiles::ReadAll(path, bytes))
        return -1;
    ReadM3uPlaylist(bytes, path, playlist);
    return 0;
}

void ReadM3uPlaylist(const std::string& bytes, const CString& listPath, CPlaylist& playlist)
{
    AddListEntries(ParseM3uText(bytes), listPath, playlist);
}

int SaveM3uPlaylist(const CString& path, CPlaylist& playlist)
{
    return WriteListText(path, M3uText(ItemPaths(playlist), L"\n"));
}

int LoadPlsPlaylist(const CString& path, CPlaylist& playlist)
{
    std::string bytes;
    if (!ViewerFiles::ReadAll(path, bytes))
        return -1;
    return ReadPlsPlaylist(bytes, path, playlist);
}

int ReadPlsPlaylist(const std::string& bytes, const CString& listPath, CPlaylist& playlist)
{
    std::vector<CString> entries;
    if (!ParsePlsText(bytes, entries))
        return -1;
    AddListEntries(entries, listPath, playlist);
    return 0;
}

int SavePlsPlaylist(const CString& path, CPlaylist& playlist)
{
    // Other sections of an existing file stay; the "Playlist" section is written anew.
    std::string old;
    if (ViewerFiles::FileExists(path) && !ViewerFiles::ReadAll(path, old))
        return -1;
    return WriteListText(path, PlsText(old, ItemPaths(playlist)));
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
