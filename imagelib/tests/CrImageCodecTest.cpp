// Loading and saving by format id.
#include "CrImage.h"
#include "CrMemFile.h"
#include "GifTestStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace giftest;

namespace {

// The dispatch takes its requests from the caller's info block.
struct Caller : CrImage {
    void Request(int32_t frame) { m_info.requestedFrame = frame; }
};

std::vector<uint8_t> TwoFrames()
{
    GifBytes g;
    g.Header(2, 2, Colors(4));
    for (int i = 0; i < 2; ++i) {
        ImageSpec s;
        s.width = 2;
        s.height = 2;
        s.pixels = {uint8_t(i), 1, 2, 3};
        g.Control(1, uint16_t(i + 4)).Image(s);
    }
    g.Trailer();
    return g.b;
}

void WriteFile(const char* name, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(name, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::vector<uint8_t> ReadFile(const char* name)
{
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(name, "rb");
    if (!f)
        return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF)
        bytes.push_back(uint8_t(c));
    std::fclose(f);
    return bytes;
}

} // namespace

TEST(CodecDispatch, DetectsAGifAmongTheCodecs)
{
    std::vector<uint8_t> bytes = TwoFrames();
    for (uint32_t id : {uint32_t(CRIMAGE_FORMAT_UNKNOWN), uint32_t(CRIMAGE_FORMAT_GIF)}) {
        CrImage image;
        image.SetRetrieveAllFrames(true);
        ASSERT_TRUE(image.Decode(bytes.data(), uint32_t(bytes.size()), id)) << id;
        EXPECT_EQ(image.GetType(), uint32_t(CRIMAGE_FORMAT_GIF));
        EXPECT_EQ(image.GetNumFrames(), 2);
        ASSERT_NE(image.GetFrame(1), nullptr);
        EXPECT_EQ(image.GetFrame(1)->GetFrameDelay(), 5u);
    }
}

TEST(CodecDispatch, UnknownFormatsAndMissingFiles)
{
    std::vector<uint8_t> junk(64, 0x42);
    struct Case {
        uint32_t id;
        const char* text;
    };
    // Auto-detection ends with the dispatch's text; a named codec leaves its own.
    for (Case c : {Case{0, "Decode: Unknown or wrong format"}, Case{9, "Decode: Unknown or wrong format"},
                   Case{CRIMAGE_FORMAT_BMP, "Error reading BMP info"}}) {
        CrImage image;
        EXPECT_FALSE(image.Decode(junk.data(), uint32_t(junk.size()), c.id));
        EXPECT_STREQ(image.GetLastError(), c.text) << c.id;
    }
    CrImage image;
    EXPECT_FALSE(image.Decode(static_cast<CrFile*>(nullptr), 0));
    EXPECT_STREQ(image.GetLastError(), "null file handler");
}

TEST(CodecDispatch, FailedDecodeKeepsThePictureAndReportsTheFrameCount)
{
    std::vector<uint8_t> bytes = TwoFrames();
    Caller image;
    ASSERT_TRUE(image.Create(5, 5, 8));
    image.Request(4);
    EXPECT_FALSE(image.Decode(bytes.data(), uint32_t(bytes.size()), CRIMAGE_FORMAT_GIF));
    EXPECT_EQ(image.GetNumFrames(), 2);
    EXPECT_EQ(image.GetWidth(), 5);
    image.Request(1);
    EXPECT_TRUE(image.Decode(bytes.data(), uint32_t(bytes.size()), CRIMAGE_FORMAT_GIF));
    EXPECT_EQ(image.GetWidth(), 2);
    EXPECT_EQ(image.GetPixelIndex(0, 1), 1);
}

TEST(CodecDispatch, SizeOnlyDecode)
{
    std::vector<uint8_t> bytes = TwoFrames();
    CrImage image;
    image.SetEscape(-1);
    ASSERT_TRUE(image.Decode(bytes.data(), uint32_t(bytes.size()), CRIMAGE_FORMAT_UNKNOWN));
    EXPECT_EQ(image.GetWidth(), 2);
    EXPECT_EQ(image.GetType(), uint32_t(CRIMAGE_FORMAT_GIF));
    EXPECT_FALSE(image.IsValid());
}

TEST(CodecDispatch, EncodesIntoMemory)
{
    CrImage image;
    ASSERT_TRUE(image.Create(3, 2, 8));
    image.SetPixelIndex(1, 1, 9);
    uint8_t* data = nullptr;
    int32_t size = 0;
    ASSERT_TRUE(image.Encode(&data, &size, CRIMAGE_FORMAT_GIF));
    ASSERT_NE(data, nullptr);
    CrImage back;
    ASSERT_TRUE(back.Decode(data, uint32_t(size), CRIMAGE_FORMAT_UNKNOWN));
    EXPECT_EQ(back.GetPixelIndex(1, 1), 9);
    EXPECT_FALSE(image.Encode(&data, &size, CRIMAGE_FORMAT_GIF));
    EXPECT_STREQ(image.GetLastError(), "the buffer must be empty");
    std::free(data);
}

TEST(CodecDispatch, EncodeErrors)
{
    CrImage image;
    CrMemFile file;
    file.Open();
    EXPECT_FALSE(image.Encode(&file, CRIMAGE_FORMAT_GIF));
    EXPECT_STREQ(image.GetLastError(), "null image!!!");
    ASSERT_TRUE(image.Create(1, 1, 8));
    EXPECT_FALSE(image.Encode(static_cast<CrFile*>(nullptr), CRIMAGE_FORMAT_GIF));
    EXPECT_STREQ(image.GetLastError(), "null file handler");
    for (uint32_t id : {0u, 7u}) {
        EXPECT_FALSE(image.Encode(&file, id));
        EXPECT_STREQ(image.GetLastError(), "Encode: Unknown format") << id;
    }
}

TEST(CodecDispatch, LoadAndSaveByPath)
{
    const char* name = "codec_dispatch_test.gif";
    WriteFile(name, TwoFrames());
    CrImage image;
    // Asked as JPEG, found as GIF by detection.
    ASSERT_TRUE(image.Load(L"codec_dispatch_test.gif", CRIMAGE_FORMAT_JPG));
    EXPECT_EQ(image.GetType(), uint32_t(CRIMAGE_FORMAT_GIF));
    image.SetPixelIndex(0, 0, 3);
    ASSERT_TRUE(image.Save(L"codec_dispatch_test.gif", CRIMAGE_FORMAT_GIF));
    CrImage back;
    ASSERT_TRUE(back.Load(L"codec_dispatch_test.gif"));
    EXPECT_EQ(back.GetPixelIndex(0, 0), 3);

    // A save that cannot encode leaves the file as it was.
    std::vector<uint8_t> before = ReadFile(name);
    CrImage empty;
    EXPECT_FALSE(empty.Save(L"codec_dispatch_test.gif", CRIMAGE_FORMAT_GIF));
    EXPECT_EQ(ReadFile(name), before);
    std::remove(name);

    CrImage missing;
    EXPECT_FALSE(missing.Load(L"no such file.gif", CRIMAGE_FORMAT_GIF));
    EXPECT_STREQ(missing.GetLastError(), "");
}

TEST(CodecDispatch, SaveReplacesTheTargetOnlyWhenComplete)
{
    const char* name = "codec_dispatch_save.png";
    const std::vector<uint8_t> old = {1, 2, 3};
    WriteFile(name, old);
    // A JPEG of a colour palette fails: the old file stays and no temporary file is left behind.
    CrImage palette;
    ASSERT_TRUE(palette.Create(4, 4, 8));
    palette.SetPaletteColor(1, 200, 10, 10);
    EXPECT_FALSE(palette.Save(L"codec_dispatch_save.png", CRIMAGE_FORMAT_JPG));
    EXPECT_EQ(ReadFile(name), old);
    EXPECT_TRUE(ReadFile("codec_dispatch_save.png.~save").empty());

    ASSERT_TRUE(palette.Save(L"codec_dispatch_save.png", CRIMAGE_FORMAT_PNG));
    CrImage back;
    ASSERT_TRUE(back.Load(L"codec_dispatch_save.png", CRIMAGE_FORMAT_PNG));
    EXPECT_EQ(back.GetType(), uint32_t(CRIMAGE_FORMAT_PNG));
    EXPECT_TRUE(ReadFile("codec_dispatch_save.png.~save").empty());
    std::remove(name);

    EXPECT_FALSE(palette.Save(L"no such folder/frame.png", CRIMAGE_FORMAT_PNG));
    EXPECT_FALSE(palette.Save(nullptr, CRIMAGE_FORMAT_PNG));
}

TEST(CodecDispatch, DecodesFromAStream)
{
    const char* name = "codec_dispatch_stream.gif";
    WriteFile(name, TwoFrames());
    FILE* f = std::fopen(name, "rb");
    ASSERT_NE(f, nullptr);
    CrImage image;
    EXPECT_TRUE(image.Decode(f, CRIMAGE_FORMAT_UNKNOWN));
    std::fclose(f);
    std::remove(name);
    EXPECT_EQ(image.GetWidth(), 2);
}
