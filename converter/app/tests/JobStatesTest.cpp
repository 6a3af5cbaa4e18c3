#include <gtest/gtest.h>

#include "JobStates.h"
#include "ThumbnailBox.h"

namespace {

struct LookCase {
    int state;
    const wchar_t* text;
    int32_t colour;
    int image;
};

TEST(JobStates, EachStateShowsItsTextColourAndImage)
{
    const LookCase cases[] = {
        {JOB_STARTED, nullptr, -1, 0},
        {JOB_PREPARING, L"Preparing...", 0x0080FF, 0},
        {JOB_OUTPUT_NAMED, nullptr, -1, -1},
        {JOB_CONVERTING, L"Converting...", 0xFFA000, 0},
        {JOB_OUTPUT_WRITTEN, nullptr, -1, -1},
        {JOB_COMPLETED, L"Completed.", -1, 1},
        {JOB_CANCELED, L"Canceled.", -1, 4},
        {JOB_SKIPPED_EXISTS, L"Canceled: file already exists.", -1, 2},
        {JOB_FAILED, L"Failed!", -1, 3},
        {JOB_SOURCE_MISSING, L"Failed: source file not exists.", -1, 3},
        {JOB_SOURCE_UNSUPPORTED, L"Failed: source file not supported.", -1, 3},
        {JOB_FOLDER_FAILED, L"Failed: can't create output folder.", -1, 3},
        {JOB_ENCODE_FAILED, L"Failed: can't convert to the specified format.", -1, 3},
        {0, nullptr, -1, -1},
        {99, nullptr, -1, -1},
    };
    for (const LookCase& c : cases) {
        SCOPED_TRACE(c.state);
        const JobStateLook look = GetJobStateLook(c.state);
        if (c.text)
            EXPECT_STREQ(c.text, look.text);
        else
            EXPECT_EQ(nullptr, look.text);
        EXPECT_EQ(c.colour, look.colour);
        EXPECT_EQ(c.image, look.image);
    }
}

struct FitCase {
    int width, height, boxWidth, boxHeight;
    bool shrinks;
    int fitWidth, fitHeight;
};

TEST(ThumbnailBox, PicturesShrinkInProportionButNeverGrow)
{
    const FitCase cases[] = {
        {400, 100, 100, 100, true, 100, 25},
        {100, 400, 100, 100, true, 25, 100},
        {50, 80, 100, 100, false, 50, 80},
        {100, 100, 100, 100, false, 100, 100},
        {300, 200, 120, 60, true, 90, 60},     // taller than the box's ratio: height decides
        {1000, 1, 100, 100, true, 100, 1},     // never a side of 0
        {1, 1000, 100, 100, true, 1, 100},
        {0, 10, 100, 100, false, 0, 10},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " in " << c.boxWidth << "x" << c.boxHeight);
        int w = -1, h = -1;
        EXPECT_EQ(c.shrinks, FitThumbnailSize(c.width, c.height, c.boxWidth, c.boxHeight, w, h));
        EXPECT_EQ(c.fitWidth, w);
        EXPECT_EQ(c.fitHeight, h);
    }
}

TEST(ThumbnailBox, SidesFromTheSettingsAreBounded)
{
    EXPECT_EQ(kMinThumbnailSide, BoundThumbnailSide(0));
    EXPECT_EQ(kMinThumbnailSide, BoundThumbnailSide(-40));
    EXPECT_EQ(100, BoundThumbnailSide(100));
    EXPECT_EQ(kMaxThumbnailSide, BoundThumbnailSide(100000));
    EXPECT_EQ(kMaxThumbnailSide, BoundThumbnailSide(0x7FFFFFFF));
}

} // namespace
