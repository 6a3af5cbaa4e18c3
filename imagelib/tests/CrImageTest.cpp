#include "TestImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

TestImage* MakeFrame(int32_t width, uint32_t delay)
{
    auto* frame = new TestImage(width, 2, 8, CRIMAGE_FORMAT_GIF);
    frame->SetFrameDelay(delay);
    return frame;
}

} // namespace

TEST(CrImageLifeCycle, DefaultsAtConstruction)
{
    TestImage image(CRIMAGE_FORMAT_PNG);
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(CRIMAGE_FORMAT_PNG, image.GetType());
    EXPECT_EQ(90, image.GetJpegQuality());
    EXPECT_EQ(1, image.GetJpegScale());
    EXPECT_EQ(-1, image.GetTransIndex());
    EXPECT_EQ(255, image.GetAlphaMax());
    EXPECT_TRUE(image.Info().enabled);
    EXPECT_TRUE(image.Info().littleEndianHost);
    EXPECT_EQ(96, image.GetXDPI());
    EXPECT_EQ(96, image.GetYDPI());
    EXPECT_EQ(3780, image.Head().biXPelsPerMeter);
    EXPECT_EQ(3780, image.Head().biYPelsPerMeter);
    EXPECT_EQ(nullptr, image.GetBits());
    EXPECT_EQ(0u, image.GetSize());
    EXPECT_EQ(nullptr, image.GetFrame(0));
}

TEST(CrImageLifeCycle, CreateNormalisesDepthAndLaysOutTheBlock)
{
    struct Case { uint32_t bpp, depth, colors, rowBytes; };
    const Case cases[] = {
        {0, 1, 2, 4}, {1, 1, 2, 4}, {2, 4, 16, 4}, {3, 4, 16, 4}, {4, 4, 16, 4}, {5, 8, 256, 8},
        {8, 8, 256, 8}, {16, 24, 0, 16}, {24, 24, 0, 16}, {32, 24, 0, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bpp);
        TestImage image;
        ASSERT_NE(nullptr, image.Create(5, 3, c.bpp, CRIMAGE_FORMAT_BMP));
        EXPECT_EQ(c.depth, image.GetBpp());
        EXPECT_EQ(c.colors, image.GetNumColors());
        EXPECT_EQ(c.rowBytes, image.GetRowBytes());
        EXPECT_EQ(c.rowBytes * 3, image.Head().biSizeImage);
        EXPECT_EQ(40u + c.colors * 4 + c.rowBytes * 3, image.GetSize());
        EXPECT_EQ(CRIMAGE_FORMAT_BMP, image.GetType());
        EXPECT_EQ(0, memcmp(&image.Head(), image.GetDIB(), 40));
        EXPECT_EQ(image.GetDIB() + 40 + c.colors * 4, image.GetBits(0));
        EXPECT_EQ(image.GetBits(0) + 2 * c.rowBytes, image.GetBits(2));
        EXPECT_EQ(nullptr, image.GetBits(3));
    }
}

