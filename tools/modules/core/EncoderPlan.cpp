#include "EncoderPlan.h"

#include <algorithm>
#include <cwchar>

namespace {

// ffmpeg options that take no value; every other option takes the next argument.
const wchar_t* const kFlagOptions[] = {
    L"-y", L"-n", L"-an", L"-vn", L"-sn", L"-dn", L"-shortest", L"-re", L"-nostdin", L"-hide_banner", L"-stats",
    L"-nostats", L"-copyts", L"-start_at_zero", L"-xerror", L"-benchmark", L"-benchmark_all", L"-accurate_seek",
    L"-noaccurate_seek", L"-ignore_unknown", L"-dump", L"-hex",
};

// Codecs and containers that keep the picture format they choose themselves (palette, RGB,
// lossless or fixed by their standard).
const wchar_t* const kOwnPictureFormat[] = {
    L"gif", L"apng", L"png", L"bmp", L"tiff", L"rawvideo", L"huffyuv", L"ffvhuff", L"dvvideo", L"dv",
    L"mjpeg", L"ljpeg", L"jpegls", L"image2", L"image2pipe", L"copy", L"utvideo", L"ffv1", L"qtrle",
};

// Codecs whose quality is a quantiser scale: 2 is close to the source.
const wchar_t* const kScaleQualityCodecs[] = {
    L"mpeg4", L"libxvid", L"msmpeg4", L"msmpeg4v2", L"msmpeg4v1", L"wmv1", L"wmv2", L"h263", L"h263p",
    L"flv", L"mpeg1video", L"mpeg2video", L"mjpeg",
};

// Codecs of this system's catalogue that Debian's ffmpeg has under another name.
struct Rename {
    const wchar_t* from;
    const wchar_t* to;
} const kCodecRenames[] = {{L"libfdk_aac", L"aac"}};

// The video codec ffmpeg picks for a container when the command line names none.
struct DefaultCodec {
    const wchar_t* format;
    const wchar_t* codec;
} const kDefaultVideoCodecs[] = {
    {L"mp4", L"libx264"},  {L"mov", L"libx264"},       {L"3gp", L"h263"},      {L"3g2", L"h263"},
    {L"ipod", L"libx264"}, {L"matroska", L"libx264"},  {L"webm", L"libvpx-vp9"}, {L"avi", L"mpeg4"},
    {L"flv", L"flv"},      {L"asf", L"msmpeg4v3"},     {L"ogg", L"libtheora"}, {L"mpeg", L"mpeg1video"},
    {L"vob", L"mpeg2video"}, {L"dvd", L"mpeg2video"},  {L"mpegts", L"mpeg2video"}, {L"gif", L"gif"},
};

const wchar_t kEvenSizeFilter[] = L"scale=trunc(iw/2)*2:trunc(ih/2)*2";

template <size_t N>
bool IsOneOf(const CString& text, const wchar_t* const (&set)[N])
{
    return std::any_of(set, set + N, [&](const wchar_t* item) { return text == item; });
}

bool IsOption(const CString& arg)
{
    return arg.GetLength() > 1 && arg[0] == L'-';
}

bool IsVideoCodecOption(const CString& name)
{
    return name == L"-vcodec" || name == L"-c:v" || name == L"-codec:v";
}

bool IsAudioCodecOption(const CString& name)
{
    return name == L"-acodec" || name == L"-c:a" || name == L"-codec:a";
}

// The command line read as option / value pairs and outputs, in order.
struct Item {
    CString name;   // empty for an output
    CString value;  // the output's path for an output
    bool hasValue = false;
};

int Split(const std::vector<CString>& args, std::vector<Item>& items, CString& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        Item item;
        if (!IsOption(args[i])) {
            item.value = args[i];
        } else {
            item.name = args[i];
            if (!IsOneOf(item.name, kFlagOptions)) {
                if (i + 1 >= args.size()) {
                    error = L"missing value after " + item.name;
                    return -1;
                }
                item.value = args[++i];
                item.hasValue = true;
            }
        }
        items.push_back(item);
    }
    return 0;
}

const Item* FindLast(const std::vector<Item>& items, const std::function<bool(const CString&)>& match)
{
    const Item* found = nullptr;
    for (const Item& item : items)
        if (!item.name.IsEmpty() && match(item.name))
            found = &item;
    return found;
}

const Item* FindLast(const std::vector<Item>& items, const wchar_t* name)
{
    return FindLast(items, [name](const CString& n) { return n == name; });
}

// What the run will encode the picture with.
CString VideoCodec(const std::vector<Item>& items)
{
    if (const Item* codec = FindLast(items, IsVideoCodecOption))
        return codec->value;
    if (const Item* format = FindLast(items, L"-f")) {
        for (const DefaultCodec& d : kDefaultVideoCodecs)
            if (format->value == d.format)
                return d.codec;
        return format->value;
    }
    return CString();
}

// "Same quality as the source" in the terms of the codec; empty drops the option.
std::vector<CString> SameQuality(const CString& codec, bool bitRateGiven)
{
    if (IsOneOf(codec, kScaleQualityCodecs))
        return {L"-q:v", L"2"};
    if (codec == L"libx264" || codec == L"libx265")
        return {L"-crf", L"18"};
    if (codec == L"libvpx-vp9")
        return bitRateGiven ? std::vector<CString>{L"-crf", L"24"} : std::vector<CString>{L"-crf", L"24", L"-b:v", L"0"};
    if (codec == L"libvpx")
        return bitRateGiven ? std::vector<CString>{L"-crf", L"8"} : std::vector<CString>{L"-crf", L"8", L"-b:v", L"4M"};
    return {};
}

