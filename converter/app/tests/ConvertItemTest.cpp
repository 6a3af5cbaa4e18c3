// Conversion items: what a source GIF tells about itself, its thumbnail in the settings' box,
// resets between runs, and the output's description after a completed conversion.
#include <gtest/gtest.h>

#include "ConvertListItem.h"
#include "CrImage.h"
#include "JobStates.h"
#include "TalvenaTestSupport.h"

namespace {

class ConvertItemTest : public ConverterTest {
protected:
    CString PutGif(const char* name, int width, int height)
    {
        CrImage picture(width, height, 8);
        const CString path = m_scratch.File(name);
        EXPECT_TRUE(picture.Save(path, CRIMAGE_FORMAT_GIF));
        return path;
    }
};

struct SourceCase {
    int width, height, boxWidth, boxHeight;
    int thumbWidth, thumbHeight;
    const wchar_t* resolution;
};

TEST_F(ConvertItemTest, SourcesGetTheirTextsAndAThumbnailThatFitsTheBox)
{
    const SourceCase cases[] = {
        {400, 100, 100, 100, 100, 25, L"400x100"},
        {50, 80, 100, 100, 50, 80, L"50x80"},
        {400, 100, 40, 40, 40, 10, L"400x100"},
        {30, 600, 100, 100, 5, 100, L"30x600"},
    };
    for (const SourceCase& c : cases) {
        SCOPED_TRACE(CString(c.resolution).ToUtf8());
        m_settings.m_thumbnailWidth = c.boxWidth;
        m_settings.m_thumbnailHeight = c.boxHeight;
        const CString path = PutGif("picture.gif", c.width, c.height);
        CConvertListItem item;
        ASSERT_EQ(0, item.SetSource(path));
        EXPECT_EQ(path, item.m_settings.m_source);
        EXPECT_EQ(c.thumbWidth, item.m_sourceThumbnail.GetWidth());
        EXPECT_EQ(c.thumbHeight, item.m_sourceThumbnail.GetHeight());
        EXPECT_EQ(24u, item.m_sourceThumbnail.GetBpp());
        EXPECT_EQ(CString(c.resolution), item.GetSourceText(CConvertListItem::TEXT_RESOLUTION));
        EXPECT_EQ(CString(L"1 frames"), item.GetSourceText(CConvertListItem::TEXT_FRAMES));
        EXPECT_EQ(FormatKilobytes(GetFileSize64(path)), item.GetSourceText(CConvertListItem::TEXT_SIZE));
        EXPECT_FALSE(item.m_flags & ITEM_SOURCE_PROBED) << "the job probes the source, not the list";
    }
}

TEST_F(ConvertItemTest, AnAnimationCountsItsFrames)
{
    CConvertListItem item;
    ASSERT_EQ(0, item.SetSource(PutSampleGif(m_scratch, "anim.gif")));
    EXPECT_EQ(CString(L"20 frames"), item.GetSourceText(CConvertListItem::TEXT_FRAMES));
    EXPECT_EQ(CString(L"65x49"), item.GetSourceText(CConvertListItem::TEXT_RESOLUTION));
}

TEST_F(ConvertItemTest, MissingAndForeignFilesAreRefusedWithTheReason)
{
    WriteTextFile(m_scratch.Path("text.gif"), "no picture in here");
    WriteTextFile(m_scratch.Path("empty.gif"), "");
    struct Case {
        const char* name;
        int result;
        int failure;
    } const cases[] = {{"missing.gif", -1, JOB_SOURCE_MISSING},
                       {"text.gif", -1, JOB_SOURCE_UNSUPPORTED},
                       {"empty.gif", -1, JOB_SOURCE_UNSUPPORTED},
                       {"anim.gif", 0, 0}};
    PutSampleGif(m_scratch, "anim.gif");
    for (const Case& c : cases) {
        CConvertListItem item;
        const CString path = m_scratch.File(c.name);
        EXPECT_EQ(c.result, item.SetSource(path)) << c.name;
        EXPECT_EQ(c.failure, item.m_sourceFailure) << c.name;
        EXPECT_EQ(path, item.m_settings.m_source) << "the row can still name the file";
    }
}

TEST(ConvertItemTexts, SizesInWholeKilobytes)
{
    EXPECT_EQ(CString(L"0 KB"), FormatKilobytes(1023));
    EXPECT_EQ(CString(L"1 KB"), FormatKilobytes(1024));
    EXPECT_EQ(CString(L"1 KB"), FormatKilobytes(2047));
}

TEST_F(ConvertItemTest, ResetKeepsTheUsersChoicesUnlessAsked)
{
    CConvertListItem item;
    ASSERT_EQ(0, item.SetSource(PutSampleGif(m_scratch, "anim.gif")));
    item.m_settings.m_rotation = 90;
    item.m_settings.m_outputName = L"clip";
    item.m_outputPath = L"C:\\out\\clip.mp4";
    item.m_outputSize = 10;
    item.m_state = JOB_COMPLETED;
    item.m_jobFlags = JOB_NAME_CHOSEN | JOB_OUTPUT_DONE;
    item.m_flags = ITEM_OUTPUT_PROBED | ITEM_OUTPUT_THUMBNAIL;
    item.m_progress.m_time = 5;
    item.m_outputThumbnail.Create(4, 4, 24);
    item.SetOutputText(CConvertListItem::TEXT_SIZE, L"3 KB");

    item.Reset(0);
    EXPECT_EQ(90, item.m_settings.m_rotation);
    EXPECT_EQ(CString(L"clip"), item.m_settings.m_outputName);
    EXPECT_TRUE(item.m_outputPath.IsEmpty());
    EXPECT_EQ(-1, item.m_outputSize);
    EXPECT_EQ(0, item.m_state);
    EXPECT_EQ(0, item.m_jobFlags);
    EXPECT_EQ(0u, item.m_flags);
    EXPECT_EQ(0, item.m_progress.m_time);
    EXPECT_FALSE(item.m_outputThumbnail.IsValid());
    EXPECT_TRUE(item.GetOutputText(CConvertListItem::TEXT_SIZE).IsEmpty());
    EXPECT_TRUE(item.m_sourceThumbnail.IsValid());
    EXPECT_FALSE(item.GetSourceText(CConvertListItem::TEXT_FRAMES).IsEmpty());

    item.Reset(1);
    EXPECT_EQ(0, item.m_settings.m_rotation);
    EXPECT_TRUE(item.m_settings.m_source.IsEmpty());
    EXPECT_EQ(-1, item.m_settings.m_endTime);
    EXPECT_EQ(100, item.m_settings.m_volumePercent);
}

// The fake sibling as probe and encoder: the probe copies a description, the thumbnail grab
// writes no picture. Each run is recorded.
class ConvertItemFinish : public ConvertItemTest {
protected:
    void SetUp() override
    {
        ConvertItemTest::SetUp();
        CModulePaths modules;
        modules.m_probe = modules.m_encoder = WindowsPath(FAKE_SIBLING_PATH);
        SetModulePaths(modules);
        m_record = m_scratch.File("record.txt");
        const CString xml = CString::FromUtf8(SourcePath("converter/catalog/tests/data/probe/movie.xml").c_str());
        m_script = std::make_unique<FakeScript>(L"-record " + Quoted(m_record) + L" -copy-to-xml " + Quoted(xml));
        m_item.m_outputPath = m_scratch.File("clip.mp4");
        WriteTextFile(m_scratch.Path("clip.mp4"), "video");
    }
    int ProbeRuns() const
    {
        const std::string text = ReadFileText(m_record);
        int runs = 0;
        for (size_t at = text.find(" -o \""); at != std::string::npos; at = text.find(" -o \"", at + 1))
            ++runs;
        return runs;
    }

