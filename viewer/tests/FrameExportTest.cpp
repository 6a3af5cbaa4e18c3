#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "CrImage.h"
#include "FrameExport.h"
#include "ViewerTestSupport.h"

namespace {

class FrameExportTest : public ScratchFolderTest {
protected:
    // A 4 x 3 palette frame, as the decoder gives them, with a different colour per column.
    static CrImage Frame()
    {
        CrImage frame(4, 3, 8, CRIMAGE_FORMAT_GIF);
        for (uint32_t i = 0; i < 4; i++)
            frame.SetPaletteColor(i, CrRgbQuad{uint8_t(60 * i), uint8_t(200 - 40 * i), 90, 0});
        for (int y = 0; y < 3; y++)
            for (int x = 0; x < 4; x++)
                frame.SetPixelIndex(x, y, uint8_t(x));
        return frame;
    }
    std::string Bytes(const std::string& name) const
    {
        std::ifstream in(m_folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(FrameExportTest, EachFormatDecodesToTheFrame)
{
    struct Case {
        const char* name;
        uint32_t format;
        bool exact;
    } cases[] = {{"frame.png", CRIMAGE_FORMAT_PNG, true}, {"frame.BMP", CRIMAGE_FORMAT_BMP, true},
                 {"frame.jpeg", CRIMAGE_FORMAT_JPG, false}};
    const CrImage frame = Frame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CString error;
        ASSERT_EQ(SaveFrameImage(frame, Path(c.name), error), 0) << error.ToUtf8();
        CrImage back;
        ASSERT_TRUE(back.Load(Path(c.name), c.format));
        ASSERT_EQ(back.GetWidth(), 4);
        ASSERT_EQ(back.GetHeight(), 3);
        EXPECT_EQ(back.GetBpp(), 24u);
        // JPEG's colours of so small a picture bleed into each other: its size is what counts.
        for (int x = 0; c.exact && x < 4; x++) {
            CrRgbQuad want = frame.GetPixelColor(x, 1, false), got = back.GetPixelColor(x, 1, false);
            EXPECT_EQ(got.rgbRed, want.rgbRed) << x;
            EXPECT_EQ(got.rgbGreen, want.rgbGreen) << x;
            EXPECT_EQ(got.rgbBlue, want.rgbBlue) << x;
        }
    }
}

TEST_F(FrameExportTest, OtherExtensionsAreRefusedAndNothingIsWritten)
{
    const CrImage frame = Frame();
    std::ofstream(m_folder / "mine.gif", std::ios::binary) << "GIF89a my own";
    for (const char* name : {"mine.gif", "frame.txt", "frame"}) {
        SCOPED_TRACE(name);
        CString error;
        EXPECT_EQ(SaveFrameImage(frame, Path(name), error), -1);
        EXPECT_EQ(error, CString(kFrameFormatRefused));
    }
    EXPECT_EQ(Bytes("mine.gif"), "GIF89a my own");
    EXPECT_FALSE(std::filesystem::exists(m_folder / "frame.txt"));
    EXPECT_FALSE(std::filesystem::exists(m_folder / "frame"));
}

TEST_F(FrameExportTest, AFailedSaveKeepsTheFileThatWasThere)
{
    std::ofstream(m_folder / "kept.png", std::ios::binary) << "the old picture";
    // The new file is written beside the target first; here that place is taken by a folder.
    std::filesystem::create_directory(m_folder / "kept.png.~save");
    CString error;
    EXPECT_EQ(SaveFrameImage(Frame(), Path("kept.png"), error), -1);
    EXPECT_FALSE(error.IsEmpty());
    EXPECT_EQ(Bytes("kept.png"), "the old picture");
    // An empty frame fails too, without touching the file.
    std::filesystem::remove(m_folder / "kept.png.~save");
    EXPECT_EQ(SaveFrameImage(CrImage(), Path("kept.png"), error), -1);
    EXPECT_EQ(Bytes("kept.png"), "the old picture");
}

} // namespace