TEST(CrImageLifeCycle, CreateRefusesBadSizes)
{
    struct Case { int32_t width, height; uint32_t bpp; const char* error; };
    const Case cases[] = {
        {0, 10, 24, "CrImage::Create : width and height must be greater than zero"},
        {10, 0, 24, "CrImage::Create : width and height must be greater than zero"},
        {-5, 10, 8, "CrImage::Create : width and height must be greater than zero"},
        {10, -1, 1, "CrImage::Create : width and height must be greater than zero"},
        {20000, 20000, 24, "CRIMAGE_MAX_MEMORY exceeded"},
        // Fits by bits, but the 4-byte row padding makes the block far too big.
        {1, 0x7FFFFFFF, 1, "CRIMAGE_MAX_MEMORY exceeded"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        TestImage image(10, 10, 8);
        EXPECT_EQ(nullptr, image.Create(c.width, c.height, c.bpp));
        EXPECT_STREQ(c.error, image.GetLastError());
        EXPECT_FALSE(image.IsValid());
    }
}

TEST(CrImageLifeCycle, CreateLeavesPixelsAndPaletteZeroed)
{
    TestImage image(31, 17, 8);
    image.Clear(0xAB);
    image.SetPaletteColor(3, 1, 2, 3);
    ASSERT_NE(nullptr, image.Create(31, 17, 8));
    EXPECT_TRUE(AllBytesAre(image.GetDIB() + 40, image.GetSize() - 40, 0));
    ASSERT_NE(nullptr, image.Create(300, 200, 24));
    EXPECT_TRUE(AllBytesAre(image.GetBits(), image.GetRowBytes() * 200, 0));
}

TEST(CrImageLifeCycle, CreateKeepsResolutionAndImportantColours)
{
    TestImage image(4, 4, 8);
    image.SetXDPI(300);
    image.SetClrImportant(20);
    ASSERT_NE(nullptr, image.Create(8, 8, 8));
    EXPECT_EQ(11811, image.Head().biXPelsPerMeter);
    EXPECT_EQ(11811, image.DibHeader().biXPelsPerMeter);
    EXPECT_EQ(20u, image.GetClrImportant());
}

TEST(CrImageLifeCycle, ResolutionRule)
{
    TestImage image(2, 2, 24);
    struct Case { int32_t dpi, stored, ppm; };
    const Case cases[] = {{0, 96, 3780}, {-4, 96, 3780}, {72, 72, 2835}, {183, 183, 7205}};
    for (const Case& c : cases) {
        image.SetXDPI(c.dpi);
        image.SetYDPI(c.dpi);
        EXPECT_EQ(c.stored, image.GetXDPI());
        EXPECT_EQ(c.stored, image.GetYDPI());
        EXPECT_EQ(c.ppm, image.Head().biXPelsPerMeter);
        EXPECT_EQ(c.ppm, image.DibHeader().biYPelsPerMeter);
    }
}

TEST(CrImageLifeCycle, ClearFillsByDepth)
{
    struct Case { uint32_t bpp; uint8_t value, expected; };
    const Case cases[] = {{1, 1, 0xFF}, {1, 0, 0x00}, {4, 3, 0x33}, {4, 0x5A, 0xAA}, {8, 7, 7}, {24, 0x80, 0x80}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bpp);
        TestImage image(9, 3, c.bpp);
        image.Clear(c.value);
        EXPECT_TRUE(AllBytesAre(image.GetBits(), image.GetRowBytes() * 3, c.expected));
    }
    TestImage empty;
    empty.Clear(1); // nothing to fill
}

TEST(CrImageLifeCycle, CopyIsDeepAndTakesTheInfoBlock)
{
    TestImage src(6, 4, 8, CRIMAGE_FORMAT_GIF);
    src.SetGrayPalette();
    FillPattern(src);
    src.SetTransIndex(5);
    src.SetFrameDelay(7);
    ASSERT_TRUE(src.AlphaCreate());
    src.AlphaSet(2, 1, 9);
    ASSERT_TRUE(src.SelectionCreate());
    src.SelectionSet(1, 1, 1);

    TestImage copy(src);
    ASSERT_TRUE(copy.IsValid());
    EXPECT_NE(src.GetDIB(), copy.GetDIB());
    EXPECT_EQ(src.GetSize(), copy.GetSize());
    EXPECT_EQ(0, memcmp(src.GetDIB(), copy.GetDIB(), src.GetSize()));
    EXPECT_EQ(5, copy.GetTransIndex());
    EXPECT_EQ(7u, copy.GetFrameDelay());
    EXPECT_EQ(CRIMAGE_FORMAT_GIF, copy.GetType());
    EXPECT_EQ(9, copy.AlphaGet(2, 1));
    EXPECT_NE(src.AlphaGetPointer(), copy.AlphaGetPointer());
    EXPECT_TRUE(copy.SelectionIsInside(1, 1));
    EXPECT_FALSE(copy.SelectionIsInside(0, 0));

    TestImage bare;
    ASSERT_TRUE(bare.Copy(src, false, false, false));
    EXPECT_EQ(src.GetPaletteColor(200), bare.GetPaletteColor(200));
    EXPECT_TRUE(AllBytesAre(bare.GetBits(), bare.GetRowBytes() * 4, 0));
    EXPECT_FALSE(bare.AlphaIsValid());
    EXPECT_FALSE(bare.SelectionIsValid());

    TestImage assigned(3, 3, 24);
    assigned = src;
    EXPECT_EQ(0, memcmp(src.GetDIB(), assigned.GetDIB(), src.GetSize()));
}

