#include "EncodeTask.h"
#include "ModulePaths.h"
#include "RunnerTestSupport.h"

#include <cstring>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Records what the encoder reports and answers as told.
class RecordingSink : public IEncoderSink {
public:
    int OnStart(const CEncoderProgress& progress) override
    {
        m_calls.push_back("start " + std::to_string(progress.m_time));
        return 0;
    }
    int OnProgress(const CEncoderProgress& progress) override
    {
        m_calls.push_back("progress " + std::to_string(progress.m_time) + " " + std::to_string(progress.m_size));
        m_last = progress;
        return m_stop && *m_stop ? ENCODER_ANSWER_STOP : ENCODER_ANSWER_CONTINUE;
    }
    int OnFinish() override
    {
        m_calls.push_back("finish");
        return 0;
    }

    std::vector<std::string> m_calls;
    CEncoderProgress m_last{};
    CStopFlag* m_stop = nullptr;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class EncodeTaskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_window.Handle()) << "no window: is there a display?";
        m_record = m_folder.File("record.txt");
        m_pid = m_folder.File("pid.txt");
    }

    // A task whose options carry the fake's script in their extra options.
    void Prepare(CEncodeTask& task, const CString& script, HWND window, IEncoderSink* sink)
    {
        ASSERT_EQ(task.Setup(FakeSiblingPath(), m_folder.File("Presets"), window, sink), 0);
        task.m_options.Reset();
        task.m_options.m_input = L"C:\\in\\a.gif";
        task.m_options.m_output = m_folder.File("out.mp4");
        task.m_options.AddExtraOptions(L"-record " + Quoted(m_record) + L" -pidfile " + Quoted(m_pid) + L" " + script);
    }

    // Runs with a sink that answers "stop" once the flag, set after `delayMs`, is non-zero; the
    // result, and in `seconds` how long the run went on after the flag was set.
    int RunStoppedAfter(CEncodeTask& task, const CString& script, int delayMs, double& seconds)
    {
        CStopFlag stop{0};
        RecordingSink sink;
        sink.m_stop = &stop;
        Prepare(task, script, m_window.Handle(), &sink);
        std::thread stopper([&] {
            Sleep(delayMs);
            stop = 2;
        });
        const auto start = std::chrono::steady_clock::now();
        const int result = RunPumping([&] { return task.Run(&stop); });
        stopper.join();
        seconds = SecondsSince(start) - delayMs / 1000.0;
        return result;
    }

    std::vector<std::string> Answers() const
    {
        std::vector<std::string> answers;
        for (const std::string& line : Lines(ReadFileText(m_record)))
            if (line.rfind("answer ", 0) == 0)
                answers.push_back(line.substr(7));
        return answers;
    }
    std::string RecordedLine() const
    {
        const std::vector<std::string> lines = Lines(ReadFileText(m_record));
        return lines.empty() ? std::string() : lines[0];
    }

    ScratchFolder m_folder;
    CString m_record;
    CString m_pid;
    CallbackWindow m_window;
};

TEST_F(EncodeTaskTest, CommandLineEndsWithWindowAndContext)
{
    CEncodeTask task;
    Prepare(task, L"-exit 0", m_window.Handle(), nullptr);
    ASSERT_EQ(RunPumping([&] { return task.Run(nullptr); }), 0);
    const std::string line = RecordedLine();
    std::ostringstream window;
    window << " -y \"" << m_folder.File("out.mp4").ToUtf8() << "\" -callbackwindow "
           << reinterpret_cast<intptr_t>(m_window.Handle()) << " -context ";
    const size_t at = line.find(window.str());
    ASSERT_NE(at, std::string::npos) << line;
    const std::string token = line.substr(at + window.str().size());
    EXPECT_FALSE(token.empty());
    EXPECT_EQ(token.find_first_not_of("0123456789"), std::string::npos) << token;
    EXPECT_NE(std::stoll(token), 0);
}

TEST_F(EncodeTaskTest, WithoutWindowOnlyTheContextIsAdded)
{
    CEncodeTask task;
    Prepare(task, L"-exit 0", nullptr, nullptr);
    ASSERT_EQ(task.Run(nullptr), 0);
    const std::string line = RecordedLine();
    EXPECT_EQ(line.find("-callbackwindow"), std::string::npos);
    const std::string tail = "\" -context ";
    EXPECT_NE(line.find(m_folder.File("out.mp4").ToUtf8() + tail), std::string::npos) << line;
}

