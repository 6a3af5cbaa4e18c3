#include "CatalogTestSupport.h"
#include "MediaFormatting.h"
#include "MediaInfoReader.h"

#include <cstdint>

#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace {

CString Fixture(const char* name)
{
    return CString::FromUtf8(SourcePath(std::string("converter/catalog/tests/data/probe/") + name).c_str());
}

TEST(MediaInfoReader, ReadsFileFactsStreamsAndTags)
{
    CMediaInfo info;
    ASSERT_EQ(CMediaInfoReader::Read(Fixture("movie.xml"), info), 0);
    EXPECT_EQ(info.m_type, 1);
    EXPECT_EQ(info.m_flags, 4u);
    EXPECT_EQ(info.m_format, L"mov,mp4,m4a,3gp,3g2,mj2");
    EXPECT_EQ(info.m_size, 5368709120LL);
    EXPECT_EQ(info.m_startTime, -23220);
    EXPECT_EQ(info.m_duration, 7260500000LL);
    EXPECT_EQ(info.m_bitRate, 5915000);
    EXPECT_EQ(info.m_streamCount, 4);
    ASSERT_EQ(info.m_streams.size(), 4u);

    const CMediaStreamInfo& video = *info.m_streams[0];
    EXPECT_EQ(video.m_type, MEDIA_STREAM_VIDEO);
    EXPECT_EQ(video.m_flags, 1u);
    EXPECT_EQ(video.m_format, L"h264");
    EXPECT_EQ(video.m_duration, 7260480000LL);
    EXPECT_EQ(video.m_frames, 217597);
    EXPECT_EQ(video.m_bitRate, 5700000);
    EXPECT_EQ(std::make_pair(video.m_width, video.m_height), std::make_pair(1280, 720));
    EXPECT_EQ(std::make_pair(video.m_aspectNum, video.m_aspectDen), std::make_pair(16, 9));
    EXPECT_EQ(std::make_pair(video.m_rateNum, video.m_rateDen), std::make_pair(30000, 1001));

    // Sound streams take channels and rate, and no picture values even when the file has them.
    const CMediaStreamInfo& audio = *info.m_streams[1];
    EXPECT_EQ(audio.m_type, MEDIA_STREAM_AUDIO);
    EXPECT_EQ(audio.m_startTime, -23220);
    EXPECT_EQ(audio.m_channels, 6);
    EXPECT_EQ(audio.m_sampleRate, 48000);
    EXPECT_EQ(audio.m_width, 0);
    // And picture streams no sound values.
    EXPECT_EQ(info.m_streams[3]->m_channels, 0);
    EXPECT_EQ(info.m_streams[2]->m_type, 3);

    const CMediaMetaData& meta = info.m_metaData;
    EXPECT_EQ(meta.m_year, 2011);
    EXPECT_EQ(meta.m_track, 7);
    EXPECT_EQ(meta.m_title, CString::FromUtf8("\xC3\x9Cnterwegs \xE2\x80\x93 a trip"));
    EXPECT_EQ(meta.m_author, L"Brenmoor");
    EXPECT_EQ(meta.m_copyright, L"(c) nobody");
    EXPECT_EQ(meta.m_comment, L"line one\nline two");
    EXPECT_EQ(meta.m_album, L"Holidays");
    EXPECT_EQ(meta.m_genre, L"Travel");
}

TEST(MediaInfoReader, StreamsAreSortedAfterReading)
{
    CMediaInfo info;
    ASSERT_EQ(CMediaInfoReader::Read(Fixture("movie.xml"), info), 0);
    info.SplitStreams();
    EXPECT_EQ(info.m_flags, 4u | MEDIA_INFO_HAS_VIDEO | MEDIA_INFO_HAS_AUDIO);
    ASSERT_EQ(info.m_videoStreams.size(), 2u);
    EXPECT_EQ(info.m_videoStreams[1], info.m_streams[3].get());
    EXPECT_EQ(info.GetFirstVideoStream(), info.m_streams[0].get());
    EXPECT_EQ(info.GetFirstAudioStream(), info.m_streams[1].get());
}

TEST(MediaInfoReader, FileWithoutStreamsKeepsItsFlags)
{
    CMediaInfo info;
    ASSERT_EQ(CMediaInfoReader::Read(Fixture("still-gif.xml"), info), 0);
    info.SplitStreams();
    EXPECT_TRUE(info.m_streams.empty());
    EXPECT_EQ(info.m_flags, 1u);
    EXPECT_EQ(info.m_streamCount, 1);
    EXPECT_EQ(info.m_firstVideo, -1);
    EXPECT_EQ(info.m_firstAudio, -1);
    EXPECT_EQ(info.GetFirstVideoStream(), nullptr);
    EXPECT_EQ(info.m_duration, 2000000);
}

