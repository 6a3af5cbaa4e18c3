// The encoder's plans run through the system's ffmpeg as the stand-in runs them, on GIFs made
// here, and the real outputs read back with ffprobe and ffmpeg: frame times in every container
// family of the catalogue, pixels kept when sizes are made even, the index in front of MP4-like
// files. Native: the plan is portable, and these are the same ffmpeg and ffprobe that unixrun
// starts under Wine.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AppFormatCatalog.h"
#include "ArgvSplit.h"
#include "EncoderCommandLine.h"
#include "EncoderPlan.h"
#include "GifTiming.h"
#include "ScratchFolder.h"
#include "TestGif.h"

#include <gtest/gtest.h>

namespace {

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// What a command prints, and whether it succeeded.
bool RunCommand(const std::string& command, std::string* output = nullptr)
{
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return false;
    std::string text;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
        text.append(buffer, got);
    if (output)
        *output = text;
    return pclose(pipe) == 0;
}

std::string ReadFile(const CString& path)
{
    std::ifstream in(path.ToUtf8(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool ReadFileTiming(const CString& path, CGifTiming& timing)
{
    FILE* file = std::fopen(path.ToUtf8().c_str(), "rb");
    if (!file)
        return false;
    const bool read = ReadGifTimingFile(file, timing);
    std::fclose(file);
    return read;
}

bool SamePath(const CString& path, std::string& unixPath)
{
    unixPath = path.ToUtf8();
    return true;
}

std::vector<double> Numbers(const std::string& text)
{
    std::vector<double> numbers;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find_first_of("\n,", at);
        const std::string item = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!item.empty() && item != "N/A")
            numbers.push_back(std::stod(item));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return numbers;
}

class EncoderOutputTest : public ScratchFolderTest {
protected:
    CString WriteGif(const char* name, int width, int height, const std::vector<int>& delays)
    {
        const CString path = Path(name);
        std::ofstream(path.ToUtf8(), std::ios::binary) << MakeTestGif(width, height, delays);
        return path;
    }

    // Runs ffmpeg with the plan of the converter's options between input and output.
    bool Encode(const CString& input, const std::vector<CString>& options, const CString& output)
    {
        std::vector<CString> args = {L"-i", input};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(L"-y");
        args.push_back(output);
        CEncoderPlan plan;
        EXPECT_EQ(PlanEncoderRun(args, SamePath, nullptr, ReadFileTiming, plan), 0) << plan.m_error.ToUtf8();
        std::string command = "ffmpeg -nostdin -hide_banner -loglevel error";
        for (const std::string& arg : plan.m_arguments)
            command += " " + Quoted(arg);
        return RunCommand(command);
    }

    // Start times of the output's frames, from its first one, in seconds; a frame whose time the
    // container does not keep (the last ones of reordered MPEG) follows the one before it.
    static std::vector<double> FrameTimes(const CString& video, double period)
    {
        std::string text;
        RunCommand("ffprobe -v error -select_streams v:0 -show_entries frame=best_effort_timestamp_time -of csv=p=0 " +
                       Quoted(video.ToUtf8()),
                   &text);
        std::vector<double> times;
        for (size_t at = 0; at < text.size();) {
            size_t end = text.find('\n', at);
            end = end == std::string::npos ? text.size() : end;
            const std::string line = text.substr(at, end - at);
            at = end + 1;
            if (line.rfind("N/A", 0) == 0 && !times.empty())
                times.push_back(times.back() + period);
            else if (!line.empty() && line[0] != 'N')
                times.push_back(std::stod(line));
        }
        const double first = times.empty() ? 0 : times.front();
        for (double& t : times)
            t -= first;
        return times;
    }

    // Seconds of one frame at the video stream's rate.
    static double FramePeriod(const CString& video)
    {
        std::string text;
        RunCommand("ffprobe -v error -select_streams v:0 -show_entries stream=r_frame_rate -of csv=p=0 " +
                       Quoted(video.ToUtf8()),
                   &text);
        int num = 0, den = 1;
        return std::sscanf(text.c_str(), "%d/%d", &num, &den) == 2 && num > 0 ? double(den) / num : 0;
    }

    static double ContainerDuration(const CString& video)
    {
        std::string text;
        RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " + Quoted(video.ToUtf8()), &text);
        const std::vector<double> numbers = Numbers(text);
        return numbers.empty() ? -1 : numbers.front();
    }

    static std::string RawFrames(const CString& video, const char* pixelFormat)
    {
        std::string bytes;
        RunCommand("ffmpeg -nostdin -v error -i " + Quoted(video.ToUtf8()) + " -f rawvideo -pix_fmt " + pixelFormat + " -",
            &bytes);
        return bytes;
    }
};

// Every source frame starts where its delays put it, the last output frame ends with the last
// delay, and a container that stores its length has the whole of it.
void ExpectTiming(const std::vector<double>& times, double period, double duration, const std::vector<double>& starts,
                  double total, double tolerance, const std::string& what)
{
    ASSERT_FALSE(times.empty()) << what;
    for (double start : starts) {
        const bool found = std::any_of(times.begin(), times.end(),
                                       [&](double t) { return std::fabs(t - start) <= tolerance; });
        EXPECT_TRUE(found) << what << ": no frame at " << start;
    }
    EXPECT_NEAR(times.back() + period, total, tolerance) << what;
    if (duration >= 0)
        EXPECT_NEAR(duration, total, tolerance) << what;
}

TEST_F(EncoderOutputTest, EveryFrameForItsDelayInEveryContainerFamily)
{
    struct Case {
        const wchar_t* format;
        const wchar_t* codec;  // empty: the container's own
        const wchar_t* size;   // empty: the source's
        const char* extension;
        bool storesLength;     // MPEG program streams have none: readers guess it from the last frame's start
    } const cases[] = {
        {L"mp4", L"libx264", L"", ".mp4", true},        {L"mp4", L"mpeg4", L"", ".mp4", true},
        {L"mov", L"libx264", L"", ".mov", true},        {L"3gp", L"h263", L"176x144", ".3gp", true},
        {L"3g2", L"mpeg4", L"", ".3g2", true},          {L"asf", L"wmv2", L"", ".wmv", true},
        {L"asf", L"msmpeg4", L"", ".asf", true},        {L"avi", L"mpeg4", L"", ".avi", true},
        {L"avi", L"libx264", L"", ".avi", true},        {L"avi", L"huffyuv", L"", ".avi", true},
        {L"avi", L"mjpeg", L"", ".avi", true},          {L"flv", L"flv", L"", ".flv", true},
        {L"flv", L"libx264", L"", ".flv", true},        {L"matroska", L"libx264", L"", ".mkv", true},
        {L"webm", L"libvpx", L"", ".webm", true},       {L"webm", L"libvpx-vp9", L"", ".webm", true},
        {L"ogg", L"libtheora", L"", ".ogv", true},      {L"mpeg", L"mpeg1video", L"", ".mpg", false},
        {L"mpeg", L"mpeg2video", L"", ".mpg", false},   {L"vob", L"mpeg2video", L"", ".vob", false},
        {L"mpegts", L"libx264", L"", ".ts", true},      {L"mpegts", L"mpeg2video", L"", ".ts", true},
        {L"swf", L"", L"", ".swf", false},              {L"gif", L"", L"", ".gif", true},
    };
    // 0.1, 0.5, 1.0 and 0.3 s; then a frame of 0.04 s, which plays at 0.1 s.
    const CString gif = WriteGif("four.gif", 65, 49, {10, 50, 100, 30, 4});
    const std::vector<double> starts = {0, 0.1, 0.6, 1.6, 1.9};
    for (const Case& c : cases) {
        std::vector<CString> options = {L"-f", c.format};
        if (*c.codec)
            options.insert(options.end(), {L"-vcodec", c.codec});
        if (*c.size)
            options.insert(options.end(), {L"-s", c.size});
        options.push_back(L"-an");
        const CString output = Path(std::string("out-") + CString(c.codec).ToUtf8() + c.extension);
        const std::string what = CString(c.format).ToUtf8() + "/" + CString(c.codec).ToUtf8();
        ASSERT_TRUE(Encode(gif, options, output)) << what;
        const double period = FramePeriod(output);
        ExpectTiming(FrameTimes(output, period), period, c.storesLength ? ContainerDuration(output) : -1, starts, 2.0, 0.001,
                     what);
    }
}

TEST_F(EncoderOutputTest, DelaysOfTheIssue)
{
    // Five frames of 3.75 s (a last frame of 2 s), two of 0.5 s, and delays of no round rate.
    struct Case {
        std::vector<int> delays;
        const wchar_t* format;
        const wchar_t* codec;
        const char* extension;
    } const cases[] = {
        {{25, 25, 25, 100, 200}, L"mp4", L"libx264", ".mp4"}, {{50, 50}, L"mp4", L"libx264", ".mp4"},
        {{6, 12, 30, 18}, L"webm", L"libvpx", ".webm"},      {{7, 13, 3, 20}, L"avi", L"mpeg4", ".avi"},
        {{25, 25, 25, 100, 200}, L"mpeg", L"mpeg2video", ".mpg"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string name = "clip" + std::to_string(n++);
        const CString gif = WriteGif((name + ".gif").c_str(), 64, 48, c.delays);
        const CString output = Path(name + c.extension);
        ASSERT_TRUE(Encode(gif, {L"-f", c.format, L"-vcodec", c.codec, L"-an"}, output)) << name;
        std::vector<double> starts;
        double total = 0;
        for (int d : c.delays) {
            starts.push_back(total);
            total += (d < kGifMinDelay ? kGifDefaultDelay : d) / 100.0;
        }
        const bool storesLength = CString(c.format) != L"mpeg";
        const double period = FramePeriod(output);
        ExpectTiming(FrameTimes(output, period), period, storesLength ? ContainerDuration(output) : -1, starts,
                     total, 0.001, name);
    }
}

TEST_F(EncoderOutputTest, OddSizesKeepEverySourcePixel)
{
    const int width = 65, height = 49;
    const CString gif = WriteGif("odd.gif", width, height, {10, 10});
    // The chain as the plan builds it, written without loss as true colour.
    const CString padded = Path("padded.avi");
    ASSERT_TRUE(Encode(gif, {L"-f", L"avi", L"-vcodec", L"libx264", L"-an", L"-vf", L"null"}, padded));
    std::string info;
    ASSERT_TRUE(RunCommand("ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 " +
                        Quoted(padded.ToUtf8()),
                    &info));
    EXPECT_EQ(info, "66,50\n");

    // The same filters, then straight to true colour, compared with the palette's colours.
    CEncoderPlan plan;
    ASSERT_EQ(PlanEncoderRun({L"-i", gif, L"-f", L"mp4", L"-an", L"-y", Path("x.mp4")}, SamePath, nullptr,
                             ReadFileTiming, plan),
              0);
    const auto vf = std::find(plan.m_arguments.begin(), plan.m_arguments.end(), "-vf");
    ASSERT_NE(vf, plan.m_arguments.end());
    const std::string filters = *(vf + 1);
    EXPECT_EQ(filters.find("scale"), std::string::npos);
    std::string raw;
    ASSERT_TRUE(RunCommand("ffmpeg -nostdin -v error -i " + Quoted(gif.ToUtf8()) + " -vf " + Quoted(filters) +
                        " -f rawvideo -pix_fmt rgb24 -",
                    &raw));
    ASSERT_EQ(raw.size() % (66 * 50 * 3), 0u);
    const int frames = int(raw.size() / (66 * 50 * 3));
    ASSERT_GE(frames, 2);
    int wrong = 0;
    for (int f = 0; f < 2; ++f)
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 66; ++x) {
                uint8_t rgb[3];
                TestGifColour(TestGifIndex(std::min(x, width - 1), std::min(y, height - 1), f), rgb);
                const char* got = raw.data() + ((size_t(f) * 50 + y) * 66 + x) * 3;
                wrong += std::memcmp(got, rgb, 3) != 0;
            }
    EXPECT_EQ(wrong, 0);

    // Sizes that are even already stay as they are.
    const CString even = WriteGif("even.gif", 64, 48, {10});
    ASSERT_TRUE(RunCommand("ffmpeg -nostdin -v error -i " + Quoted(even.ToUtf8()) + " -vf " + Quoted(filters) +
                        " -f rawvideo -pix_fmt rgb24 -",
                    &raw));
    EXPECT_EQ(raw.size(), size_t(64 * 48 * 3));
}

// Every format of the catalogue with its first preset, as the conversion job runs it on a GIF.
TEST_F(EncoderOutputTest, FirstPresetOfEveryFormat)
{
    CAppFormatCatalog catalog;
    catalog.Load(CString());
    const CString gif = WriteGif("clip.gif", 65, 49, {10, 50, 100, 30, 4});
    CMediaStreamInfo source;
    source.m_type = MEDIA_STREAM_VIDEO;
    source.m_format = L"gif";
    source.m_width = 65;
    source.m_height = 49;
    const std::vector<double> starts = {0, 0.1, 0.6, 1.6, 1.9};
    int n = 0;
    for (const auto& group : catalog.m_groups)
        for (const auto& format : group->m_formats) {
            ASSERT_FALSE(format->m_presets.empty());
            const CMediaPreset& preset = *format->m_presets.front();
            const std::string what = format->m_id.ToUtf8() + " " + CString(preset.m_settings.name).ToUtf8();
            CEncodeOptions o;
            o.m_input = gif;
            o.m_output = Path("out" + std::to_string(n++) + format->m_extension.ToUtf8());
            ASSERT_EQ(format->ApplyToOptions(o, preset, &source, nullptr), 1) << what;
            o.m_audioFlags |= ENCODE_NO_STREAM;  // the converter's presets are all video-only
            o.MakeEvenSize();
            std::vector<CString> args = SplitCommandLine(BuildEncoderCommandLine(L"Tollwick.exe", o));
            args.erase(args.begin());
            CEncoderPlan plan;
            ASSERT_EQ(PlanEncoderRun(args, SamePath, nullptr, ReadFileTiming, plan), 0) << what;
            std::string command = "ffmpeg -nostdin -hide_banner -loglevel error";
            for (const std::string& arg : plan.m_arguments)
                command += " " + Quoted(arg);
            if (!RunCommand(command)) {
                ADD_FAILURE() << what << ": " << command;
                continue;
            }
            // A rate the preset names puts each frame on the nearest of its frames.
            const double period = FramePeriod(o.m_output);
            const double tolerance = o.m_rateNum > 0 ? period / 2 + 0.001 : 0.001;
            ExpectTiming(FrameTimes(o.m_output, period), period, -1, starts, 2.0, tolerance, what);
        }
}

// The top-level atoms of an MP4-like file, in order.
std::vector<std::string> Atoms(const std::string& file)
{
    std::vector<std::string> atoms;
    for (size_t at = 0; at + 8 <= file.size();) {
        uint64_t size = (uint64_t(uint8_t(file[at])) << 24) | (uint64_t(uint8_t(file[at + 1])) << 16) |
                        (uint64_t(uint8_t(file[at + 2])) << 8) | uint64_t(uint8_t(file[at + 3]));
        atoms.push_back(file.substr(at + 4, 4));
        if (size == 1 && at + 16 <= file.size()) {
            size = 0;
            for (int i = 0; i < 8; ++i)
                size = (size << 8) | uint8_t(file[at + 8 + i]);
        }
        if (size < 8)
            break;
        at += size_t(size);
    }
    return atoms;
}

TEST_F(EncoderOutputTest, IndexInFrontOfTheData)
{
    struct Case {
        const wchar_t* format;
        const wchar_t* codec;
        const wchar_t* size;
        const char* name;
    } const cases[] = {
        {L"mp4", L"libx264", L"64x48", "a.mp4"}, {L"mov", L"mpeg4", L"64x48", "a.mov"},
        {L"mp4", L"libx264", L"64x48", "a.m4v"}, {L"3gp", L"h263", L"176x144", "a.3gp"},
        {L"3g2", L"mpeg4", L"64x48", "a.3g2"},
    };
    const CString gif = WriteGif("clip.gif", 64, 48, {10, 20, 30});
    for (const Case& c : cases) {
        const CString output = Path(c.name);
        ASSERT_TRUE(Encode(gif, {L"-f", c.format, L"-vcodec", c.codec, L"-s", c.size, L"-an"}, output)) << c.name;
        const std::vector<std::string> atoms = Atoms(ReadFile(output));
        const auto moov = std::find(atoms.begin(), atoms.end(), "moov");
        const auto mdat = std::find(atoms.begin(), atoms.end(), "mdat");
        ASSERT_NE(moov, atoms.end()) << c.name;
        ASSERT_NE(mdat, atoms.end()) << c.name;
        EXPECT_LT(moov, mdat) << c.name;
    }
}

} // namespace