TEST_F(EncodeTaskTest, MessagesReachTheSinkAndAreAnswered)
{
    RecordingSink sink;
    CEncodeTask task;
    Prepare(task,
            L"-send 2 -send 3 -send 3 -send 4 -send 5 -raw 1011 1136 3 -raw 1010 1135 3 -raw 1010 1137 3 "
            L"-as-context 99999 -send 3 -as-context 0 -send 3",
            m_window.Handle(), &sink);
    ASSERT_EQ(RunPumping([&] { return task.Run(nullptr); }), 0);
    const std::vector<std::string> expectedAnswers = {"2 0",  "3 0",  "3 0",  "4 -1", "5 0",
                                                      "3 -1", "3 -1", "3 -1", "3 -1", "3 -1"};
    EXPECT_EQ(Answers(), expectedAnswers);
    // The fake numbers its messages: the second and third are the progress ones. The run's own
    // end is told to the sink last.
    const std::vector<std::string> expectedCalls = {"start 100000", "progress 200000 2000", "progress 300000 3000",
                                                    "finish", "finish"};
    EXPECT_EQ(sink.m_calls, expectedCalls);
    EXPECT_EQ(sink.m_last.m_duration, 10000000);
    EXPECT_EQ(sink.m_last.m_frames, 3);
}

TEST_F(EncodeTaskTest, WithoutSinkEveryMessageIsRefused)
{
    CEncodeTask task;
    Prepare(task, L"-send 2 -send 3 -send 5", m_window.Handle(), nullptr);
    ASSERT_EQ(RunPumping([&] { return task.Run(nullptr); }), 0);
    EXPECT_EQ(Answers(), (std::vector<std::string>{"2 -1", "3 -1", "5 -1"}));
}

TEST_F(EncodeTaskTest, StopIsAnsweredAndTheEncoderEndsItself)
{
    CEncodeTask task;
    double seconds = 0;
    EXPECT_EQ(RunStoppedAfter(task, L"-progress-for 20000", 400, seconds), 1);
    EXPECT_LE(seconds, 1.5);
    EXPECT_EQ(task.GetExitCode(), 1u);
    const std::vector<std::string> answers = Answers();
    ASSERT_FALSE(answers.empty());
    EXPECT_EQ(answers.back(), "3 1");
    EXPECT_TRUE(ProcessGone(m_pid));
}

TEST_F(EncodeTaskTest, EncoderIgnoringStopIsEndedAfterOneSecond)
{
    CEncodeTask task;
    double seconds = 0;
    EXPECT_EQ(RunStoppedAfter(task, L"-ignore-stop -progress-for 30000", 300, seconds), 1);
    EXPECT_GE(seconds, 0.95);
    EXPECT_LE(seconds, 1.8);
    EXPECT_EQ(task.GetRunEnd(), MODULE_STOPPED);
    EXPECT_TRUE(ProcessGone(m_pid));
}

TEST_F(EncodeTaskTest, FailedEncoderGivesMinusOneAndStillFinishes)
{
    RecordingSink sink;
    CEncodeTask task;
    Prepare(task, L"-exit 2", nullptr, &sink);
    EXPECT_EQ(task.Run(nullptr), -1);
    EXPECT_EQ(sink.m_calls, std::vector<std::string>{"finish"});
    CEncodeTask missing;
    ASSERT_EQ(missing.Setup(m_folder.File("Tollwick.exe"), CString(), nullptr, &sink), 0);
    EXPECT_EQ(missing.GrabFrame(L"C:\\a.gif", m_folder.File("a.jpg"), 100, 0, 0, CString(), nullptr), -1);
    EXPECT_EQ(missing.GetRunEnd(), MODULE_MISSING);
}