TEST(MediaInfoReader, UnscannableValuesBecomeZero)
{
    CMediaInfo info;
    ASSERT_EQ(CMediaInfoReader::Read(Fixture("odd-values.xml"), info), 0);
    ASSERT_EQ(info.m_streams.size(), 3u);
    struct Case {
        int width, height, aspectNum, aspectDen, rateNum, rateDen;
    } const expected[] = {
        {0, 0, 0, 0, 25, 0},  // empty size, "abc" aspect, a rate without its second part
        {0, 0, 4, 0, 12, 1},  // "abc" size, "4/x", a rate after a blank
    };
    for (size_t i = 0; i < 2; ++i) {
        const CMediaStreamInfo& s = *info.m_streams[i];
        const Case& c = expected[i];
        EXPECT_EQ(std::make_tuple(s.m_width, s.m_height, s.m_aspectNum, s.m_aspectDen, s.m_rateNum, s.m_rateDen),
                  std::make_tuple(c.width, c.height, c.aspectNum, c.aspectDen, c.rateNum, c.rateDen))
            << "stream " << i;
    }
    EXPECT_EQ(info.m_streams[1]->m_bitRate, 0);
    EXPECT_EQ(info.m_streams[2]->m_channels, 0);
    EXPECT_EQ(info.m_streams[2]->m_sampleRate, 22050);
    EXPECT_EQ(info.m_streams[2]->m_width, 0);
    // Attributes the file leaves out keep what the description held.
    EXPECT_EQ(info.m_format, L"gif");
    EXPECT_EQ(info.m_size, 0);
    EXPECT_TRUE(info.m_metaData.m_title.IsEmpty());
}

TEST(MediaInfoReader, MissingAttributesLeaveEarlierValues)
{
    CMediaInfo info;
    info.m_size = 99;
    info.m_metaData.m_album = L"kept";
    ASSERT_EQ(CMediaInfoReader::Read(Fixture("odd-values.xml"), info), 0);
    EXPECT_EQ(info.m_size, 99);
    EXPECT_EQ(info.m_metaData.m_album, L"kept");
}

TEST(MediaInfoReader, RefusesWhatIsNotADescription)
{
    const char* const refused[] = {"no-file.xml", "wrong-root.xml", "truncated.xml", "not-there.xml"};
    for (const char* name : refused) {
        CMediaInfo info;
        EXPECT_EQ(CMediaInfoReader::Read(Fixture(name), info), -1) << name;
    }
    CMediaInfo info;
    EXPECT_EQ(CMediaInfoReader::Read(CString(), info), -1);
}

TEST(MediaInfoReader, DetectsTheEncoding)
{
    ScratchFolder folder;
    // UTF-16 with a byte-order mark.
    const std::u16string xml = u"\uFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
                               u"<MediaInfo><File Format=\"caf\u00E9\" Size=\"3\"/></MediaInfo>";
    WriteTextFile(folder.Path("utf16.xml"), std::string(reinterpret_cast<const char*>(xml.data()), xml.size() * 2));
    CMediaInfo info;
    ASSERT_EQ(CMediaInfoReader::Read(folder.File("utf16.xml"), info), 0);
    EXPECT_EQ(info.m_format, CString::FromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(info.m_size, 3);
}

} // namespace

namespace {

TEST(MediaInfoReader, NumbersPastTheRangeStayAtItsEnds)
{
    struct Case {
        const char* text;
        int64_t value;
    } const cases[] = {{"10000000000000", 10000000000000LL},
                       {"9223372036854775807", INT64_MAX},
                       {"9223372036854775808", INT64_MAX},
                       {"99999999999999999999", INT64_MAX},
                       {"-99999999999999999999", INT64_MIN},
                       {"12abc", 12}};
    for (const Case& c : cases) {
        const std::string xml = std::string("<MediaInfo><File Duration=\"") + c.text + "\" Size=\"" + c.text +
                                "\"><Streams><Stream Type=\"1\" Duration=\"" + c.text + "\" Frames=\"" + c.text +
                                "\"/></Streams></File></MediaInfo>";
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(xml.c_str()));
        CMediaInfo info;
        ASSERT_EQ(CMediaInfoReader::ReadDocument(document, info), 0) << c.text;
        EXPECT_EQ(info.m_duration, c.value) << c.text;
        EXPECT_EQ(info.m_size, c.value) << c.text;
        ASSERT_EQ(info.m_streams.size(), 1u);
        EXPECT_EQ(info.m_streams[0]->m_duration, c.value) << c.text;
        EXPECT_EQ(info.m_streams[0]->m_frames, c.value) << c.text;
        // And the texts made of them.
        EXPECT_FALSE(FormatDuration64(info.m_duration, false, true, true).IsEmpty());
    }
}

} // namespace
