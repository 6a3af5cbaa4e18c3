#include "ArgvSplit.h"
#include "TestPrint.h"
#include "EncoderCommandLine.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

const CString kProgram = L"C:\\Program Files\\Talvena\\Modules\\Tollwick.exe";
const CString kQuotedProgram = L"\"C:\\Program Files\\Talvena\\Modules\\Tollwick.exe\"";

CEncodeOptions InputOutput()
{
    CEncodeOptions o;
    o.m_input = L"C:\\in\\a.gif";
    o.m_output = L"C:\\out\\a.mp4";
    return o;
}

// The command line after the program item.
CString Tail(CEncodeOptions o)
{
    const CString line = BuildEncoderCommandLine(kProgram, o);
    EXPECT_EQ(line.Left(kQuotedProgram.GetLength()), kQuotedProgram);
    return line.Mid(kQuotedProgram.GetLength() + 1);
}

TEST(EncodeOptions, Defaults)
{
    CEncodeOptions o;
    o.m_width = 5;
    o.m_loopCount = 3;
    o.m_extraOptions = L"-x";
    o.Reset();
    EXPECT_EQ(o.m_width, 0);
    EXPECT_EQ(o.m_loopCount, -1);
    EXPECT_EQ(o.m_map1Input, -1);
    EXPECT_EQ(o.m_map2Stream, -1);
    EXPECT_EQ(o.m_videoQuality, -1);
    EXPECT_EQ(o.m_audioQuality, -1);
    EXPECT_EQ(o.m_volume, 256);
    EXPECT_EQ(o.m_volumePercent, 100);
    EXPECT_TRUE(o.m_extraOptions.IsEmpty());
}

TEST(EncodeOptions, MakeEvenSize)
{
    struct Case {
        int width, height, evenWidth, evenHeight;
    } const cases[] = {{641, 481, 640, 480}, {1, 2, 0, 2}, {0, -3, 0, -3}, {720, 576, 720, 576}};
    for (const Case& c : cases) {
        CEncodeOptions o;
        o.m_width = c.width;
        o.m_height = c.height;
        EXPECT_EQ(o.MakeEvenSize(), 0);
        EXPECT_EQ(o.m_width, c.evenWidth);
        EXPECT_EQ(o.m_height, c.evenHeight);
    }
}

TEST(EncodeOptions, AddExtraOptions)
{
    CEncodeOptions o;
    o.AddExtraOptions(nullptr);
    o.AddExtraOptions(L"");
    EXPECT_TRUE(o.m_extraOptions.IsEmpty());
    o.AddExtraOptions(L"-movflags +faststart");
    o.AddExtraOptions(L"-pix_fmt yuv411p");
    EXPECT_EQ(o.m_extraOptions, CString(L"-movflags +faststart -pix_fmt yuv411p"));
}

TEST(CommandLineBuilder, SeparatesItemsByOneBlankAndRefusesEmpty)
{
    CCommandLineBuilder line;
    EXPECT_EQ(line.Append(nullptr), -1);
    EXPECT_EQ(line.Append(L""), -1);
    EXPECT_EQ(line.GetText(), CString());
    EXPECT_EQ(line.Append(L"-y"), 0);
    EXPECT_EQ(line.AppendFormat(L"-s", L"%dx%d", 640, 480), 0);
    EXPECT_EQ(line.AppendFormat(nullptr, L"%s", L""), 0);
    EXPECT_EQ(line.GetText(), CString(L"-y -s 640x480"));
}

TEST(EncoderCommandLine, InputAndOutputOnly)
{
    EXPECT_EQ(Tail(InputOutput()), CString(L"-i \"C:\\in\\a.gif\" -y \"C:\\out\\a.mp4\""));
}