TEST(CrImageLifeCycle, CopyOfAnEmptyImageFailsWithoutPixels)
{
    TestImage empty(CRIMAGE_FORMAT_JPG);
    TestImage target(4, 4, 24);
    EXPECT_FALSE(target.Copy(empty));
    EXPECT_FALSE(target.IsValid());
    EXPECT_EQ(CRIMAGE_FORMAT_JPG, target.GetType());
}

TEST(CrImageLifeCycle, CopyInfoOnlyIntoAnEmptyImageAndNeverItsBuffers)
{
    TestImage src(5, 5, 24);
    src.SetFrameDelay(33);
    TestImage empty;
    empty.CopyInfo(src);
    EXPECT_EQ(33u, empty.GetFrameDelay());
    EXPECT_EQ(nullptr, empty.Info().pFirstRow);
    EXPECT_EQ(nullptr, empty.GetBits());

    TestImage full(2, 2, 24);
    full.CopyInfo(src);
    EXPECT_EQ(0u, full.GetFrameDelay());
}

TEST(CrImageLifeCycle, TransferMovesEverythingAndEmptiesTheSource)
{
    TestImage src(7, 3, 4, CRIMAGE_FORMAT_BMP);
    src.SetFrameDelay(12);
    ASSERT_TRUE(src.AlphaCreate());
    ASSERT_TRUE(src.AllocFrames(2));
    src.PutFrame(1, MakeFrame(3, 40));
    uint8_t* dib = src.GetDIB();

    TestImage target(2, 2, 24);
    ASSERT_TRUE(target.AllocFrames(1));
    target.PutFrame(0, MakeFrame(1, 1));
    ASSERT_TRUE(target.Transfer(src, true));
    EXPECT_EQ(dib, target.GetDIB());
    EXPECT_EQ(7, target.GetWidth());
    EXPECT_EQ(12u, target.GetFrameDelay());
    EXPECT_TRUE(target.AlphaIsValid());
    EXPECT_EQ(2, target.GetNumFrames());
    ASSERT_NE(nullptr, target.GetFrame(1));
    EXPECT_EQ(40u, target.GetFrame(1)->GetFrameDelay());
    EXPECT_EQ(nullptr, target.GetFrame(0));

    EXPECT_FALSE(src.IsValid());
    EXPECT_FALSE(src.AlphaIsValid());
    EXPECT_EQ(0, src.GetWidth());
    EXPECT_EQ(nullptr, src.GetFrame(-1));
    EXPECT_FALSE(target.Transfer(target));
}

TEST(CrImageLifeCycle, TransferWithoutFramesKeepsTheTargetsFrames)
{
    TestImage target(2, 2, 24);
    ASSERT_TRUE(target.AllocFrames(3));
    target.PutFrame(2, MakeFrame(4, 5));
    TestImage src(9, 9, 8);
    ASSERT_TRUE(target.Transfer(src, false));
    EXPECT_EQ(9, target.GetWidth());
    // The frame count now comes from the source, the array is still the target's own.
    EXPECT_EQ(0, target.GetNumFrames());
    target.Info().frameCount = 3;
    ASSERT_NE(nullptr, target.GetFrame(-1));
    EXPECT_EQ(5u, target.GetFrame(-1)->GetFrameDelay());
}

TEST(CrImageLifeCycle, FrameCountFromTheInfoBlockNeverOverrunsTheArray)
{
    TestImage image(2, 2, 8);
    ASSERT_TRUE(image.AllocFrames(2));
    image.PutFrame(0, MakeFrame(1, 10));
    image.PutFrame(1, MakeFrame(1, 20));
    TestImage other(3, 3, 8);
    other.Info().frameCount = 9;
    ASSERT_TRUE(image.Copy(other));
    EXPECT_EQ(9, image.GetNumFrames());
    ASSERT_NE(nullptr, image.GetFrame(-1));
    EXPECT_EQ(20u, image.GetFrame(-1)->GetFrameDelay());
    EXPECT_EQ(nullptr, image.GetFrame(5));
    EXPECT_FALSE(image.PutFrame(2, nullptr));
}