    CConvertListItem m_item;
    CString m_record;
    std::unique_ptr<FakeScript> m_script;
};

TEST_F(ConvertItemFinish, NothingUnlessCompleted)
{
    for (int state : std::initializer_list<int>{0, JOB_CONVERTING, JOB_CANCELED, JOB_ENCODE_FAILED}) {
        m_item.SetState(state);
        EXPECT_EQ(0, m_item.Finish());
    }
    EXPECT_EQ(0, ProbeRuns());
    EXPECT_FALSE(m_item.m_flags & ITEM_OUTPUT_PROBED);
    EXPECT_TRUE(m_item.GetOutputText(CConvertListItem::TEXT_SIZE).IsEmpty());
}

TEST_F(ConvertItemFinish, ACompletedOutputIsProbedOnce)
{
    m_item.SetState(JOB_COMPLETED);
    EXPECT_EQ(0, m_item.Finish());
    EXPECT_EQ(0, m_item.Finish());
    EXPECT_EQ(1, ProbeRuns());
    EXPECT_TRUE(m_item.m_flags & ITEM_OUTPUT_PROBED);
    EXPECT_FALSE(m_item.m_flags & ITEM_OUTPUT_THUMBNAIL) << "the grab wrote no picture";
    EXPECT_EQ(FormatKilobytes(5368709120LL), m_item.GetOutputText(CConvertListItem::TEXT_SIZE));
    EXPECT_EQ(CString(L"2:01:00"), m_item.GetOutputText(CConvertListItem::TEXT_DURATION));
    EXPECT_EQ(CString(L"217597 frames"), m_item.GetOutputText(CConvertListItem::TEXT_FRAMES));
    EXPECT_TRUE(m_item.GetOutputText(CConvertListItem::TEXT_RESOLUTION).IsEmpty()) << "no thumbnail, no size text";
    EXPECT_TRUE(Leftovers().empty());
}

} // namespace