TEST(EncoderCommandLine, ItemsInTheirFixedOrder)
{
    CEncodeOptions o = InputOutput();
    o.m_flags = ENCODE_THREADS;
    o.m_threadCount = 2;
    o.m_bufferSize = 4096;
    o.m_inputRateNum = 10;
    o.m_inputRateDen = 1;
    o.m_input2 = L"C:\\in\\b.wav";
    o.m_input2Offset = 1500;
    o.m_map1Input = 0;
    o.m_map1Stream = 0;
    o.m_map2Input = 1;
    o.m_map2Stream = 0;
    o.m_startTime = 61000;
    o.m_duration = 5500;
    o.m_sizeLimit = 5000000000LL;
    o.m_target = L"ntsc-dvd";
    o.m_format = L"mp4";
    o.m_loopCount = 0;
    o.m_videoCodec = L"libx264";
    o.m_width = 640;
    o.m_height = 480;
    o.m_aspectNum = 4;
    o.m_aspectDen = 3;
    o.m_rateNum = 30000;
    o.m_rateDen = 1001;
    o.m_videoBitRate = 1000000;
    o.m_videoQuality = 3;
    o.m_frameCount = 100;
    o.m_videoPreset = L"libx264-fast";
    o.m_cropX = 1;
    o.m_cropY = 2;
    o.m_cropWidth = 320;
    o.m_cropHeight = 240;
    o.m_rotation = 90;
    o.m_vflip = 1;
    o.m_negate = 1;
    o.m_audioCodec = L"libfdk_aac";
    o.m_channels = 2;
    o.m_sampleRate = 44100;
    o.m_audioBitRate = 128000;
    o.m_volume = 255;
    o.m_audioQuality = 4;
    o.m_audioPreset = L"aac-hq";
    o.m_volumePercent = 150;
    o.m_extraOptions = L"-movflags +faststart";
    EXPECT_EQ(Tail(o),
              CString(L"-threads 2 -bufsize 4096 -r 10/1 -i \"C:\\in\\a.gif\" -itsoffset 0:00:01.500 "
                      L"-i \"C:\\in\\b.wav\" -map 0:0 -map 1:0 -ss 0:01:01.000 -t 0:00:05.500 -fs 5000000000 "
                      L"-target ntsc-dvd -f mp4 -loop 0 -vcodec libx264 -s 640x480 -aspect 4:3 -r 30000/1001 "
                      L"-b:v 1000000 -q:v 3 -vframes 100 -vpre \"libx264-fast\" "
                      L"-vf \"crop=320:240:1:2,transpose=1,vflip,negate\" -acodec libfdk_aac -ac 2 -ar 44100 "
                      L"-b:a 128000 -vol 255 -q:a 4 -apre \"aac-hq\" -af \"volume=1.50\" "
                      L"-movflags +faststart -y \"C:\\out\\a.mp4\""));
}

TEST(EncoderCommandLine, ConditionsOfSingleItems)
{
    struct Case {
        const char* what;
        void (*set)(CEncodeOptions&);
        const wchar_t* tail;
    } const cases[] = {
        {"threads need the flag", [](CEncodeOptions& o) { o.m_threadCount = 4; }, L"-i \"in\" -y \"out\""},
        {"one map index missing",
         [](CEncodeOptions& o) { o.m_map1Input = 0; o.m_map1Stream = 0; o.m_map2Input = 1; },
         L"-i \"in\" -y \"out\""},
        {"width without height", [](CEncodeOptions& o) { o.m_height = 480; }, L"-i \"in\" -y \"out\""},
        {"same quality forces q 0",
         [](CEncodeOptions& o) { o.m_videoFlags = ENCODE_SAME_QUALITY; o.m_videoQuality = 7;
                                 o.m_audioFlags = ENCODE_SAME_QUALITY; },
         L"-i \"in\" -q:v 0 -q:a 0 -y \"out\""},
        {"no video, filters still added",
         [](CEncodeOptions& o) { o.m_videoFlags = ENCODE_NO_STREAM; o.m_videoCodec = L"x"; o.m_rotation = 180;
                                 o.m_hflip = 1; },
         L"-i \"in\" -vn -vf \"transpose=2,transpose=2,hflip\" -y \"out\""},
        {"rotation with grey scale", [](CEncodeOptions& o) { o.m_rotation = 270; o.m_grey = 1; },
         L"-i \"in\" -vf \"transpose=2,hue=s=0\" -y \"out\""},
        {"no audio, volume filter still added",
         [](CEncodeOptions& o) { o.m_audioFlags = ENCODE_NO_STREAM; o.m_channels = 2; o.m_volumePercent = 50; },
         L"-i \"in\" -an -af \"volume=0.50\" -y \"out\""},
        {"volume 256 gives nothing", [](CEncodeOptions& o) { o.m_volume = 256; }, L"-i \"in\" -y \"out\""},
        {"crop needs all four", [](CEncodeOptions& o) { o.m_cropWidth = 10; o.m_cropHeight = 10; o.m_cropX = 1; },
         L"-i \"in\" -y \"out\""},
        {"start time 0", [](CEncodeOptions& o) { o.m_startTime = 0; }, L"-i \"in\" -y \"out\""},
        {"second input without offset", [](CEncodeOptions& o) { o.m_input2 = L"b"; },
         L"-i \"in\" -i \"b\" -y \"out\""},
        {"no output", [](CEncodeOptions& o) { o.m_output.Empty(); }, L"-i \"in\" -y"},
    };
    for (const Case& c : cases) {
        CEncodeOptions o;
        o.m_input = L"in";
        o.m_output = L"out";
        c.set(o);
        EXPECT_EQ(Tail(o), CString(c.tail)) << c.what;
    }
}

