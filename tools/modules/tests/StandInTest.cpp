// The converter's runs of the real stand-ins under Wine: GIF animations of our own become MP4
// and WebM videos through Tollwick with the progress messages the converter reads, Harrowin
// describes the results, and a stop ends the encoder without leaving any of its output.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "AppFormatCatalog.h"
#include "EncodeTask.h"
#include "EncoderTestWindow.h"
#include "ModulePaths.h"
#include "TestPaths.h"
#include "UnixChild.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

CString WindowsPath(const std::string& unixPath)
{
    CString path = L"Z:" + CString::FromUtf8(unixPath.c_str());
    path.Replace(L'/', L'\\');
    return path;
}

CString ModulesFolder()
{
    return WindowsPath(SUITE_MODULES_DIR);
}

CString Fixture(const char* name)
{
    return CString::FromUtf8(SourcePath(std::string("tools/modules/tests/data/") + name).c_str());
}

// Keeps the records as the conversion job does, and asks to stop once the flag is set.
class ProgressSink : public IEncoderSink {
public:
    int OnStart(const CEncoderProgress& progress) override
    {
        ++m_starts;
        return 0;
    }
    int OnProgress(const CEncoderProgress& progress) override
    {
        if (m_stop && *m_stop)
            return ENCODER_ANSWER_STOP;
        m_records.push_back(progress);
        if (m_stopAfterFirst && m_stop && progress.m_time > 0) {
            if (m_beforeStop)
                m_beforeStop();
            m_stoppedAt = std::chrono::steady_clock::now();
            *m_stop = 2;
        }
        return 0;
    }
    int OnFinish() override
    {
        ++m_finishes;
        return 0;
    }

    std::vector<CEncoderProgress> m_records;
    int m_starts = 0;
    int m_finishes = 0;
    CStopFlag* m_stop = nullptr;
    bool m_stopAfterFirst = false;
    std::function<void()> m_beforeStop;
    std::chrono::steady_clock::time_point m_stoppedAt;
};

// A folder of its own in the temporary folder, with a name that needs care on the way to Linux.
class ScratchFolder {
public:
    ScratchFolder()
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_path.Format(L"%sstand-in test \u00E9 %lu", temp, GetTickCount());
        CreateDirectoryW(m_path, nullptr);
    }
    ~ScratchFolder()
    {
        std::error_code error;
        fs::remove_all(fs::path(m_path.str()), error);
    }
    CString File(const wchar_t* name) const { return m_path + L"\\" + name; }

private:
    CString m_path;
};

int64_t FileSize(const CString& path)
{
    std::error_code error;
    const auto size = fs::file_size(fs::path(path.str()), error);
    return error ? -1 : static_cast<int64_t>(size);
}

class StandInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_window.Handle()) << "no window: is there a display?";
        SetModulePaths(CModulePaths::Locate(ModulesFolder().Left(ModulesFolder().ReverseFind(L'\\'))));
        m_catalog.Load(CString());
        m_gif = m_folder.File(L"clip \u00E9.gif");
        ASSERT_TRUE(CopyFileW(Fixture("short.gif"), m_gif, FALSE));
    }
    void TearDown() override { SetModulePaths(CModulePaths()); }

    // The options as the conversion job makes them: the source probed, the preset applied.
    bool PrepareOptions(CEncodeTask& task, const CString& source, const wchar_t* format, const wchar_t* preset,
                        const CString& output)
    {
        CMediaInfo info;
        EXPECT_EQ(info.Probe(source, nullptr), 0);
        const CMediaPreset* p = m_catalog.FindPreset(format, preset);
        EXPECT_TRUE(p);
        if (!p)
            return false;
        task.m_options.Reset();
        task.m_options.m_input = source;
        task.m_options.m_output = output;
        return p->m_format->ApplyToOptions(task.m_options, *p, info.GetFirstVideoStream(), info.GetFirstAudioStream()) ==
               1;
    }

    // Runs the encoder as the conversion does and checks its reports; the encoder's result.
    int Encode(const wchar_t* format, const wchar_t* preset, const CString& output, ProgressSink& sink,
               CStopFlag* stop = nullptr)
    {
        CEncodeTask task;
        const CModulePaths& paths = GetModulePaths();
        EXPECT_EQ(task.Setup(paths.m_encoder, paths.m_presets, m_window.Handle(), &sink), 0);
        if (!PrepareOptions(task, m_gif, format, preset, output))
            return -2;
        return RunPumping([&] { return task.Run(stop); });
    }

    static void ExpectRisingToTheEnd(const ProgressSink& sink, int64_t duration)
    {
        EXPECT_EQ(sink.m_starts, 1);
        ASSERT_GE(sink.m_records.size(), 2u);
        for (size_t i = 1; i < sink.m_records.size(); ++i) {
            EXPECT_GE(sink.m_records[i].m_time, sink.m_records[i - 1].m_time) << i;
            EXPECT_GE(sink.m_records[i].m_size, sink.m_records[i - 1].m_size) << i;
        }
        const CEncoderProgress& last = sink.m_records.back();
        EXPECT_EQ(last.m_duration, duration);
        // The last frame starts one frame (0.1 s) before the end.
        EXPECT_GE(last.m_time, duration - 100000);
        EXPECT_GT(last.m_size, 0);
    }

    void ExpectDescribed(const CString& video, const wchar_t* container, const wchar_t* codec, int width, int height)
    {
        CMediaInfo info;
        ASSERT_EQ(info.Probe(video, nullptr), 0);
        EXPECT_NE(info.m_format.Find(container), -1) << info.m_format.ToUtf8();
        EXPECT_EQ(info.m_size, FileSize(video));
        EXPECT_NEAR(static_cast<double>(info.m_duration), 2000000.0, 150000.0);
        const CMediaStreamInfo* stream = info.GetFirstVideoStream();
        ASSERT_TRUE(stream);
        EXPECT_EQ(stream->m_format, codec);
        EXPECT_EQ(stream->m_frames, 20);
        EXPECT_EQ(stream->m_width, width);
        EXPECT_EQ(stream->m_height, height);
        EXPECT_EQ(info.GetFirstAudioStream(), nullptr);
    }

    CallbackWindow m_window;
    CAppFormatCatalog m_catalog;
    ScratchFolder m_folder;
    CString m_gif;
};

