#include "MediaFormatsXml.h"

#include <pugixml.hpp>

#include "CatalogFiles.h"
#include "MediaFormatting.h"
#include "XmlFields.h"

namespace {

const char kGenerator[] = "Brenmoor Talvena";

// Values outside these ranges come from a damaged or foreign file; such a preset is left out.
constexpr int kMaxDimension = 16384;
constexpr int kMaxRatePart = 10000000;
constexpr int kMaxChannels = 64;
constexpr int kMaxSampleRate = 1000000;
// Of the stored stream flags only these bits mean anything.
constexpr uint32_t kStreamFlags = MEDIA_SAME_QUALITY | MEDIA_NO_STREAM | MEDIA_STREAM_LOCKED;
// A preset's own flags must not claim streams (they are merged with the format's) or the
// custom mark (that belongs to the custom preset alone).
constexpr uint32_t kNotStoredPresetFlags = MEDIA_FORMAT_VIDEO | MEDIA_FORMAT_AUDIO | MEDIA_PRESET_CUSTOM;

CString Text(const pugi::xml_attribute& attribute)
{
    return CString::FromUtf8(attribute.as_string(""));
}

void ReadText(wchar_t (&field)[MEDIA_PRESET_TEXT], const pugi::xml_node& node, const char* name)
{
    SetPresetText(field, Text(node.attribute(name)));
}

bool InRange(int value, int limit)
{
    return value >= 0 && value <= limit;
}

// Only the hidden bit of a stored group or format flag set is the user's; the rest is structure.
void ReadHiddenFlag(uint32_t& flags, const pugi::xml_node& node)
{
    const pugi::xml_attribute attribute = node.attribute("Flags");
    if (attribute)
        flags = (flags & ~MEDIA_ITEM_HIDDEN) | (attribute.as_uint(flags) & MEDIA_ITEM_HIDDEN);
}

// A display name the file leaves out keeps the built-in one.
void ReadName(CString& name, const pugi::xml_node& node)
{
    const pugi::xml_attribute attribute = node.attribute("Name");
    if (attribute)
        name = Text(attribute);
}

int ClampIndex(int index, size_t count)
{
    return index < 0 || static_cast<size_t>(index) >= count ? 0 : index;
}

bool ReadVideo(const pugi::xml_node& node, MEDIA_PRESET_SETTINGS& s)
{
    s.videoFlags = node.attribute("Flags").as_uint(0) & kStreamFlags;
    ReadText(s.videoCodec, node, "Codec");
    ReadPair(node, "Resolution", L"%dx%d", s.width, s.height);
    ReadPair(node, "Aspect", L"%d/%d", s.aspectNum, s.aspectDen);
    ReadPair(node, "FrameRate", L"%d/%d", s.rateNum, s.rateDen);
    s.videoBitRate = node.attribute("BitRate").as_int(0);
    ReadText(s.videoPreset, node, "Preset");
    return InRange(s.width, kMaxDimension) && InRange(s.height, kMaxDimension) &&
           InRange(s.aspectNum, kMaxDimension) && InRange(s.aspectDen, kMaxDimension) &&
           InRange(s.rateNum, kMaxRatePart) && InRange(s.rateDen, kMaxRatePart) && s.videoBitRate >= 0;
}

bool ReadAudio(const pugi::xml_node& node, MEDIA_PRESET_SETTINGS& s)
{
    s.audioFlags = node.attribute("Flags").as_uint(0) & kStreamFlags;
    ReadText(s.audioCodec, node, "Codec");
    s.channels = node.attribute("Channels").as_int(0);
    s.sampleRate = node.attribute("SampleRate").as_int(0);
    s.audioBitRate = node.attribute("BitRate").as_int(0);
    ReadText(s.audioPreset, node, "Preset");
    return InRange(s.channels, kMaxChannels) && InRange(s.sampleRate, kMaxSampleRate) && s.audioBitRate >= 0;
}

// A codec id the format does not offer is only acceptable where a built-in preset of the
// format names it too, so the program's own presets come back exactly as they were written.
bool MissingEntriesAreBuiltin(const CMediaFormatInfo& format, const CMediaPreset& preset)
{
    const MEDIA_PRESET_SETTINGS& s = preset.m_settings;
    if (format.HasVideo() && !preset.m_videoCodec && !format.IsBuiltinCodecId(s.videoCodec, true))
        return false;
    if (format.HasAudio() && !preset.m_audioCodec && !format.IsBuiltinCodecId(s.audioCodec, false))
        return false;
    return true;
}

void SetText(pugi::xml_node& node, const char* name, const CString& value)
{
    node.append_attribute(name).set_value(value.ToUtf8().c_str());
}

void SetPair(pugi::xml_node& node, const char* name, const wchar_t* format, int first, int second)
{
    SetText(node, name, FormatPair(first, second, format));
}

} // namespace

