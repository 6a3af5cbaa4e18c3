#include "EncoderPlan.h"

#include <algorithm>
#include <cwchar>
#include <string>

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
    {L"svcd", L"mpeg2video"}, {L"vcd", L"mpeg1video"}, {L"dv", L"dvvideo"},    {L"swf", L"flv"},
};

// Codecs whose streams may only carry the frame rates of their standard.
const wchar_t* const kStandardRateCodecs[] = {L"mpeg1video", L"mpeg2video"};
const int kStandardRates[] = {24, 25, 30, 50, 60};
// The grid a standard rate codec gets when none of its rates divides the delays: no frame is
// then more than 10 ms from its place.
const int kFallbackStandardRate = 50;

// Muxers that can keep their index in front of the data, so that a player starts before the
// whole file is there, and the extensions ffmpeg gives them when the line names no format.
const wchar_t* const kFastStartMuxers[] = {L"mp4", L"mov", L"3gp", L"3g2", L"ipod", L"psp", L"f4v"};
struct MuxerOfExtension {
    const wchar_t* extension;
    const wchar_t* muxer;
} const kMuxersOfExtensions[] = {
    {L".mp4", L"mp4"}, {L".mov", L"mov"}, {L".m4v", L"ipod"}, {L".3gp", L"3gp"}, {L".3g2", L"3g2"}, {L".flv", L"flv"},
};

// Muxers that keep one time per frame, so a frame shown before it is decoded has a wrong one.
const wchar_t* const kNoReorderMuxers[] = {L"flv", L"avi"};

// Muxers that write single pictures, whose timing is not the animation's.
const wchar_t* const kPictureMuxers[] = {L"image2", L"image2pipe"};

// Even sizes without touching a pixel: the last column and then the last row are repeated once
// when the count is odd. The picture first gets a format without subsampled planes, so that a
// crop of one column is exact.
const wchar_t kEvenSizeFilter[] =
    L"format=pix_fmts=rgb24|bgr24|rgba|bgra|argb|abgr|gbrp|gbrap|yuv444p|yuvj444p|gray,"
    L"split[even_a][even_b];[even_b]crop=1:ih:iw-1:0[even_c];[even_a][even_c]hstack,crop=trunc(iw/2)*2:ih:0:0,"
    L"split[even_d][even_e];[even_e]crop=iw:1:0:ih-1[even_f];[even_d][even_f]vstack,crop=iw:trunc(ih/2)*2:0:0";

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

CString Number(int value)
{
    return CString::FromUtf8(std::to_string(value).c_str());
}

int Gcd(int a, int b)
{
    while (b) {
        const int rest = a % b;
        a = b;
        b = rest;
    }
    return a;
}

CString Extension(const CString& path)
{
    const int dot = path.ReverseFind(L'.');
    const int slash = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/'));
    return dot > slash ? CString(path.Mid(dot)).MakeLower() : CString();
}

// The muxer ffmpeg will write the output with: the line's "-f", else the one of the extension.
CString OutputMuxer(const std::vector<Item>& items, const CString& output)
{
    if (const Item* format = FindLast(items, L"-f"))
        return format->value;
    for (const MuxerOfExtension& m : kMuxersOfExtensions)
        if (Extension(output) == m.extension)
            return m.muxer;
    return CString();
}

// The options of the command line that come before its first input, and after it.
struct Sides {
    const Item* firstInput = nullptr;
    bool inputRate = false;   // "-r" given for the input
    const Item* outputRate = nullptr;
};

Sides SplitSides(const std::vector<Item>& items)
{
    Sides sides;
    for (const Item& item : items) {
        if (item.name == L"-i" && !sides.firstInput)
            sides.firstInput = &item;
        else if (item.name == L"-r" && !sides.firstInput)
            sides.inputRate = true;
        else if (item.name == L"-r")
            sides.outputRate = &item;
    }
    return sides;
}

struct COutputAdditions {
    std::vector<CString> m_inputOptions;   // in front of the first input
    std::vector<CString> m_outputOptions;  // in front of the first output
    CString m_filters;                     // at the end of the first output's filter chain
    bool m_fastStart = false;              // the index goes in front of the data
};

// What a GIF source needs that the command line leaves open: every frame for its own delay,
// the last one included (a constant rate that divides the delays, since every container keeps
// that), a 4:2:0 picture with even sizes reached without scaling, the index of an MP4-like file
// in front, and no reordered frames where the container cannot shift their times.
COutputAdditions PlanOutputAdditions(const std::vector<Item>& items, const GifTimingReader& readTiming)
{
    COutputAdditions extra;
    const CString codec = VideoCodec(items);
    const Sides sides = SplitSides(items);
    const auto output = std::find_if(items.begin(), items.end(), [](const Item& item) { return item.name.IsEmpty(); });
    const CString muxer = output == items.end() ? CString() : OutputMuxer(items, output->value);
    const bool video = !FindLast(items, L"-vn") && !FindLast(items, L"-target");

    CGifTiming timing;
    const bool gif = sides.firstInput && readTiming && readTiming(sides.firstInput->value, timing);
    if (gif && !FindLast(items, L"-min_delay"))
        extra.m_inputOptions = {L"-min_delay", Number(kGifMinDelay), L"-default_delay", Number(kGifDefaultDelay)};

    std::vector<CString> filters;
    if (gif && video && !sides.inputRate && !IsOneOf(muxer, kPictureMuxers))
        filters.push_back(L"fps=" + (sides.outputRate ? sides.outputRate->value : ChooseFrameRate(codec, timing.m_delays)));
    if (NeedsFourTwoZero(items, codec)) {
        extra.m_outputOptions = {L"-pix_fmt", L"yuv420p"};
        if (!FindLast(items, L"-s"))
            filters.push_back(kEvenSizeFilter);
    }
    for (const CString& filter : filters)
        extra.m_filters += (extra.m_filters.IsEmpty() ? L"" : L",") + filter;

    if (video && IsOneOf(muxer, kNoReorderMuxers) && codec == L"libx264") {
        extra.m_outputOptions.push_back(L"-bf");
        extra.m_outputOptions.push_back(L"0");
    }
    extra.m_fastStart = IsOneOf(muxer, kFastStartMuxers);
    if (extra.m_fastStart && !FindLast(items, L"-movflags")) {
        extra.m_outputOptions.push_back(L"-movflags");
        extra.m_outputOptions.push_back(L"+faststart");
    }
    return extra;
}

} // namespace