TEST_F(StandInTest, HarrowinDescribesTheGif)
{
    CMediaInfo info;
    ASSERT_EQ(info.Probe(m_gif, nullptr), 0);
    EXPECT_EQ(info.m_format, L"gif");
    EXPECT_EQ(info.m_size, FileSize(m_gif));
    EXPECT_EQ(info.m_duration, 2000000);
    ASSERT_EQ(info.m_videoStreams.size(), 1u);
    const CMediaStreamInfo& gif = *info.GetFirstVideoStream();
    EXPECT_EQ(gif.m_frames, 20);
    EXPECT_EQ(gif.m_width, 65);
    EXPECT_EQ(gif.m_height, 49);
    EXPECT_EQ(std::make_pair(gif.m_rateNum, gif.m_rateDen), std::make_pair(10, 1));
}

TEST_F(StandInTest, GifBecomesMp4WithRisingProgress)
{
    ProgressSink sink;
    const CString output = m_folder.File(L"[Converting] clip \u00E9.mp4");
    ASSERT_EQ(Encode(L"MC_mp4", L"H.264", output, sink), 0);
    ExpectRisingToTheEnd(sink, 2000000);
    EXPECT_GE(sink.m_finishes, 1);
    // The odd-sized source comes out with even sizes: one column and one row more, not scaled.
    ExpectDescribed(output, L"mp4", L"h264", 66, 50);
}

TEST_F(StandInTest, GifBecomesWebmThroughAPresetFile)
{
    ProgressSink sink;
    const CString output = m_folder.File(L"clip.webm");
    ASSERT_EQ(Encode(L"MC_webm", L"360p", output, sink), 0);
    ExpectRisingToTheEnd(sink, 2000000);
    ExpectDescribed(output, L"webm", L"vp8", 640, 360);
}

TEST_F(StandInTest, ThumbnailOfTheResult)
{
    ProgressSink sink;
    const CString video = m_folder.File(L"clip.mp4");
    ASSERT_EQ(Encode(L"MC_mp4", L"H.264 - 240p", video, sink), 0);
    const CString image = m_folder.File(L"thumb.jpg");
    EXPECT_EQ(GrabVideoFrame(video, image, 100, 0, 0, L"image2", nullptr), 0);
    EXPECT_GT(FileSize(image), 0);
    CMediaInfo info;
    ASSERT_EQ(info.Probe(image, nullptr), 0);
    ASSERT_TRUE(info.GetFirstVideoStream());
    EXPECT_EQ(info.GetFirstVideoStream()->m_width, 320);
}

