#include "ModulePaths.h"
#include "ProbeProcess.h"
#include "RunnerTestSupport.h"

#include <gtest/gtest.h>

namespace {

CString Fixture(const char* name)
{
    return CString::FromUtf8(SourcePath(std::string("converter/catalog/tests/data/probe/") + name).c_str());
}

// The probe's XML file named on the recorded command line (the argument after -o).
CString RecordedXmlPath(const CString& record)
{
    const std::string text = ReadFileText(record);
    const size_t at = text.find(" -o \"");
    if (at == std::string::npos)
        return CString();
    const size_t end = text.find('"', at + 5);
    return CString::FromUtf8(text.substr(at + 5, end - at - 5).c_str());
}

class ProbeTaskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CModulePaths paths;
        paths.m_probe = FakeSiblingPath();
        SetModulePaths(paths);
        m_record = m_folder.File("record.txt");
    }
    void TearDown() override { SetModulePaths(CModulePaths()); }

    int Probe(const CString& input, const CString& script, CMediaInfo& info)
    {
        DeleteFileW(m_record);
        FakeScript fake(L"-record " + Quoted(m_record) + L" " + script);
        return info.Probe(input, nullptr);
    }

    ScratchFolder m_folder;
    CString m_record;
};

TEST_F(ProbeTaskTest, ReadsWhatTheProbeWroteAndRemovesTheFile)
{
    CMediaInfo info;
    info.m_bitRate = 1;
    ASSERT_EQ(Probe(L"C:\\clips\\a movie.mp4", L"-copy-to-xml " + Quoted(Fixture("movie.xml")), info), 0);
    EXPECT_EQ(info.m_streams.size(), 4u);
    EXPECT_EQ(info.m_videoStreams.size(), 2u);
    EXPECT_EQ(info.m_firstAudio, 1);
    EXPECT_EQ(info.m_flags, 4u | MEDIA_INFO_HAS_VIDEO | MEDIA_INFO_HAS_AUDIO);
    const std::string line = ReadFileText(m_record);
    EXPECT_EQ(line.find("\"" + FakeSiblingPath().ToUtf8() + "\" \"C:\\clips\\a movie.mp4\" -o \""), 0u) << line;
    const CString xml = RecordedXmlPath(m_record);
    ASSERT_FALSE(xml.IsEmpty());
    EXPECT_NE(xml.Find(L"~Wu"), -1);
    EXPECT_FALSE(std::filesystem::exists(xml.str()));
}

TEST_F(ProbeTaskTest, FailuresGiveMinusOne)
{
    struct Case {
        const wchar_t* input;
        CString script;
    } const cases[] = {
        {L"C:\\a.gif", L"-copy-to-xml " + Quoted(Fixture("movie.xml")) + L" -exit 1"},
        {L"C:\\a.gif", L"-copy-to-xml " + Quoted(Fixture("truncated.xml"))},
        {L"C:\\a.gif", L"-exit 0"},  // the file stays empty
    };
    for (const Case& c : cases) {
        CMediaInfo info;
        EXPECT_EQ(Probe(c.input, c.script, info), -1) << c.script.ToUtf8();
        EXPECT_FALSE(std::filesystem::exists(RecordedXmlPath(m_record).str()));
    }
}

TEST_F(ProbeTaskTest, TextInputFailsAfterTheProbeRan)
{
    CMediaInfo info;
    EXPECT_EQ(Probe(L"C:\\clips\\NOTES.TXT", L"-copy-to-xml " + Quoted(Fixture("movie.xml")), info), -1);
    EXPECT_TRUE(std::filesystem::exists(m_record.str()));
    // What was read stays; the streams were not sorted.
    EXPECT_EQ(info.m_streams.size(), 4u);
    EXPECT_TRUE(info.m_videoStreams.empty());
}

TEST_F(ProbeTaskTest, MissingProbeFailsAndResets)
{
    SetModulePaths(CModulePaths::Locate(m_folder.File("nowhere")));
    CMediaInfo info;
    info.m_size = 5;
    EXPECT_EQ(Probe(L"C:\\a.gif", L"-exit 0", info), -1);
    EXPECT_EQ(info.m_size, 0);
    EXPECT_FALSE(std::filesystem::exists(m_record.str()));
}

TEST_F(ProbeTaskTest, HungProbeIsEndedAtItsTimeLimit)
{
    CProbeTask task;
    task.SetProgram(FakeSiblingPath());
    task.SetTimeLimit(400);
    CMediaInfo info;
    FakeScript fake(L"-sleep 30000");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(task.Probe(L"C:\\a.gif", info, nullptr), -1);
    EXPECT_LE(SecondsSince(start), 2.5);
    EXPECT_EQ(task.GetRunEnd(), MODULE_TIMED_OUT);
}

} // namespace
