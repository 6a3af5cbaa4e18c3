#include "EncoderPlan.h"
#include "OutputFiles.h"

#include <gtest/gtest.h>

namespace {

// Windows paths of drive C become /c/...; a path on drive X has no Unix form.
bool FakeUnixPath(const CString& path, std::string& unixPath)
{
    if (path.GetLength() < 3 || path[1] != L':' || path[0] == L'X')
        return false;
    CString rest = path.Mid(2);
    rest.Replace(L'\\', L'/');
    unixPath = "/" + CString(path.Left(1)).MakeLower().ToUtf8() + rest.ToUtf8();
    return true;
}

std::string NoPreset(const CString&)
{
    return std::string();
}

// Inputs named *.gif are GIFs of four frames of 0.1, 0.5, 1.0 and 0.3 s, or of the delays given.
GifTimingReader FakeGifs(std::vector<int> delays = {10, 50, 100, 30})
{
    return [delays](const CString& path, CGifTiming& timing) {
        if (path.Right(4) != L".gif")
            return false;
        timing = CGifTiming();
        timing.m_width = 65;
        timing.m_height = 49;
        timing.m_delays = delays;
        return true;
    };
}

std::vector<CString> Split(const wchar_t* line)
{
    std::vector<CString> args;
    CString text(line);
    int start = 0;
    for (CString token = text.Tokenize(L" ", start); start >= 0; token = text.Tokenize(L" ", start))
        args.push_back(token);
    return args;
}

// The arguments joined, the even-size filters shown as "EVEN".
std::string Joined(const std::vector<std::string>& args)
{
    std::string text;
    for (const std::string& a : args)
        text += (text.empty() ? "" : " ") + a;
    const std::string even = EvenSizeFilter().ToUtf8();
    for (size_t at; (at = text.find(even)) != std::string::npos;)
        text.replace(at, even.size(), "EVEN");
    return text;
}

// The ffmpeg arguments the plan makes of a command line (paths without blanks in these cases).
std::string Planned(const wchar_t* line, const PresetFileFinder& presets = NoPreset,
                    const GifTimingReader& gifs = FakeGifs())
{
    CEncoderPlan plan;
    if (PlanEncoderRun(Split(line), FakeUnixPath, presets, gifs, plan) != 0)
        return "error: " + plan.m_error.ToUtf8();
    return Joined(plan.m_arguments);
}

struct PlanCase {
    const wchar_t* line;
    const char* planned;
};

void ExpectPlans(const std::vector<PlanCase>& cases, const GifTimingReader& gifs = FakeGifs())
{
    for (const PlanCase& c : cases)
        EXPECT_EQ(Planned(c.line, NoPreset, gifs), c.planned) << CString(c.line).ToUtf8();
}

// What ffmpeg's GIF reader is told, so that its delays are the viewer's.
#define GIF_IN "-min_delay 5 -default_delay 10 -i "

TEST(EncoderPlan, GifSourcesGetWhatTheirCodecNeeds)
{
    ExpectPlans({
        // 4:2:0 picture, even sizes, every frame for its delay (a rate of 10 for these delays).
        {L"-i C:\\in\\a.gif -f mp4 -vcodec libx264 -an -y C:\\out\\a.mp4",
         GIF_IN "/c/in/a.gif -f mp4 -vcodec libx264 -an -y -pix_fmt yuv420p -movflags +faststart -vf fps=10,EVEN "
                "/c/out/a.mp4"},
        // A size on the command line is even already; the filter chain gets the additions at its end.
        {L"-i C:\\a.gif -f webm -vcodec libvpx -s 320x240 -an -y C:\\a.webm",
         GIF_IN "/c/a.gif -f webm -vcodec libvpx -s 320x240 -an -y -pix_fmt yuv420p -vf fps=10 /c/a.webm"},
        {L"-i C:\\a.gif -f mp4 -vcodec libx264 -vf transpose=1,hflip -an -y C:\\a.mp4",
         GIF_IN "/c/a.gif -f mp4 -vcodec libx264 -vf transpose=1,hflip,fps=10,EVEN -an -y -pix_fmt yuv420p "
                "-movflags +faststart /c/a.mp4"},
        // The container's own codec, when none is named.
        {L"-i C:\\a.gif -f avi -an -y C:\\a.avi",
         GIF_IN "/c/a.gif -f avi -an -y -pix_fmt yuv420p -vf fps=10,EVEN /c/a.avi"},
        // Formats and codecs that choose their own picture, and lines that fix it, keep it.
        {L"-i C:\\a.gif -f gif -an -y C:\\b.gif", GIF_IN "/c/a.gif -f gif -an -y -vf fps=10 /c/b.gif"},
        {L"-i C:\\a.gif -ss 0:00:00.100 -f image2 -vframes 1 -y C:\\t.jpg",
         GIF_IN "/c/a.gif -ss 0:00:00.100 -f image2 -vframes 1 -y /c/t.jpg"},
        {L"-i C:\\a.gif -f dv -vcodec dvvideo -s 720x480 -r 30000/1001 -an -pix_fmt yuv411p -y C:\\a.dv",
         GIF_IN "/c/a.gif -f dv -vcodec dvvideo -s 720x480 -r 30000/1001 -an -pix_fmt yuv411p -y -vf fps=30000/1001 "
                "/c/a.dv"},
        {L"-i C:\\a.gif -f mp4 -vcodec libx264 -pix_fmt yuv444p -y C:\\a.mp4",
         GIF_IN "/c/a.gif -f mp4 -vcodec libx264 -pix_fmt yuv444p -y -movflags +faststart -vf fps=10 /c/a.mp4"},
        {L"-i C:\\a.gif -target ntsc-dvd -y C:\\a.vob", GIF_IN "/c/a.gif -target ntsc-dvd -y /c/a.vob"},
        {L"-i C:\\a.gif -f mp4 -vn -acodec copy -y C:\\a.m4a",
         GIF_IN "/c/a.gif -f mp4 -vn -acodec copy -y -movflags +faststart /c/a.m4a"},
        // Other sources keep their own timing.
        {L"-i C:\\v.avi -f mp4 -vcodec libx264 -y C:\\v.mp4",
         "-i /c/v.avi -f mp4 -vcodec libx264 -y -pix_fmt yuv420p -movflags +faststart -vf EVEN /c/v.mp4"},
        {L"-i C:\\v.mp4 -ss 0:00:00.100 -f image2 -vframes 1 -y C:\\t.jpg",
         "-i /c/v.mp4 -ss 0:00:00.100 -f image2 -vframes 1 -y /c/t.jpg"},
    });
}

TEST(EncoderPlan, EveryFrameForItsOwnDelay)
{
    ExpectPlans({
        // A rate the line names is the grid the frames are put on, the last one included.
        {L"-i C:\\a.gif -f mp4 -vcodec mpeg4 -s 320x240 -r 15/1 -an -y C:\\a.mp4",
         GIF_IN "/c/a.gif -f mp4 -vcodec mpeg4 -s 320x240 -r 15/1 -an -y -pix_fmt yuv420p -movflags +faststart "
                "-vf fps=15/1 /c/a.mp4"},
        // A rate for the input is the line's own timing.
        {L"-r 5/1 -i C:\\a.gif -f mp4 -vcodec mpeg4 -s 320x240 -an -y C:\\a.mp4",
         "-r 5/1 " GIF_IN "/c/a.gif -f mp4 -vcodec mpeg4 -s 320x240 -an -y -pix_fmt yuv420p -movflags +faststart "
                          "/c/a.mp4"},
        // MPEG-1 and MPEG-2 get a rate of their standard.
        {L"-i C:\\a.gif -f mpeg -vcodec mpeg2video -s 320x240 -an -y C:\\a.mpg",
         GIF_IN "/c/a.gif -f mpeg -vcodec mpeg2video -s 320x240 -an -y -pix_fmt yuv420p -vf fps=30 /c/a.mpg"},
        {L"-i C:\\a.gif -f vcd -s 352x240 -an -y C:\\a.mpg",
         GIF_IN "/c/a.gif -f vcd -s 352x240 -an -y -pix_fmt yuv420p -vf fps=30 /c/a.mpg"},
        // FLV and AVI cannot shift the times of reordered frames: H.264 goes without them.
        {L"-i C:\\a.gif -f flv -vcodec libx264 -s 320x240 -an -y C:\\a.flv",
         GIF_IN "/c/a.gif -f flv -vcodec libx264 -s 320x240 -an -y -pix_fmt yuv420p -bf 0 -vf fps=10 /c/a.flv"},
        {L"-i C:\\a.gif -f avi -vcodec libx264 -s 320x240 -an -y C:\\a.avi",
         GIF_IN "/c/a.gif -f avi -vcodec libx264 -s 320x240 -an -y -pix_fmt yuv420p -bf 0 -vf fps=10 /c/a.avi"},
    });
    ExpectPlans({{L"-i C:\\a.gif -f webm -vcodec libvpx -s 64x48 -an -y C:\\a.webm",
                  GIF_IN "/c/a.gif -f webm -vcodec libvpx -s 64x48 -an -y -pix_fmt yuv420p -vf fps=50/3 /c/a.webm"}},
                FakeGifs({6, 12, 30, 18}));
}

TEST(EncoderPlan, IndexInFrontOfMp4LikeFiles)
{
    ExpectPlans({
        {L"-i C:\\v.avi -f mov -vcodec mpeg4 -s 64x48 -y C:\\v.mov",
         "-i /c/v.avi -f mov -vcodec mpeg4 -s 64x48 -y -pix_fmt yuv420p -movflags +faststart /c/v.mov"},
        {L"-i C:\\v.avi -f 3gp -vcodec h263 -s 176x144 -y C:\\v.3gp",
         "-i /c/v.avi -f 3gp -vcodec h263 -s 176x144 -y -pix_fmt yuv420p -movflags +faststart /c/v.3gp"},
        // Without a format, the extension tells ffmpeg's choice.
        {L"-i C:\\v.avi -vcodec libx264 -s 64x48 -y C:\\v.m4v",
         "-i /c/v.avi -vcodec libx264 -s 64x48 -y -pix_fmt yuv420p -movflags +faststart /c/v.m4v"},
        // The line's own flags keep theirs and gain the fast start once.
        {L"-i C:\\v.avi -f mp4 -vcodec libx264 -s 64x48 -movflags +faststart -y C:\\v.mp4",
         "-i /c/v.avi -f mp4 -vcodec libx264 -s 64x48 -movflags +faststart -y -pix_fmt yuv420p /c/v.mp4"},
        {L"-i C:\\v.avi -f mp4 -vcodec libx264 -s 64x48 -movflags +use_metadata_tags -y C:\\v.mp4",
         "-i /c/v.avi -f mp4 -vcodec libx264 -s 64x48 -movflags +use_metadata_tags+faststart -y -pix_fmt yuv420p "
         "/c/v.mp4"},
        {L"-i C:\\v.avi -f matroska -vcodec libx264 -s 64x48 -y C:\\v.mkv",
         "-i /c/v.avi -f matroska -vcodec libx264 -s 64x48 -y -pix_fmt yuv420p /c/v.mkv"},
    });
}

TEST(EncoderPlan, FrameRatesThatDivideTheDelays)
{
    struct Case {
        const wchar_t* codec;
        std::vector<int> delays;
        const wchar_t* rate;
    } const cases[] = {
        {L"libx264", {10, 50, 100, 30}, L"10"}, {L"libx264", {6, 12, 30, 18}, L"50/3"},
        {L"mpeg4", {7, 13, 10, 20}, L"100"},    {L"gif", {25}, L"4"},
        {L"libvpx", {200, 400}, L"1/2"},        {L"libx264", {}, L"10"},
        {L"", {30, 30}, L"10/3"},               {L"mpeg2video", {10, 50}, L"30"},
        {L"mpeg1video", {4, 8}, L"25"},         {L"mpeg2video", {6, 12}, L"50"},
        {L"mpeg2video", {5, 15}, L"60"},        {L"mpeg1video", {100}, L"24"},
        {L"mpeg2video", {7}, L"50"},            {L"dvvideo", {10}, L"25"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseFrameRate(c.codec, c.delays), CString(c.rate)) << CString(c.codec).ToUtf8();
}

TEST(EncoderPlan, SameQualityInTheCodecsTerms)
{
    // Sources other than GIFs, to keep these lines short.
    ExpectPlans({
        {L"-i C:\\a.avi -f mp4 -vcodec libx264 -s 64x48 -q:v 0 -an -y C:\\a.mp4",
         "-i /c/a.avi -f mp4 -vcodec libx264 -s 64x48 -crf 18 -an -y -pix_fmt yuv420p -movflags +faststart /c/a.mp4"},
        {L"-i C:\\a.avi -f webm -vcodec libvpx -s 64x48 -q:v 0 -an -y C:\\a.webm",
         "-i /c/a.avi -f webm -vcodec libvpx -s 64x48 -crf 8 -b:v 4M -an -y -pix_fmt yuv420p /c/a.webm"},
        {L"-i C:\\a.avi -f webm -vcodec libvpx-vp9 -s 64x48 -b:v 500000 -q:v 0 -an -y C:\\a.webm",
         "-i /c/a.avi -f webm -vcodec libvpx-vp9 -s 64x48 -b:v 500000 -crf 24 -an -y -pix_fmt yuv420p /c/a.webm"},
        {L"-i C:\\a.avi -f avi -vcodec mpeg4 -s 64x48 -q:v 0 -an -y C:\\a.avi",
         "-i /c/a.avi -f avi -vcodec mpeg4 -s 64x48 -q:v 2 -an -y -pix_fmt yuv420p /c/a.avi"},
        {L"-i C:\\a.avi -f gif -q:v 0 -an -y C:\\b.gif", "-i /c/a.avi -f gif -an -y /c/b.gif"},
        // Other qualities pass as they are; "-q:a 0" and the catalogue's AAC encoder name are mended.
        {L"-i C:\\a.avi -f avi -vcodec mpeg4 -s 64x48 -q:v 5 -acodec libfdk_aac -q:a 0 -y C:\\a.avi",
         "-i /c/a.avi -f avi -vcodec mpeg4 -s 64x48 -q:v 5 -acodec aac -y -pix_fmt yuv420p /c/a.avi"},
    });
}

TEST(EncoderPlan, CallbackItemsAndTimesAreTakenOut)
{
    CEncoderPlan plan;
    ASSERT_EQ(PlanEncoderRun(Split(L"-i C:\\a.gif -ss 0:00:01.500 -t 0:01:00.000 -f gif -y C:\\b.gif -callbackwindow "
                                   L"131234 -context 4294967301"),
                             FakeUnixPath, NoPreset, FakeGifs(), plan),
              0);
    EXPECT_EQ(Joined(plan.m_arguments), GIF_IN "/c/a.gif -ss 0:00:01.500 -t 0:01:00.000 -f gif -y -vf fps=10 /c/b.gif");
    EXPECT_EQ(plan.m_callbackWindow, 131234);
    EXPECT_EQ(plan.m_context, 4294967301LL);
    EXPECT_EQ(plan.m_startUs, 1500000);
    EXPECT_EQ(plan.m_limitUs, 60000000);
    ASSERT_EQ(plan.m_outputs.size(), 1u);
    EXPECT_EQ(plan.m_outputs[0], L"C:\\b.gif");
    EXPECT_EQ(plan.m_unixOutputs[0], "/c/b.gif");
}

TEST(EncoderPlan, PresetsFromTheOwnFolderComeFirst)
{
    auto presets = [](const CString& name) {
        return name == L"libvpx-720p" ? std::string("/m/Presets/libvpx-720p.ffpreset") : std::string();
    };
    EXPECT_EQ(Planned(L"-i C:\\a.gif -f webm -vcodec libvpx -s 1280x720 -vpre libvpx-720p -an -y C:\\a.webm", presets),
              GIF_IN "/c/a.gif -f webm -vcodec libvpx -s 1280x720 -fpre /m/Presets/libvpx-720p.ffpreset -an -y "
                     "-pix_fmt yuv420p -vf fps=10 /c/a.webm");
    EXPECT_EQ(Planned(L"-i C:\\a.gif -f webm -vcodec libvpx -s 1280x720 -vpre libvpx-360p -an -y C:\\a.webm", presets),
              GIF_IN "/c/a.gif -f webm -vcodec libvpx -s 1280x720 -vpre libvpx-360p -an -y -pix_fmt yuv420p "
                     "-vf fps=10 /c/a.webm");
}

TEST(EncoderPlan, RefusedLines)
{
    struct Case {
        const wchar_t* line;
        const char* error;
    } const cases[] = {
        {L"-i C:\\a.gif -f mp4 -y", "error: no output file"},
        {L"-i C:\\a.gif -f", "error: missing value after -f"},
        {L"-i X:\\a.gif -y C:\\b.mp4", "error: no Unix path for X:\\a.gif"},
        {L"-i C:\\a.gif -ss soon -y C:\\b.mp4", "error: not a time: soon"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Planned(c.line), c.error) << CString(c.line).ToUtf8();
}

TEST(EncoderTime, Texts)
{
    struct Case {
        const wchar_t* text;
        int64_t us;
    } const cases[] = {
        {L"0:00:05.500", 5500000}, {L"1:01:01.000", 3661000000LL}, {L"61", 61000000}, {L"2.5", 2500000},
        {L"01:30", 90000000},      {L"0.1234567", 123456},         {L"", -1},         {L"N/A", -1},
        {L"-1", -1},
        // Only hours, minutes and seconds, each with digits; the largest fields stay in range.
        {L"8:::::::::::", -1},     {L"2562048:0:0:0", -1},       {L"1:2:3:4", -1},   {L"1::30", -1},
        {L":30", -1},              {L"30:", -1},                 {L".5", -1},        {L"5.", 5000000},
        {L"2562048:0:0", 9223372800000000LL},                  {L"1000000000", 1000000000000000LL},
        {L"1000000001", -1},       {L"99999999999999999999", -1}, {L"1000000000:1000000000:1000000000.999999",
                                                                      3661000000000999999LL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseEncoderTime(c.text), c.us) << CString(c.text).ToUtf8();
}

TEST(OutputFiles, SequencePatterns)
{
    struct Case {
        const wchar_t* pattern;
        int number;
        const wchar_t* file;
        bool isPattern;
    } const cases[] = {
        {L"C:\\f\\frame%03d.png", 7, L"C:\\f\\frame007.png", true},
        {L"C:\\f\\frame%d.png", 12, L"C:\\f\\frame12.png", true},
        {L"C:\\f\\f%4d.png", 3, L"C:\\f\\f   3.png", true},
        {L"C:\\f\\clip.mp4", 1, L"C:\\f\\clip.mp4", false},
        {L"C:\\f\\100%%.mp4", 1, L"C:\\f\\100%.mp4", false},
        {L"C:\\f\\50%s.mp4", 1, L"C:\\f\\50%s.mp4", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NumberedOutputFile(c.pattern, c.number), CString(c.file)) << CString(c.pattern).ToUtf8();
        EXPECT_EQ(IsOutputPattern(c.pattern), c.isPattern) << CString(c.pattern).ToUtf8();
    }
}

} // namespace