TEST(EncoderMessages, BlocksNamingNoRunningTaskAreRefused)
{
    RecordingSink sink;
    CEncodeTask task;
    task.Setup(L"C:\\x.exe", CString(), nullptr, &sink);
    CEncoderMessage message{};
    message.m_kind = ENCODER_MESSAGE_PROGRESS;
    // No run is going on, so no token names the task, whatever the block says.
    for (uint32_t context : {0u, 1u, 2u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        message.m_context = context;
        EXPECT_EQ(DispatchEncoderMessage(kEncoderMessageId, kEncoderMessageSize, &message), -1);
    }
    EXPECT_EQ(DispatchEncoderMessage(kEncoderMessageId, kEncoderMessageSize, nullptr), -1);
    EXPECT_EQ(OnEncoderCopyData(nullptr), -1);
    EXPECT_TRUE(sink.m_calls.empty());
}

TEST(EncoderMessages, OnCallbackDataByKind)
{
    RecordingSink sink;
    CEncodeTask task;
    CEncoderMessage message{};
    message.m_progress.m_time = 7;
    message.m_kind = ENCODER_MESSAGE_PROGRESS;
    EXPECT_EQ(task.OnCallbackData(message), -1);  // no sink yet
    task.Setup(L"C:\\x.exe", CString(), nullptr, &sink);
    struct Case {
        int kind;
        int answer;
    } const cases[] = {{2, 0}, {3, 0}, {5, 0}, {0, -1}, {1, -1}, {4, -1}, {6, -1}};
    for (const Case& c : cases) {
        message.m_kind = c.kind;
        EXPECT_EQ(task.OnCallbackData(message), c.answer) << c.kind;
    }
    EXPECT_EQ(sink.m_calls, (std::vector<std::string>{"start 7", "progress 7 0", "finish"}));
}

TEST_F(EncodeTaskTest, ReadyMadeRunsFillTheOptions)
{
    CEncodeTask task;
    ASSERT_EQ(task.Setup(FakeSiblingPath(), CString(), nullptr, nullptr), 0);
    const CString out = m_folder.File("o");
    FakeScript script(L"-record " + Quoted(m_record));
    struct Case {
        std::function<int()> run;
        std::string items;  // what follows the program on the recorded line
    };
    const Case cases[] = {
        {[&] { return task.CopyStreams(L"v.mp4", 0, L"a.mp3", 1, out, L"mp4", nullptr); },
         "-i \"v.mp4\" -i \"a.mp3\" -map 0:0 -map 1:1 -f mp4 -vcodec copy -acodec copy -y"},
        {[&] { return task.GrabFrame(L"a.gif", out, 100, 0, 0, CString(), nullptr); },
         "-i \"a.gif\" -ss 0:00:00.100 -f image2 -vframes 1 -y"},
        {[&] { return task.GrabFrame(L"a.gif", out, 0, 161, 99, L"mjpeg", nullptr); },
         "-i \"a.gif\" -f mjpeg -s 160x98 -vframes 1 -y"},
        {[&] { return task.EncodeVideoOnly(L"a.gif", 25, 2, out, L"webm", L"libvpx", 0, 0, 1, -1, nullptr); },
         "-r 25/2 -i \"a.gif\" -f webm -vcodec libvpx -q:v 0 -an -y"},
        {[&] { return task.EncodeVideoOnly(L"a.gif", 0, 1, out, L"avi", L"mpeg4", 320, 240, 0, 4, nullptr); },
         "-i \"a.gif\" -f avi -vcodec mpeg4 -s 320x240 -q:v 4 -an -y"},
        {[&] { return task.ExtractFrames(L"a.gif", 1000, 2999, out, CString(), 0, 0, nullptr); },
         "-i \"a.gif\" -ss 0:00:01.000 -t 0:00:02.000 -f image2 -y"},
        {[&] { return task.ExtractFrames(L"a.gif", 0, 0, out, L"png", 64, 0, nullptr); },
         "-i \"a.gif\" -f png -y"},
    };
    for (const Case& c : cases) {
        DeleteFileW(m_record);
        EXPECT_EQ(c.run(), 0);
        const std::string line = RecordedLine();
        const std::string expected = "\"" + FakeSiblingPath().ToUtf8() + "\" " + c.items + " \"" + out.ToUtf8() +
                                     "\" -context ";
        EXPECT_EQ(line.substr(0, expected.size()), expected);
    }
}

class GrabVideoFrameTest : public EncodeTaskTest {
protected:
    void SetUp() override
    {
        EncodeTaskTest::SetUp();
        CModulePaths paths;
        paths.m_encoder = FakeSiblingPath();
        SetModulePaths(paths);
        m_image = m_folder.File("thumb.jpg");
    }
    void TearDown() override { SetModulePaths(CModulePaths()); }
    int Grab(const CString& script, CStopFlag* stop = nullptr)
    {
        DeleteFileW(m_image);
        FakeScript fake(script);
        return GrabVideoFrame(L"C:\\a.gif", m_image, 100, 0, 0, L"image2", stop);
    }
    CString m_image;
};

TEST_F(GrabVideoFrameTest, SucceedsOnlyWithANonEmptyImage)
{
    EXPECT_EQ(Grab(L"-write-output 100"), 0);
    EXPECT_EQ(Grab(L"-write-output 0"), -1);
    EXPECT_EQ(Grab(L"-exit 0"), -1);
    EXPECT_EQ(Grab(L"-write-output 100 -exit 3"), -1);
}

TEST_F(GrabVideoFrameTest, FlagOneKeepsAGoodResult)
{
    CStopFlag flag{1};
    EXPECT_EQ(Grab(L"-write-output 100", &flag), 0);
    CStopFlag stop{2};
    EXPECT_EQ(Grab(L"-write-output 100", &stop), -1);
}

TEST_F(GrabVideoFrameTest, MissingOrPlantedEncoderIsNeverRun)
{
    ASSERT_TRUE(CopyFileW(FakeSiblingPath(), m_folder.File("Tollwick.exe"), FALSE));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(m_folder.File(""));
    SetModulePaths(CModulePaths::Locate(m_folder.File("no-such-program-folder")));
    EXPECT_EQ(Grab(L"-record " + Quoted(m_record) + L" -write-output 100"), -1);
    SetModulePaths(CModulePaths());
    EXPECT_EQ(Grab(L"-record " + Quoted(m_record) + L" -write-output 100"), -1);
    SetCurrentDirectoryW(previous);
    EXPECT_FALSE(std::filesystem::exists(m_record.str()));
}

} // namespace
