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

std::vector<CString> Split(const wchar_t* line)
{
    std::vector<CString> args;
    CString text(line);
    int start = 0;
    for (CString token = text.Tokenize(L" ", start); start >= 0; token = text.Tokenize(L" ", start))
        args.push_back(token);
    return args;
}

std::string Joined(const std::vector<std::string>& args)
{
    std::string text;
    for (const std::string& a : args)
        text += (text.empty() ? "" : " ") + a;
    return text;
}

// The ffmpeg arguments the plan makes of a command line (paths without blanks in these cases).
std::string Planned(const wchar_t* line, const PresetFileFinder& presets = NoPreset)
{
    CEncoderPlan plan;
    if (PlanEncoderRun(Split(line), FakeUnixPath, presets, plan) != 0)
        return "error: " + plan.m_error.ToUtf8();
    return Joined(plan.m_arguments);
}

TEST(EncoderPlan, GifSourcesGetWhatTheirCodecNeeds)
{
    struct Case {
        const wchar_t* line;
        const char* planned;
    } const cases[] = {
        // 4:2:0 picture and even sizes for the common codecs.
        {L"-i C:\\in\\a.gif -f mp4 -vcodec libx264 -an -y C:\\out\\a.mp4",
         "-i /c/in/a.gif -f mp4 -vcodec libx264 -an -y -pix_fmt yuv420p -vf scale=trunc(iw/2)*2:trunc(ih/2)*2 "
         "/c/out/a.mp4"},
        // A size on the command line is even already; the filter chain gets the even size at its end.
        {L"-i C:\\a.gif -f webm -vcodec libvpx -s 320x240 -an -y C:\\a.webm",
         "-i /c/a.gif -f webm -vcodec libvpx -s 320x240 -an -y -pix_fmt yuv420p /c/a.webm"},
        {L"-i C:\\a.gif -f mp4 -vcodec libx264 -vf transpose=1,hflip -an -y C:\\a.mp4",
         "-i /c/a.gif -f mp4 -vcodec libx264 -vf transpose=1,hflip,scale=trunc(iw/2)*2:trunc(ih/2)*2 -an -y "
         "-pix_fmt yuv420p /c/a.mp4"},
        // The container's own codec, when none is named.
        {L"-i C:\\a.gif -f avi -an -y C:\\a.avi",
         "-i /c/a.gif -f avi -an -y -pix_fmt yuv420p -vf scale=trunc(iw/2)*2:trunc(ih/2)*2 /c/a.avi"},
        // Formats and codecs that choose their own picture, and lines that fix it, stay as they are.
        {L"-i C:\\a.gif -f gif -an -y C:\\b.gif", "-i /c/a.gif -f gif -an -y /c/b.gif"},
        {L"-i C:\\a.gif -ss 0:00:00.100 -f image2 -vframes 1 -y C:\\t.jpg",
         "-i /c/a.gif -ss 0:00:00.100 -f image2 -vframes 1 -y /c/t.jpg"},
        {L"-i C:\\a.gif -f dv -vcodec dvvideo -s 720x480 -an -pix_fmt yuv411p -y C:\\a.dv",
         "-i /c/a.gif -f dv -vcodec dvvideo -s 720x480 -an -pix_fmt yuv411p -y /c/a.dv"},
        {L"-i C:\\a.gif -f mp4 -vcodec libx264 -pix_fmt yuv444p -y C:\\a.mp4",
         "-i /c/a.gif -f mp4 -vcodec libx264 -pix_fmt yuv444p -y /c/a.mp4"},
        {L"-i C:\\a.gif -target ntsc-dvd -y C:\\a.vob", "-i /c/a.gif -target ntsc-dvd -y /c/a.vob"},
        {L"-i C:\\a.gif -f mp4 -vn -acodec copy -y C:\\a.m4a", "-i /c/a.gif -f mp4 -vn -acodec copy -y /c/a.m4a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Planned(c.line), c.planned) << CString(c.line).ToUtf8();
}

TEST(EncoderPlan, SameQualityInTheCodecsTerms)
{
    struct Case {
        const wchar_t* line;
        const char* planned;
    } const cases[] = {
        {L"-i C:\\a.gif -f mp4 -vcodec libx264 -s 64x48 -q:v 0 -an -y C:\\a.mp4",
         "-i /c/a.gif -f mp4 -vcodec libx264 -s 64x48 -crf 18 -an -y -pix_fmt yuv420p /c/a.mp4"},
        {L"-i C:\\a.gif -f webm -vcodec libvpx -s 64x48 -q:v 0 -an -y C:\\a.webm",
         "-i /c/a.gif -f webm -vcodec libvpx -s 64x48 -crf 8 -b:v 4M -an -y -pix_fmt yuv420p /c/a.webm"},
        {L"-i C:\\a.gif -f webm -vcodec libvpx-vp9 -s 64x48 -b:v 500000 -q:v 0 -an -y C:\\a.webm",
         "-i /c/a.gif -f webm -vcodec libvpx-vp9 -s 64x48 -b:v 500000 -crf 24 -an -y -pix_fmt yuv420p /c/a.webm"},
        {L"-i C:\\a.gif -f avi -vcodec mpeg4 -s 64x48 -q:v 0 -an -y C:\\a.avi",
         "-i /c/a.gif -f avi -vcodec mpeg4 -s 64x48 -q:v 2 -an -y -pix_fmt yuv420p /c/a.avi"},
        {L"-i C:\\a.gif -f gif -q:v 0 -an -y C:\\b.gif", "-i /c/a.gif -f gif -an -y /c/b.gif"},
        // Other qualities pass as they are; "-q:a 0" and the catalogue's AAC encoder name are mended.
        {L"-i C:\\a.gif -f avi -vcodec mpeg4 -s 64x48 -q:v 5 -acodec libfdk_aac -q:a 0 -y C:\\a.avi",
         "-i /c/a.gif -f avi -vcodec mpeg4 -s 64x48 -q:v 5 -acodec aac -y -pix_fmt yuv420p /c/a.avi"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Planned(c.line), c.planned) << CString(c.line).ToUtf8();
}

TEST(EncoderPlan, CallbackItemsAndTimesAreTakenOut)
{
    CEncoderPlan plan;
    ASSERT_EQ(PlanEncoderRun(Split(L"-i C:\\a.gif -ss 0:00:01.500 -t 0:01:00.000 -f gif -y C:\\b.gif -callbackwindow "
                                   L"131234 -context 4294967301"),
                             FakeUnixPath, NoPreset, plan),
              0);
    EXPECT_EQ(Joined(plan.m_arguments), "-i /c/a.gif -ss 0:00:01.500 -t 0:01:00.000 -f gif -y /c/b.gif");
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
              "-i /c/a.gif -f webm -vcodec libvpx -s 1280x720 -fpre /m/Presets/libvpx-720p.ffpreset -an -y "
              "-pix_fmt yuv420p /c/a.webm");
    EXPECT_EQ(Planned(L"-i C:\\a.gif -f webm -vcodec libvpx -s 1280x720 -vpre libvpx-360p -an -y C:\\a.webm", presets),
              "-i /c/a.gif -f webm -vcodec libvpx -s 1280x720 -vpre libvpx-360p -an -y -pix_fmt yuv420p /c/a.webm");
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