// Any ffmpeg process still writing the file (its Unix path on the command line: the name alone
// may be on the line of another test's ffmpeg).
bool EncoderStillRuns(const CString& output)
{
    std::string unixPath;
    if (!CUnixChild::ToUnixPath(output, unixPath))
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool running = false;
    do {
        if (found.cFileName[0] < L'0' || found.cFileName[0] > L'9')
            continue;
        std::string line;
        FILE* f = _wfopen((CString(L"Z:\\proc\\") + found.cFileName + L"\\cmdline").GetString(), L"rb");
        if (!f)
            continue;
        char buffer[8192];
        const size_t got = std::fread(buffer, 1, sizeof(buffer), f);
        std::fclose(f);
        line.assign(buffer, got);
        std::replace(line.begin(), line.end(), '\0', ' ');
        running = running || (line.find("ffmpeg") != std::string::npos && line.find(unixPath) != std::string::npos);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return running;
}

TEST_F(StandInTest, StopMidRunLeavesNoEncoderAndNoOutput)
{
    // A long source, a large picture and the slowest settings: the run takes seconds.
    ASSERT_TRUE(CopyFileW(Fixture("long.gif"), m_gif, FALSE));
    CStopFlag stop{0};
    ProgressSink sink;
    sink.m_stop = &stop;
    sink.m_stopAfterFirst = true;
    const CString output = m_folder.File(L"[Converting] long.mp4");
    bool runningBeforeStop = false;
    sink.m_beforeStop = [&] { runningBeforeStop = EncoderStillRuns(output); };
    CEncodeTask task;
    const CModulePaths& paths = GetModulePaths();
    ASSERT_EQ(task.Setup(paths.m_encoder, paths.m_presets, m_window.Handle(), &sink), 0);
    ASSERT_TRUE(PrepareOptions(task, m_gif, L"MC_mp4", L"H.264", output));
    task.m_options.m_width = 1920;
    task.m_options.m_height = 1080;
    task.m_options.AddExtraOptions(L"-preset veryslow -threads 1");
    EXPECT_EQ(RunPumping([&] { return task.Run(&stop); }), 1);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - sink.m_stoppedAt).count();
    EXPECT_LE(seconds, 1.6);
    ASSERT_FALSE(sink.m_records.empty());
    EXPECT_LT(sink.m_records.back().m_time, 60000000);
    EXPECT_TRUE(runningBeforeStop);
    EXPECT_FALSE(fs::exists(fs::path(output.str())));
    EXPECT_FALSE(EncoderStillRuns(output));
}

TEST_F(StandInTest, EncoderEndedByTheRunnerTakesFfmpegWithIt)
{
    // Without a window the encoder cannot be asked to stop: the runner ends it, and its helper
    // then ends ffmpeg and removes the partial output.
    ASSERT_TRUE(CopyFileW(Fixture("long.gif"), m_gif, FALSE));
    const CString output = m_folder.File(L"[Converting] ended.mp4");
    CEncodeTask task;
    ASSERT_EQ(task.Setup(GetModulePaths().m_encoder, CString(), nullptr, nullptr), 0);
    ASSERT_TRUE(PrepareOptions(task, m_gif, L"MC_mp4", L"H.264", output));
    task.m_options.m_width = 1920;
    task.m_options.m_height = 1080;
    task.m_options.AddExtraOptions(L"-preset veryslow -threads 1");
    CStopFlag stop{0};
    bool runningBeforeStop = false;
    std::thread stopper([&] {
        for (int i = 0; i < 100 && !EncoderStillRuns(output); ++i)
            Sleep(50);
        runningBeforeStop = EncoderStillRuns(output);
        stop = 2;
    });
    EXPECT_EQ(task.Run(&stop), 1);
    stopper.join();
    EXPECT_TRUE(runningBeforeStop);
    EXPECT_EQ(task.GetRunEnd(), MODULE_STOPPED);
    bool gone = false;
    for (int i = 0; i < 40 && !gone; ++i) {
        gone = !EncoderStillRuns(output) && !fs::exists(fs::path(output.str()));
        Sleep(50);
    }
    EXPECT_TRUE(gone);
}

TEST_F(StandInTest, RefusedAndFailedRuns)
{
    CModuleProcess encoder;
    encoder.SetProgram(GetModulePaths().m_encoder);
    // No output file on the line.
    EXPECT_EQ(encoder.Run(L"\"Tollwick.exe\" -i \"" + m_gif + L"\" -y", nullptr), -1);
    EXPECT_EQ(encoder.GetExitCode(), 2u);
    // ffmpeg refuses: nothing is left behind.
    const CString output = m_folder.File(L"bad.mp4");
    EXPECT_EQ(encoder.Run(L"\"Tollwick.exe\" -i \"" + m_gif + L"\" -vcodec no-such-codec -y \"" + output + L"\"",
                          nullptr),
              -1);
    EXPECT_EQ(encoder.GetExitCode(), 2u);
    EXPECT_FALSE(fs::exists(fs::path(output.str())));

    // What is not media cannot be described.
    const CString text = m_folder.File(L"notes.dat");
    FILE* f = _wfopen(text, L"wb");
    std::fputs("just some words\n", f);
    std::fclose(f);
    CMediaInfo info;
    EXPECT_EQ(info.Probe(text, nullptr), -1);
    EXPECT_EQ(info.Probe(m_folder.File(L"missing.gif"), nullptr), -1);
}

} // namespace