TEST(EncoderCommandLine, SameQualityKeepsZeroInTheRecord)
{
    CEncodeOptions o = InputOutput();
    o.m_videoFlags = ENCODE_SAME_QUALITY;
    o.m_videoQuality = 9;
    BuildEncoderCommandLine(kProgram, o);
    EXPECT_EQ(o.m_videoQuality, 0);
}

TEST(EncoderCommandLine, ThumbnailGrab)
{
    // A single frame at a time into an image file.
    CEncodeOptions o;
    o.m_input = L"C:\\out\\clip.mp4";
    o.m_output = L"C:\\Temp\\~Wu12.jpg";
    o.m_startTime = 2000;
    o.m_format = L"image2";
    o.m_width = 96;
    o.m_height = 72;
    o.m_frameCount = 1;
    EXPECT_EQ(Tail(o), CString(L"-i \"C:\\out\\clip.mp4\" -ss 0:00:02.000 -f image2 -s 96x72 -vframes 1 -y "
                               L"\"C:\\Temp\\~Wu12.jpg\""));
}

TEST(EncoderCommandLine, CallbackItems)
{
    EXPECT_EQ(FormatCallbackItems(132456, 4096000), CString(L" -callbackwindow 132456 -context 4096000"));
    EXPECT_EQ(FormatCallbackItems(0, -12), CString(L" -context -12"));
}

std::vector<CString> ParseLine(const CString& line)
{
#ifdef _WIN32
    // The system's own parser, as the started program would use it.
    std::vector<CString> args;
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(line.GetString(), &count);
    for (int i = 0; argv && i < count; ++i)
        args.push_back(argv[i]);
    LocalFree(argv);
    EXPECT_EQ(args, SplitCommandLine(line));
    return args;
#else
    return SplitCommandLine(line);
#endif
}

TEST(EncoderCommandLine, HostileValuesStayOneArgument)
{
    const wchar_t* const values[] = {
        L"C:\\out dir\\",                      // trailing backslash would swallow the closing quote
        L"C:\\a\" -f null -y \"C:\\evil",      // a quote would end the argument and add options
        L"a\\\\\"b",                           // backslashes in front of a quote
        L"plain",
        L"two  blanks\tand tab",
    };
    for (const wchar_t* value : values) {
        CEncodeOptions o;
        o.m_input = value;
        o.m_output = value;
        o.m_videoPreset = value;
        o.m_format = value;
        const std::vector<CString> args = ParseLine(BuildEncoderCommandLine(kProgram, o));
        const std::vector<CString> expected = {kProgram, L"-i", value, L"-f", value, L"-vpre", value, L"-y", value};
        EXPECT_EQ(args, expected) << CString(value).ToUtf8();
    }
}

TEST(EncoderCommandLine, QuoteArgument)
{
    EXPECT_EQ(CCommandLineBuilder::QuoteArgument(L"a b"), CString(L"\"a b\""));
    EXPECT_EQ(CCommandLineBuilder::QuoteArgument(L"C:\\x\\"), CString(L"\"C:\\x\\\\\""));
    EXPECT_EQ(CCommandLineBuilder::QuoteArgument(L"a\"b"), CString(L"\"a\\\"b\""));
    EXPECT_EQ(CCommandLineBuilder::QuoteArgument(L"a\\\"b"), CString(L"\"a\\\\\\\"b\""));
    EXPECT_EQ(CCommandLineBuilder::QuoteArgument(L"a\\b"), CString(L"\"a\\b\""));
}

} // namespace