TEST(CrImageLifeCycle, GetFrameByIndex)
{
    TestImage image(2, 2, 8);
    EXPECT_EQ(nullptr, image.GetFrame(0));
    ASSERT_TRUE(image.AllocFrames(3));
    for (int32_t i = 0; i < 3; i++)
        image.PutFrame(i, MakeFrame(1, 10u * static_cast<uint32_t>(i + 1)));
    struct Case { int32_t n; uint32_t delay; };
    const Case cases[] = {{0, 10}, {2, 30}, {-1, 30}, {-7, 30}};
    for (const Case& c : cases) {
        ASSERT_NE(nullptr, image.GetFrame(c.n));
        EXPECT_EQ(c.delay, image.GetFrame(c.n)->GetFrameDelay());
    }
    EXPECT_EQ(nullptr, image.GetFrame(3));
    image.Info().frameCount = 0;
    EXPECT_EQ(nullptr, image.GetFrame(-1));
    EXPECT_TRUE(image.DestroyFrames());
    EXPECT_TRUE(image.DestroyFrames());
}

TEST(CrImageGhost, SharesBuffersAndNeverFreesThem)
{
    TestImage owner(4, 4, 24);
    ASSERT_TRUE(owner.AlphaCreate());
    ASSERT_TRUE(owner.AllocFrames(1));
    owner.PutFrame(0, MakeFrame(2, 3));
    {
        TestImage ghost(8, 8, 8); // its own buffers go first
        ghost.Ghost(owner);
        EXPECT_TRUE(ghost.IsGhost());
        EXPECT_EQ(owner.GetDIB(), ghost.GetDIB());
        EXPECT_EQ(owner.AlphaGetPointer(), ghost.AlphaGetPointer());
        EXPECT_EQ(owner.GetFrame(0), ghost.GetFrame(0));
        ghost.SetPixelColor(1, 1, Rgb(9, 8, 7));
        EXPECT_FALSE(ghost.Destroy());
        EXPECT_FALSE(ghost.DestroyFrames());
        EXPECT_EQ(nullptr, ghost.Create(2, 2, 24));
        EXPECT_FALSE(ghost.SelectionCreate());
        TestImage other(3, 3, 24);
        EXPECT_FALSE(ghost.Copy(other));
        EXPECT_FALSE(ghost.Transfer(other));
        EXPECT_EQ(4, ghost.GetWidth());
        ghost.AlphaDelete();
        EXPECT_FALSE(ghost.AlphaIsValid());
    }
    EXPECT_EQ(Rgb(9, 8, 7), owner.GetPixelColor(1, 1, false));
    EXPECT_TRUE(owner.AlphaIsValid());
    EXPECT_EQ(255, owner.AlphaGet(3, 3));
    EXPECT_NE(nullptr, owner.GetFrame(0));
}

TEST(CrImageGhost, CopyOfAGhostIsAGhost)
{
    TestImage owner(4, 4, 24);
    TestImage ghost;
    ghost.Ghost(owner);
    TestImage copy(ghost);
    EXPECT_TRUE(copy.IsGhost());
    EXPECT_EQ(owner.GetDIB(), copy.GetDIB());
}

TEST(CrImageAccess, TypeAndCodecOptionSlots)
{
    TestImage image(CRIMAGE_FORMAT_JPG);
    EXPECT_TRUE(image.SetType(CRIMAGE_FORMAT_ICO));
    EXPECT_EQ(CRIMAGE_FORMAT_ICO, image.GetType());
    EXPECT_FALSE(image.SetType(6));
    EXPECT_EQ(CRIMAGE_FORMAT_UNKNOWN, image.GetType());
    image.SetType(CRIMAGE_FORMAT_PNG);

    EXPECT_EQ(3u, CrImage::GetOptionSlot(3));
    EXPECT_EQ(0u, CrImage::GetOptionSlot(6));
    EXPECT_TRUE(image.SetCodecOption(0x10, CRIMAGE_FORMAT_JPG));
    EXPECT_TRUE(image.SetCodecOption(1)); // own format
    EXPECT_TRUE(image.SetCodecOption(2, 77));
    EXPECT_EQ(0x10u, image.GetCodecOption(CRIMAGE_FORMAT_JPG));
    EXPECT_EQ(2u, image.GetCodecOption(CRIMAGE_FORMAT_PNG));
    EXPECT_EQ(2u, image.GetCodecOption());
    EXPECT_EQ(0u, image.Info().codecOptions[0]);
}