CString RenamedCodec(const CString& codec)
{
    for (const Rename& r : kCodecRenames)
        if (codec == r.from)
            return r.to;
    return codec;
}

bool NeedsFourTwoZero(const std::vector<Item>& items, const CString& codec)
{
    if (FindLast(items, L"-vn") || FindLast(items, L"-pix_fmt") || FindLast(items, L"-target"))
        return false;
    if (codec.IsEmpty())
        return false;
    if (const Item* format = FindLast(items, L"-f"))
        if (IsOneOf(format->value, kOwnPictureFormat))
            return false;
    return !IsOneOf(codec, kOwnPictureFormat);
}

} // namespace

int64_t ParseEncoderTime(const CString& text)
{
    int64_t whole = 0;
    int64_t part = 0;
    int digits = 0;
    int fraction = -1;  // digits after the point; -1 before it
    bool any = false;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t ch = text[i];
        if (ch >= L'0' && ch <= L'9') {
            any = true;
            if (fraction < 0) {
                part = part * 10 + (ch - L'0');
                if (part > 1000000000)
                    return -1;
            } else if (fraction < 6) {
                digits = digits * 10 + (ch - L'0');
                ++fraction;
            }
        } else if (ch == L':' && fraction < 0) {
            whole = (whole + part) * 60;
            part = 0;
        } else if (ch == L'.' && fraction < 0) {
            fraction = 0;
        } else {
            return -1;
        }
    }
    if (!any)
        return -1;
    for (int f = fraction < 0 ? 0 : fraction; f < 6; ++f)
        digits *= 10;
    return (whole + part) * 1000000 + digits;
}

int PlanEncoderRun(const std::vector<CString>& args, const UnixPathMapper& mapPath, const PresetFileFinder& findPreset,
                   CEncoderPlan& plan)
{
    std::vector<Item> items;
    if (Split(args, items, plan.m_error) != 0)
        return -1;

    const CString codec = VideoCodec(items);
    const bool bitRateGiven = FindLast(items, L"-b:v") != nullptr;
    const bool evenSizeNeeded = NeedsFourTwoZero(items, codec) && !FindLast(items, L"-s");
    bool filterPlaced = false;
    bool pictureFormatPlaced = !NeedsFourTwoZero(items, codec);
    std::vector<std::string>& out = plan.m_arguments;
    auto add = [&out](const CString& text) { out.push_back(text.ToUtf8()); };
    auto addPath = [&](const CString& path, std::string& unixPath) {
        if (!mapPath(path, unixPath)) {
            plan.m_error = L"no Unix path for " + path;
            return false;
        }
        out.push_back(unixPath);
        return true;
    };
    // The additions go in front of the first output, after all of its options.
    auto addPictureOptions = [&]() {
        if (!pictureFormatPlaced) {
            add(L"-pix_fmt");
            add(L"yuv420p");
            pictureFormatPlaced = true;
        }
        if (evenSizeNeeded && !filterPlaced) {
            add(L"-vf");
            add(kEvenSizeFilter);
            filterPlaced = true;
        }
    };

    for (const Item& item : items) {
        std::string unixPath;
        if (item.name.IsEmpty()) {
            addPictureOptions();
            if (!addPath(item.value, unixPath))
                return -1;
            plan.m_outputs.push_back(item.value);
            plan.m_unixOutputs.push_back(unixPath);
            continue;
        }
        if (item.name == L"-callbackwindow" || item.name == L"-context") {
            (item.name == L"-context" ? plan.m_context : plan.m_callbackWindow) = std::wcstoll(item.value, nullptr, 10);
            continue;
        }
        if (item.name == L"-ss" || item.name == L"-t") {
            const int64_t time = ParseEncoderTime(item.value);
            if (time < 0) {
                plan.m_error = L"not a time: " + item.value;
                return -1;
            }
            (item.name == L"-ss" ? plan.m_startUs : plan.m_limitUs) = time;
        }
        if (item.name == L"-i") {
            add(item.name);
            if (!addPath(item.value, unixPath))
                return -1;
            continue;
        }
        if ((item.name == L"-vpre" || item.name == L"-apre") && findPreset) {
            const std::string file = findPreset(item.value);
            if (!file.empty()) {
                add(L"-fpre");
                out.push_back(file);
                continue;
            }
        }
        if (item.name == L"-q:v" && item.value == L"0") {
            for (const CString& part : SameQuality(codec, bitRateGiven))
                add(part);
            continue;
        }
        if (item.name == L"-q:a" && item.value == L"0")
            continue;  // the encoder's own choice is the closest to the source
        if (item.name == L"-vf" && evenSizeNeeded) {
            add(item.name);
            add(item.value + L"," + kEvenSizeFilter);
            filterPlaced = true;
            continue;
        }
        add(item.name);
        if (item.hasValue)
            add(IsAudioCodecOption(item.name) || IsVideoCodecOption(item.name) ? RenamedCodec(item.value) : item.value);
    }
    if (plan.m_outputs.empty()) {
        plan.m_error = L"no output file";
        return -1;
    }
    return 0;
}
