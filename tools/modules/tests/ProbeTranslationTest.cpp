#include "ProbeTranslation.h"
#include "TestPaths.h"

#include <climits>
#include <fstream>
#include <iterator>

#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace {

std::string Fixture(const char* name)
{
    std::ifstream in(SourcePath(std::string("tools/modules/tests/data/") + name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

pugi::xml_node Translated(const char* name, pugi::xml_document& document)
{
    std::string xml;
    EXPECT_TRUE(TranslateProbeXml(Fixture(name), xml)) << name;
    EXPECT_TRUE(document.load_string(xml.c_str()));
    return document.child("MediaInfo").child("File");
}

TEST(ProbeTranslation, AnimatedGif)
{
    pugi::xml_document document;
    const pugi::xml_node file = Translated("gif.ffprobe.xml", document);
    EXPECT_EQ(file.attribute("Type").as_int(), 1);
    EXPECT_EQ(file.attribute("Flags").as_int(), 1);
    EXPECT_STREQ(file.attribute("Format").value(), "gif");
    EXPECT_EQ(file.attribute("Size").as_llong(), 7814);
    EXPECT_EQ(file.attribute("Duration").as_llong(), 2000000);
    EXPECT_EQ(file.attribute("BitRate").as_int(), 31256);
    EXPECT_EQ(file.attribute("Streams").as_int(), 1);
    const pugi::xml_node stream = file.child("Streams").child("Stream");
    EXPECT_EQ(stream.attribute("Type").as_int(), 1);
    EXPECT_STREQ(stream.attribute("Format").value(), "gif");
    EXPECT_EQ(stream.attribute("Frames").as_int(), 20);
    EXPECT_STREQ(stream.attribute("Resolution").value(), "65x49");
    EXPECT_STREQ(stream.attribute("Aspect").value(), "65/49");
    EXPECT_STREQ(stream.attribute("FrameRate").value(), "10/1");
    EXPECT_EQ(stream.attribute("Duration").as_llong(), 2000000);
    EXPECT_FALSE(file.child("MetaData"));
}

TEST(ProbeTranslation, WebmStreamsWithoutOwnDurationOrFrameCount)
{
    pugi::xml_document document;
    const pugi::xml_node file = Translated("webm.ffprobe.xml", document);
    EXPECT_STREQ(file.attribute("Format").value(), "matroska,webm");
    const pugi::xml_node stream = file.child("Streams").child("Stream");
    EXPECT_STREQ(stream.attribute("Format").value(), "vp8");
    // The file's duration and the counted packets stand in.
    EXPECT_EQ(stream.attribute("Duration").as_llong(), 2000000);
    EXPECT_EQ(stream.attribute("Frames").as_int(), 20);
    EXPECT_STREQ(file.child("MetaData").child_value("Title"), "clip");
}

TEST(ProbeTranslation, SoundStreamAndTags)
{
    pugi::xml_document document;
    const pugi::xml_node file = Translated("mp4-with-sound.ffprobe.xml", document);
    EXPECT_EQ(file.attribute("Type").as_int(), 1);
    EXPECT_EQ(file.attribute("Flags").as_int(), 3);
    const pugi::xml_node audio = file.child("Streams").child("Stream").next_sibling("Stream");
    EXPECT_EQ(audio.attribute("Type").as_int(), 2);
    EXPECT_STREQ(audio.attribute("Format").value(), "aac");
    EXPECT_EQ(audio.attribute("Channels").as_int(), 1);
    EXPECT_EQ(audio.attribute("SampleRate").as_int(), 44100);
    EXPECT_TRUE(audio.attribute("Resolution").empty());
    // The default streams are marked.
    EXPECT_EQ(audio.attribute("Flags").as_int() & 1, 1);
    const pugi::xml_node meta = file.child("MetaData");
    EXPECT_EQ(meta.attribute("Year").as_int(), 2013);
    EXPECT_EQ(meta.attribute("Track").as_int(), 4);
    EXPECT_STREQ(meta.child_value("Title"), "\xC3\x9Cnterwegs");
    EXPECT_STREQ(meta.child_value("Author"), "Brenmoor");
    EXPECT_STREQ(meta.child_value("Genre"), "Test");
    EXPECT_FALSE(meta.child("Album"));
}

TEST(ProbeTranslation, RefusesOtherDocuments)
{
    std::string xml;
    EXPECT_FALSE(TranslateProbeXml("", xml));
    EXPECT_FALSE(TranslateProbeXml("<ffprobe><streams/></ffprobe>", xml));
    EXPECT_FALSE(TranslateProbeXml("<ffprobe><format", xml));
}

TEST(ProbeTranslation, SecondsAsMicroseconds)
{
    struct Case {
        const char* text;
        long long us;
    } const cases[] = {{"2.000000", 2000000}, {"0.023220", 23220}, {"-0.023220", -23220}, {"7260.5", 7260500000LL},
                       {"12", 12000000},       {"N/A", 0},         {"", 0},              {"1.1234567", 1123456},
                       // Past the range of microseconds: saturated, never wrapped.
                       {"9223372036854.775807", LLONG_MAX}, {"9223372036854.775808", LLONG_MAX},
                       {"10000000000000", LLONG_MAX},       {"99999999999999999999", LLONG_MAX},
                       {"-99999999999999999999", -LLONG_MAX}, {"9223372036853.999999", 9223372036853999999LL}};
    for (const Case& c : cases)
        EXPECT_EQ(SecondsToMicroseconds(c.text), c.us) << c.text;
}

} // namespace