TEST(CrImageAccess, TransparentIndexIsKeptWithinTheColours)
{
    struct Case { uint32_t bpp; int32_t index, stored; };
    const Case cases[] = {{8, 300, 0}, {8, 255, 255}, {8, -1, -1}, {1, 1, 1}, {1, 2, 0},
                          {24, 5, 0}, {24, 0, 0}, {24, -1, -1}};
    for (const Case& c : cases) {
        TestImage image(2, 2, c.bpp);
        image.SetTransIndex(c.index);
        EXPECT_EQ(c.stored, image.GetTransIndex()) << c.bpp << " bpp, index " << c.index;
        EXPECT_EQ(c.stored >= 0, image.IsTransparent());
    }
}

TEST(CrImageAccess, TransparentColourByDepth)
{
    TestImage indexed(2, 2, 8);
    indexed.SetPaletteColor(4, 10, 20, 30);
    indexed.SetTransColor(Rgb(1, 2, 3, 99));
    EXPECT_EQ(Rgb(1, 2, 3, 0), indexed.GetTransColor());
    indexed.SetTransIndex(4);
    EXPECT_EQ(Rgb(10, 20, 30), indexed.GetTransColor());

    TestImage rgb(2, 2, 24);
    rgb.SetTransColor(Rgb(5, 6, 7, 8));
    rgb.Info().transIndex = 0;
    EXPECT_EQ(Rgb(5, 6, 7, 0), rgb.GetTransColor());
}

TEST(CrImageAccess, SmallFieldAccessors)
{
    TestImage image(3, 3, 24);
    image.Info().jpegQuality = 89.5f;
    EXPECT_EQ(90, image.GetJpegQuality());
    image.Info().jpegQuality = 89.4f;
    EXPECT_EQ(89, image.GetJpegQuality());
    image.SetOffset(4, -2);
    int32_t x = 0, y = 0;
    image.GetOffset(&x, &y);
    EXPECT_EQ(4, x);
    EXPECT_EQ(-2, y);
    image.SetEscape(-1);
    EXPECT_EQ(-1, image.GetEscape());
    image.SetDisposalMethod(3);
    EXPECT_EQ(3, image.GetDisposalMethod());
    image.SetRetrieveAllFrames(true);
    EXPECT_TRUE(image.GetRetrieveAllFrames());
    EXPECT_TRUE(image.IsInside(0, 0));
    EXPECT_TRUE(image.IsInside(2, 2));
    EXPECT_FALSE(image.IsInside(3, 0));
    EXPECT_FALSE(image.IsInside(0, -1));
    image.SetLastError(std::string(400, 'x').c_str());
    EXPECT_EQ(255u, strlen(image.GetLastError()));
}

TEST(CrImageAccess, FileByteOrderFollowsTheHostFlag)
{
    TestImage image;
    EXPECT_EQ(0x1234, image.FileToHost16(0x1234));
    image.Info().littleEndianHost = false;
    EXPECT_EQ(0x3412, image.FileToHost16(0x1234));
    EXPECT_EQ(0x78563412u, image.FileToHost32(0x12345678));
    CrBitmapInfoHeader header{};
    header.biSize = 40;
    header.biWidth = 1;
    header.biBitCount = 8;
    image.FileToHost(&header);
    EXPECT_EQ(40u << 24, header.biSize);
    EXPECT_EQ(1 << 24, header.biWidth);
    EXPECT_EQ(8 << 8, header.biBitCount);
}

#ifdef _WIN32
TEST(CrImageAccess, CopyToHandleHoldsTheWholeBlock)
{
    TestImage empty;
    EXPECT_EQ(nullptr, empty.CopyToHandle());
    TestImage image(5, 3, 8);
    FillPattern(image);
    HGLOBAL block = static_cast<HGLOBAL>(image.CopyToHandle());
    ASSERT_NE(nullptr, block);
    ASSERT_GE(GlobalSize(block), image.GetSize());
    const void* data = GlobalLock(block);
    EXPECT_EQ(0, memcmp(data, image.GetDIB(), image.GetSize()));
    GlobalUnlock(block);
    GlobalFree(block);
}
#endif