int64_t ParseEncoderTime(const CString& text)
{
    // At most hours, minutes and seconds, each below kMaxField: the total stays far inside the
    // 64-bit range of microseconds (under 3.7e18), so no step can overflow.
    constexpr int64_t kMaxField = 1000000000;
    int64_t total = 0;     // whole seconds of the fields before the current one
    int64_t field = 0;
    int fields = 1;
    bool fieldHasDigits = false;
    int64_t fractionUs = 0;
    int fraction = -1;  // digits after the point; -1 before it
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t ch = text[i];
        if (ch >= L'0' && ch <= L'9' && fraction < 0) {
            field = field * 10 + (ch - L'0');
            fieldHasDigits = true;
            if (field > kMaxField)
                return -1;
        } else if (ch >= L'0' && ch <= L'9') {
            if (fraction < 6) {
                fractionUs = fractionUs * 10 + (ch - L'0');
                ++fraction;
            }
        } else if (ch == L':' && fraction < 0 && fieldHasDigits && fields < 3) {
            total = (total + field) * 60;
            field = 0;
            fieldHasDigits = false;
            ++fields;
        } else if (ch == L'.' && fraction < 0 && fieldHasDigits) {
            fraction = 0;
        } else {
            return -1;
        }
    }
    if (!fieldHasDigits)
        return -1;
    for (int f = fraction < 0 ? 0 : fraction; f < 6; ++f)
        fractionUs *= 10;
    return (total + field) * 1000000 + fractionUs;
}

CString EvenSizeFilter()
{
    return kEvenSizeFilter;
}

CString ChooseFrameRate(const CString& codec, const std::vector<int>& delays)
{
    if (codec == L"dvvideo")
        return L"25";  // DV has two rates; the catalogue's DV lines always name theirs
    if (IsOneOf(codec, kStandardRateCodecs)) {
        for (int rate : kStandardRates)
            if (std::all_of(delays.begin(), delays.end(), [rate](int d) { return d * rate % 100 == 0; }))
                return Number(rate);
        return Number(kFallbackStandardRate);
    }
    int step = 0;
    for (int d : delays)
        step = Gcd(step, d);
    if (step <= 0)
        step = kGifDefaultDelay;
    // One frame every `step` hundredths: 100/step frames a second, as a reduced fraction.
    const int common = Gcd(100, step);
    const std::string rate = std::to_string(100 / common) + (step / common > 1 ? "/" + std::to_string(step / common) : "");
    return CString::FromUtf8(rate.c_str());
}

int PlanEncoderRun(const std::vector<CString>& args, const UnixPathMapper& mapPath, const PresetFileFinder& findPreset,
                   const GifTimingReader& readTiming, CEncoderPlan& plan)
{
    std::vector<Item> items;
    if (Split(args, items, plan.m_error) != 0)
        return -1;
    const COutputAdditions extra = PlanOutputAdditions(items, readTiming);

    const CString codec = VideoCodec(items);
    const bool bitRateGiven = FindLast(items, L"-b:v") != nullptr;
    bool inputPlaced = false;
    bool outputPlaced = false;
    std::vector<std::string>& out = plan.m_arguments;
    auto add = [&out](const CString& text) { out.push_back(text.ToUtf8()); };
    auto addAll = [&](const std::vector<CString>& texts) {
        for (const CString& text : texts)
            add(text);
    };
    auto addPath = [&](const CString& path, std::string& unixPath) {
        if (!mapPath(path, unixPath)) {
            plan.m_error = L"no Unix path for " + path;
            return false;
        }
        out.push_back(unixPath);
        return true;
    };

    for (const Item& item : items) {
        std::string unixPath;
        if (item.name.IsEmpty()) {
            // The additions go in front of the first output, after all of its options.
            if (!outputPlaced) {
                addAll(extra.m_outputOptions);
                if (!extra.m_filters.IsEmpty() && !FindLast(items, L"-vf")) {
                    add(L"-vf");
                    add(extra.m_filters);
                }
                outputPlaced = true;
            }
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
            if (!inputPlaced)
                addAll(extra.m_inputOptions);
            inputPlaced = true;
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
            addAll(SameQuality(codec, bitRateGiven));
            continue;
        }
        if (item.name == L"-q:a" && item.value == L"0")
            continue;  // the encoder's own choice is the closest to the source
        if (item.name == L"-vf" && !extra.m_filters.IsEmpty()) {
            add(item.name);
            add(item.value + L"," + extra.m_filters);
            continue;
        }
        if (item.name == L"-movflags" && extra.m_fastStart && item.value.Find(L"faststart") < 0) {
            add(item.name);
            add(item.value + L"+faststart");
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