int CMediaFormatsXml::Read(const CString& path, CMediaFormatCatalog& catalog)
{
    pugi::xml_document document;
    if (!LoadXmlDocument(path, document))
        return -1;
    const pugi::xml_node root = document.child("MediaFormats");
    if (!root)
        return -1;
    if (CString::FromUtf8(root.attribute("Version").as_string("")).Compare(catalog.m_version) != 0)
        return 1;
    for (const auto& group : catalog.m_groups) {
        const pugi::xml_node node = root.child(group->m_id.ToUtf8().c_str());
        if (!node)
            return -1;
        ReadGroup(*group, node);
    }
    return 0;
}

void CMediaFormatsXml::ReadGroup(CMediaFormatGroup& group, const pugi::xml_node& node)
{
    ReadName(group.m_name, node);
    ReadHiddenFlag(group.m_flags, node);
    group.m_defaultFormat = node.attribute("DefaultCodec").as_int(group.m_defaultFormat);
    for (const auto& format : group.m_formats) {
        const pugi::xml_node child = node.child(format->m_id.ToUtf8().c_str());
        if (child)
            ReadFormat(*format, child);
    }
    group.m_defaultFormat = ClampIndex(group.m_defaultFormat, group.m_formats.size());
}

void CMediaFormatsXml::ReadFormat(CMediaFormatInfo& format, const pugi::xml_node& node)
{
    ReadName(format.m_name, node);
    ReadHiddenFlag(format.m_flags, node);
    format.m_defaultPreset = node.attribute("DefaultFormat").as_int(format.m_defaultPreset);
    format.ClearPresets();
    for (pugi::xml_node child = node.child("PresetFormat"); child; child = child.next_sibling("PresetFormat"))
        ReadPreset(format, nullptr, child);
    format.m_defaultPreset = ClampIndex(format.m_defaultPreset, format.m_presets.size());
    const pugi::xml_node custom = node.child("CustomFormat");
    if (custom && format.m_customPreset)
        ReadPreset(format, format.m_customPreset.get(), custom);
}

bool CMediaFormatsXml::ReadPreset(CMediaFormatInfo& format, CMediaPreset* existing, const pugi::xml_node& node)
{
    MEDIA_PRESET_SETTINGS s = MEDIA_PRESET_SETTINGS();
    ReadText(s.name, node, "Name");
    s.flags = node.attribute("Flags").as_uint(0) & ~kNotStoredPresetFlags;
    if (format.HasVideo()) {
        const pugi::xml_node video = node.child("Video");
        if (!video || !ReadVideo(video, s))
            return false;
    }
    if (format.HasAudio()) {
        const pugi::xml_node audio = node.child("Audio");
        if (!audio || !ReadAudio(audio, s))
            return false;
    }
    if (existing) {
        s.flags |= existing->m_settings.flags & MEDIA_PRESET_CUSTOM;
        return existing->SetSettings(s) != 0;
    }
    auto preset = std::make_unique<CMediaPreset>(&format);
    if (preset->SetSettings(s) == 0 && !MissingEntriesAreBuiltin(format, *preset))
        return false;
    format.m_presets.push_back(std::move(preset));
    return true;
}

