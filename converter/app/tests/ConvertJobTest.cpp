// Conversion jobs in a folder of their own: with the stand-in encoder and probe, and with the
// fake encoder for the ways an encoder can fail or be stopped.
#include <gtest/gtest.h>

#include "ConvertJob.h"
#include "ConvertListItem.h"
#include "JobStates.h"
#include "ScriptedPrompt.h"
#include "TalvenaTestSupport.h"

namespace {

enum Encoder { STAND_IN, FAKE, MISSING };

struct JobCase {
    const char* name;
    Encoder encoder;
    const wchar_t* script;  // the fake encoder's
    int policy;
    bool existingOutput;
    std::vector<ScriptedPrompt::Answer> answers;
    const wchar_t* outputName;
    int result;
    std::vector<int> states;
    const wchar_t* written;   // the output file the run wrote, null for none
    int policyAfter;
};

const std::vector<int> kDone{JOB_STARTED, JOB_PREPARING, JOB_OUTPUT_NAMED, JOB_CONVERTING, JOB_OUTPUT_WRITTEN,
                             JOB_COMPLETED};
const std::vector<int> kSkipped{JOB_STARTED, JOB_PREPARING, JOB_SKIPPED_EXISTS};
const std::vector<int> kEncodeFailed{JOB_STARTED, JOB_PREPARING, JOB_OUTPUT_NAMED, JOB_CONVERTING, JOB_ENCODE_FAILED};
const wchar_t kWrite[] = L"-write-output 500";

class ConvertJobRun : public ConverterTest, public ::testing::WithParamInterface<JobCase> {
protected:
    void SetUp() override
    {
        ConverterTest::SetUp();
        m_source = PutSampleGif(m_scratch, "anim.gif");
        m_item.m_settings.m_source = m_source;
        m_item.m_settings.m_outputFolder = OutFolder();
        m_item.m_settings.m_preset = FirstPreset(L"MC_mp4");
    }

    int Run(IFileExistsPrompt* prompt)
    {
        return RunPumping([&] { return RunConvertJob(&m_item, &m_sink, m_window.Handle(), &m_stop, prompt); });
    }

