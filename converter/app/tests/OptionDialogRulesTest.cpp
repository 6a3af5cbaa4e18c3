// The settings dialog's file-exists policy and the advanced options' rotation, both ways.
#include <gtest/gtest.h>

#include "OptionDialogRules.h"

namespace {

TEST(OptionDialogRules, OverwritePolicy)
{
    struct Case {
        int overwrite, policy, storedBack;
    };
    const Case cases[] = {{0, 0, 0}, {11, 1, 11}, {12, 2, 12}, {13, 3, 13}, {5, 0, 0}, {-1, 0, 0}, {14, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.policy, PolicyFromOverwrite(c.overwrite)) << c.overwrite;
        EXPECT_EQ(c.storedBack, OverwriteFromPolicy(PolicyFromOverwrite(c.overwrite))) << c.overwrite;
    }
    EXPECT_EQ(0, OverwriteFromPolicy(7));
}

TEST(OptionDialogRules, Rotation)
{
    struct Case {
        int degrees, rotate, index;
    };
    const Case cases[] = {{0, 0, 0}, {90, 1, 0}, {180, 1, 1}, {270, 1, 2}, {45, 1, 0}, {360, 1, 2}};
    for (const Case& c : cases) {
        int rotate = -1, index = -1;
        RotationToChoice(c.degrees, rotate, index);
        EXPECT_EQ(c.rotate, rotate) << c.degrees;
        EXPECT_EQ(c.index, index) << c.degrees;
    }
    struct Back {
        int rotate, index, degrees;
    };
    const Back backs[] = {{1, 0, 90}, {1, 1, 180}, {1, 2, 270}, {0, 2, 0}, {1, -1, 0}, {1, 3, 0}};
    for (const Back& b : backs)
        EXPECT_EQ(b.degrees, RotationFromChoice(b.rotate, b.index)) << b.rotate << " " << b.index;
}

} // namespace