int CMediaFormatsXml::Write(const CString& path, const CMediaFormatCatalog& catalog)
{
    if (path.IsEmpty())
        return -1;
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    pugi::xml_node root = document.append_child("MediaFormats");
    if (!declaration || !root)
        return -1;
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    SetText(root, "Version", catalog.m_version);
    root.append_attribute("Generator").set_value(kGenerator);
    for (const auto& group : catalog.m_groups) {
        if (!WriteGroup(root, *group))
            return -1;
    }
    const CString temporary = path + L".tmp";
    if (!document.save_file(ToFsPath(temporary).c_str(), "\t", pugi::format_default,
                            pugi::encoding_utf8) ||
        CatalogFiles::Replace(temporary, path) != 0) {
        CatalogFiles::Remove(temporary);
        return -1;
    }
    return 0;
}

bool CMediaFormatsXml::WriteGroup(pugi::xml_node& parent, const CMediaFormatGroup& group)
{
    pugi::xml_node node = parent.append_child(group.m_id.ToUtf8().c_str());
    if (!node)
        return false;
    SetText(node, "Name", group.m_name);
    node.append_attribute("Flags").set_value(static_cast<unsigned>(group.m_flags));
    node.append_attribute("DefaultCodec").set_value(static_cast<int>(group.m_defaultFormat));
    for (const auto& format : group.m_formats) {
        if (!WriteFormat(node, *format))
            return false;
    }
    return true;
}

bool CMediaFormatsXml::WriteFormat(pugi::xml_node& parent, const CMediaFormatInfo& format)
{
    pugi::xml_node node = parent.append_child(format.m_id.ToUtf8().c_str());
    if (!node)
        return false;
    SetText(node, "Name", format.m_name);
    node.append_attribute("Flags").set_value(static_cast<unsigned>(format.m_flags));
    node.append_attribute("DefaultFormat").set_value(static_cast<int>(format.m_defaultPreset));
    for (const auto& preset : format.m_presets) {
        if (!WritePreset(node, "PresetFormat", format, *preset))
            return false;
    }
    return !format.m_customPreset || WritePreset(node, "CustomFormat", format, *format.m_customPreset);
}

bool CMediaFormatsXml::WritePreset(pugi::xml_node& parent, const char* element, const CMediaFormatInfo& format,
                                   const CMediaPreset& preset)
{
    const MEDIA_PRESET_SETTINGS& s = preset.m_settings;
    pugi::xml_node node = parent.append_child(element);
    if (!node)
        return false;
    SetText(node, "Name", s.name);
    node.append_attribute("Flags").set_value(static_cast<unsigned>(s.flags));
    // Written whenever the format carries the stream, also for a preset whose codec id names no
    // entry of the format, so that such a built-in preset is not lost on the next start.
    if (format.HasVideo()) {
        pugi::xml_node video = node.append_child("Video");
        if (!video)
            return false;
        video.append_attribute("Flags").set_value(static_cast<unsigned>(s.videoFlags));
        SetText(video, "Codec", preset.m_videoCodec ? preset.m_videoCodec->m_id : CString(s.videoCodec));
        SetPair(video, "Resolution", L"%dx%d", s.width, s.height);
        SetPair(video, "Aspect", L"%d/%d", s.aspectNum, s.aspectDen);
        SetPair(video, "FrameRate", L"%d/%d", s.rateNum, s.rateDen);
        video.append_attribute("BitRate").set_value(static_cast<int>(s.videoBitRate));
        SetText(video, "Preset", s.videoPreset);
    }
    if (format.HasAudio()) {
        pugi::xml_node audio = node.append_child("Audio");
        if (!audio)
            return false;
        audio.append_attribute("Flags").set_value(static_cast<unsigned>(s.audioFlags));
        SetText(audio, "Codec", preset.m_audioCodec ? preset.m_audioCodec->m_id : CString(s.audioCodec));
        audio.append_attribute("Channels").set_value(static_cast<int>(s.channels));
        audio.append_attribute("SampleRate").set_value(static_cast<int>(s.sampleRate));
        audio.append_attribute("BitRate").set_value(static_cast<int>(s.audioBitRate));
        SetText(audio, "Preset", s.audioPreset);
    }
    return true;
}