    CString m_source;
    CConvertListItem m_item;
    RecordingSink m_sink;
    CallbackWindow m_window;
    CStopFlag m_stop{0};
};

TEST_P(ConvertJobRun, EndsInItsStateAndKeepsWhatItMust)
{
    const JobCase& c = GetParam();
    CModulePaths modules = c.encoder == STAND_IN ? StandInModules() : FakeEncoderModules();
    if (c.encoder == MISSING)
        modules.m_encoder = m_scratch.File("no-such-encoder.exe");
    SetModulePaths(modules);
    FakeScript script(c.script ? c.script : L"");
    m_settings.m_overwrite = c.policy;
    const CString old = OutFile(L"anim.mp4");
    if (c.existingOutput)
        WriteTextFile(std::filesystem::path(old.str()), "old");
    if (c.outputName)
        m_item.m_settings.m_outputName = c.outputName;
    ScriptedPrompt prompt(c.answers);

    EXPECT_EQ(c.result, Run(&prompt));
    EXPECT_EQ(c.states, m_sink.m_states);
    EXPECT_EQ(c.states.back(), m_item.m_state);
    if (c.written) {
        const CString written = OutFile(c.written);
        EXPECT_EQ(written, m_item.m_outputPath);
        EXPECT_GT(GetFileSize64(written), 0);
        EXPECT_EQ(GetFileSize64(written), m_item.m_outputSize);
        EXPECT_EQ(JOB_NAME_CHOSEN | JOB_OUTPUT_DONE, m_item.m_jobFlags);
    } else {
        EXPECT_FALSE(m_item.m_jobFlags & JOB_OUTPUT_DONE);
    }
    if (c.existingOutput && (!c.written || OutFile(c.written) != old)) {
        EXPECT_EQ("old", ReadFileText(old)) << "the older output stays";
    }
    if (c.encoder == STAND_IN) {
        // Finished: the output described by the probe, with a thumbnail grabbed by the encoder.
        EXPECT_TRUE(m_item.m_flags & ITEM_OUTPUT_PROBED);
        const CMediaStreamInfo* video = m_item.m_outputInfo.GetFirstVideoStream();
        ASSERT_NE(nullptr, video);
        EXPECT_EQ(CString(L"20 frames"), m_item.GetOutputText(CConvertListItem::TEXT_FRAMES));
        // The encoder grabs the thumbnail frame as a JPEG picture.
        EXPECT_TRUE(m_item.m_outputThumbnail.IsValid());
        EXPECT_EQ(CString(L"66x50"), m_item.GetOutputText(CConvertListItem::TEXT_RESOLUTION));
        EXPECT_FALSE(m_item.GetOutputText(CConvertListItem::TEXT_DURATION).IsEmpty());
    }
    EXPECT_EQ(c.policyAfter, m_settings.m_overwrite.load());
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_TRUE(FileExists(m_source));
}

const JobCase kJobCases[] = {
    {"ConvertsWithTheStandIns", STAND_IN, nullptr, 0, false, {}, nullptr, 0, kDone, L"anim.mp4", 0},
    {"AlwaysOverwriteReplacesTheOldOutput", FAKE, kWrite, 12, true, {}, nullptr, 0, kDone, L"anim.mp4", 12},
    {"AlwaysCancelKeepsTheOldOutput", FAKE, kWrite, 13, true, {}, nullptr, 1, kSkipped, nullptr, 13},
    {"AlwaysCancelConvertsANewOutput", FAKE, kWrite, 13, false, {}, nullptr, 0, kDone, L"anim.mp4", 13},
    {"AlwaysNewName", FAKE, kWrite, 11, true, {}, nullptr, 0, kDone, L"anim (1).mp4", 11},
    {"AnswerNewName", FAKE, kWrite, 0, true, {{EXISTS_NEW_NAME, L"fresh"}}, nullptr, 0, kDone, L"fresh.mp4", 0},
    {"AnswerNewNameRemembered", FAKE, kWrite, 0, true, {{OVERWRITE_NEW_NAME, L"fresh"}}, nullptr, 0, kDone,
     L"fresh.mp4", 11},
    {"AnswerOverwrite", FAKE, kWrite, 0, true, {{EXISTS_OVERWRITE, nullptr}}, nullptr, 0, kDone, L"anim.mp4", 0},
    {"AnswerOverwriteRemembered", FAKE, kWrite, 0, true, {{OVERWRITE_ALWAYS, nullptr}}, nullptr, 0, kDone,
     L"anim.mp4", 12},
    {"AnswerCancelRemembered", FAKE, kWrite, 0, true, {{OVERWRITE_CANCEL, nullptr}}, nullptr, 1, kSkipped, nullptr,
     13},
    {"FailedPromptCancels", FAKE, kWrite, 0, true, {{-1, nullptr}}, nullptr, 1, kSkipped, nullptr, 0},
    {"FailedEncodeKeepsTheOldOutput", FAKE, L"-write-output 500 -exit 2", 12, true, {}, nullptr, -1, kEncodeFailed,
     nullptr, 12},
    {"EmptyEncodeKeepsTheOldOutput", FAKE, L"-write-output 0", 12, true, {}, nullptr, -1, kEncodeFailed, nullptr, 12},
    {"MissingEncoder", MISSING, nullptr, 12, true, {}, nullptr, -1, kEncodeFailed, nullptr, 12},
    {"OutputNameLosesItsExtension", FAKE, kWrite, 0, false, {}, L"clip.avi", 0, kDone, L"clip.mp4", 0},
    {"OutputNameLosesItsFolder", FAKE, kWrite, 0, false, {}, L"..\\..\\elsewhere\\clip", 0, kDone, L"clip.mp4", 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, ConvertJobRun, ::testing::ValuesIn(kJobCases),
                         [](const ::testing::TestParamInfo<JobCase>& info) { return info.param.name; });

class ConvertJobEdge : public ConvertJobRun {};

TEST_F(ConvertJobEdge, MissingSourceCreatesNothing)
{
    DeleteFileW(m_source);
    ScriptedPrompt prompt({});
    EXPECT_EQ(-1, Run(&prompt));
    EXPECT_EQ((std::vector<int>{JOB_STARTED, JOB_SOURCE_MISSING}), m_sink.m_states);
    EXPECT_EQ((std::vector<std::string>{"Failed: source file not exists."}), m_sink.m_texts);
    EXPECT_TRUE(std::filesystem::is_empty(m_scratch.Path("out")));
}

TEST_F(ConvertJobEdge, UnreadableSourceFailsToConvert)
{
    WriteTextFile(std::filesystem::path(m_source.str()), "this is no animation");
    ScriptedPrompt prompt({});
    EXPECT_EQ(-1, Run(&prompt));
    EXPECT_EQ(kEncodeFailed, m_sink.m_states);
    EXPECT_EQ("Failed: can't convert to the specified format.", m_sink.m_texts.back());
    EXPECT_TRUE(std::filesystem::is_empty(m_scratch.Path("out")));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(ConvertJobEdge, NoOutputFolderIsAFailureNotTheDriveRoot)
{
    m_item.m_settings.m_outputFolder.Empty();
    ScriptedPrompt prompt({});
    EXPECT_EQ(-1, Run(&prompt));
    EXPECT_EQ((std::vector<int>{JOB_STARTED, JOB_PREPARING, JOB_FOLDER_FAILED}), m_sink.m_states);
    EXPECT_EQ("Failed: can't create output folder.", m_sink.m_texts.back());
}

TEST_F(ConvertJobEdge, TheSourceIsNeverItsOwnOutput)
{
    SetModulePaths(FakeEncoderModules());
    FakeScript script(kWrite);
    m_item.m_settings.m_preset = FirstPreset(L"MC_gif");
    m_item.m_settings.m_options = CONVERT_SAME_FOLDER;
    const std::string original = ReadFileText(m_source);
    for (int policy : {OVERWRITE_ALWAYS, OVERWRITE_PROMPT}) {
        SCOPED_TRACE(policy);
        m_settings.m_overwrite = policy;
        ScriptedPrompt prompt({{EXISTS_OVERWRITE, nullptr}});
        EXPECT_EQ(0, Run(&prompt));
        EXPECT_EQ(m_scratch.File("anim (1).gif"), m_item.m_outputPath);
        EXPECT_EQ(original, ReadFileText(m_source));
        DeleteFileW(m_item.m_outputPath);
    }
}

TEST_F(ConvertJobEdge, AFailedMoveKeepsTheOldOutput)
{
    SetModulePaths(FakeEncoderModules());
    FakeScript script(kWrite);
    m_settings.m_overwrite = OVERWRITE_ALWAYS;
    // A folder of the output's name cannot be replaced by the new file.
    std::filesystem::create_directories(m_scratch.Path("out") / "anim.mp4" / "inside");
    ScriptedPrompt prompt({});
    EXPECT_EQ(-1, Run(&prompt));
    EXPECT_EQ(kEncodeFailed, m_sink.m_states);
    EXPECT_TRUE(std::filesystem::is_directory(m_scratch.Path("out") / "anim.mp4" / "inside"));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(ConvertJobEdge, StopDuringTheRunRemovesThePartialFile)
{
    SetModulePaths(FakeEncoderModules());
    for (const wchar_t* script : {L"-write-output 300 -progress-for 20000",
                                  L"-write-output 300 -progress-for 20000 -ignore-stop"}) {
        SCOPED_TRACE(CString(script).ToUtf8());
        FakeScript fake(script);
        m_stop = 0;
        m_sink = RecordingSink();
        m_sink.m_onProgress = [&] { m_stop = 2; };
        ScriptedPrompt prompt({});
        EXPECT_EQ(1, Run(&prompt));
        EXPECT_EQ((std::vector<int>{JOB_STARTED, JOB_PREPARING, JOB_OUTPUT_NAMED, JOB_CONVERTING, JOB_CANCELED}),
                  m_sink.m_states);
        EXPECT_EQ("Canceled.", m_sink.m_texts.back());
        EXPECT_EQ(1, m_sink.m_progressCalls) << "later progress is answered with stop and not taken";
        EXPECT_FALSE(FileExists(OutFile(L"anim.mp4")));
        EXPECT_TRUE(Leftovers().empty());
    }
}

TEST_F(ConvertJobEdge, StopWhileAskingStartsNoEncoder)
{
    SetModulePaths(FakeEncoderModules());
    const CString record = m_scratch.File("record.txt");
    FakeScript script(L"-record \"" + record + L"\" -write-output 500");
    WriteTextFile(std::filesystem::path(OutFile(L"anim.mp4").str()), "old");
    ScriptedPrompt prompt({{EXISTS_NEW_NAME, L"fresh"}});
    prompt.m_onAsk = [&] { m_stop = 2; };
    EXPECT_EQ(1, Run(&prompt));
    EXPECT_EQ(JOB_CANCELED, m_item.m_state);
    EXPECT_FALSE(FileExists(record)) << "the encoder never ran";
    EXPECT_FALSE(FileExists(OutFile(L"fresh.mp4")));
}

struct OptionCase {
    const char* name;
    int startMs, endMs, volumePercent, rotation, hflip, grey;
    int wantStart, wantDuration, wantEnd, wantVolume;
};

class ConvertJobOptions : public ConverterTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(ConvertJobOptions, FollowTheItemAndCarryNoSound)
{
    const OptionCase& c = GetParam();
    CConvertItem item;
    item.m_settings.m_source = PutSampleGif(m_scratch, "anim.gif");
    item.m_settings.m_preset = FirstPreset(L"MC_mp4");
    item.m_settings.m_startTime = c.startMs;
    item.m_settings.m_endTime = c.endMs;
    item.m_settings.m_volumePercent = c.volumePercent;
    item.m_settings.m_rotation = c.rotation;
    item.m_settings.m_hflip = c.hflip;
    item.m_settings.m_grey = c.grey;
    CStopFlag stop{0};
    CConvertJob job(&item, nullptr, nullptr, &stop);
    ASSERT_EQ(0, job.PrepareOptions(m_scratch.File("temp.mp4")));
    EXPECT_EQ(item.m_settings.m_source, job.m_options.m_input);
    EXPECT_EQ(m_scratch.File("temp.mp4"), job.m_options.m_output);
    EXPECT_TRUE(item.m_flags & ITEM_SOURCE_PROBED);
    EXPECT_EQ(c.wantStart, job.m_options.m_startTime);
    EXPECT_EQ(c.wantDuration, job.m_options.m_duration);
    EXPECT_EQ(c.wantEnd, item.m_settings.m_endTime);
    EXPECT_EQ(c.wantVolume, job.m_options.m_volume);
    EXPECT_EQ(c.rotation, job.m_options.m_rotation);
    EXPECT_EQ(c.hflip, job.m_options.m_hflip);
    EXPECT_EQ(c.grey, job.m_options.m_grey);
    EXPECT_EQ(0, job.m_options.m_vflip);
    EXPECT_NE(-1, job.BuildCommandLine(job.m_options).Find(L" -an"));
}

const OptionCase kOptionCases[] = {
    {"Unchanged", 0, -1, 100, 0, 0, 0, 0, 0, -1, 256},
    {"PartWithHalfVolume", 1000, 4000, 50, 90, 1, 1, 1000, 3000, 4000, 128},
    {"EndBeforeStartMeansToTheEnd", 5000, 3000, 100, 270, 0, 0, 5000, 0, -1, 256},
    {"NegativeVolumeIsUnchanged", -20, 0, -10, 0, 0, 1, 0, 0, 0, 256},
};

INSTANTIATE_TEST_SUITE_P(Cases, ConvertJobOptions, ::testing::ValuesIn(kOptionCases),
                         [](const ::testing::TestParamInfo<OptionCase>& info) { return info.param.name; });

TEST(ConvertJobProgress, RecordsAreKeptUntilAStopIsAsked)
{
    CConvertItem item;
    RecordingSink sink;
    CStopFlag stop{0};
    CConvertJob job(&item, &sink, nullptr, &stop);
    CEncoderProgress record{};
    record.m_duration = 2000000;
    record.m_time = 500000;
    record.m_size = 4096;
    EXPECT_EQ(0, job.OnStart(record));
    EXPECT_EQ(500000, item.m_progress.m_time);
    EXPECT_EQ(0, sink.m_progressCalls);

    record.m_time = 1000000;
    EXPECT_EQ(0, job.OnProgress(record));
    EXPECT_EQ(1000000, item.m_progress.m_time);
    EXPECT_EQ(1, sink.m_progressCalls);

    stop = 2;
    record.m_time = 1500000;
    EXPECT_EQ(1, job.OnProgress(record));
    EXPECT_EQ(1000000, item.m_progress.m_time);
    EXPECT_EQ(1, sink.m_progressCalls);
    EXPECT_EQ(0, job.OnFinish());
}

} // namespace
