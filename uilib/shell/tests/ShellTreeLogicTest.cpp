#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "shell/ShellTreeLogic.h"

namespace {

TEST(ShellPathSteps, PartialPathsPerComponent)
{
    struct Case {
        const wchar_t* path;
        std::vector<const wchar_t*> steps;
    } cases[] = {
        {L"C:\\Users\\Ann", {L"C:\\", L"C:\\Users", L"C:\\Users\\Ann"}},
        {L"C:/Users/Ann/", {L"C:\\", L"C:\\Users", L"C:\\Users\\Ann"}},
        {L"C:\\Users\\Ann\\\\", {L"C:\\", L"C:\\Users", L"C:\\Users\\Ann"}},
        {L"C:\\", {L"C:\\"}},
        {L"D:", {L"D:\\"}},
        {L"", {}},
        {L"\\\\", {}},
    };
    for (const Case& c : cases) {
        CStringArray steps = ShellPathSteps(c.path);
        ASSERT_EQ(steps.GetSize(), static_cast<int>(c.steps.size())) << CString(c.path).ToUtf8();
        for (int i = 0; i < steps.GetSize(); i++)
            EXPECT_EQ(steps[i], CString(c.steps[i])) << CString(c.path).ToUtf8();
    }
    EXPECT_TRUE(ShellPathSteps(nullptr).IsEmpty());
}

TEST(LoadingBar, FillWithTotal)
{
    struct Case {
        int total, current, width;
    } cases[] = {
        {10, 0, 0}, {10, 5, 25}, {10, 10, 50}, {10, 20, 50}, {3, 1, 16},
        {INT_MAX, INT_MAX, 50}, {INT_MAX, INT_MAX / 2, 24}, {100000000, 99999999, 49}, {10, -3, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadingBarFillWidth(c.total, c.current), c.width) << c.total << " / " << c.current;
}

// Without a total the bar grows and never fills, however many items come: the powers of e in
// the curve must not overflow into a negative or undefined width.
TEST(LoadingBar, FillWithoutTotalStaysBelowFull)
{
    EXPECT_EQ(LoadingBarFillWidth(0, 0), 0);
    int previous = 0;
    for (int current = 1; current <= 20; current++) {
        int width = LoadingBarFillWidth(0, current);
        EXPECT_GE(width, previous) << current;
        EXPECT_LT(width, kLoadingBarFill) << current;
        previous = width;
    }
    EXPECT_GT(LoadingBarFillWidth(0, 5), LoadingBarFillWidth(0, 1));
    for (int current : {1000, 1775, 2000, 100000, INT_MAX}) {
        EXPECT_EQ(LoadingBarFillWidth(0, current), kLoadingBarFill - 1) << current;
        EXPECT_EQ(LoadingBarFillWidth(-1, current), kLoadingBarFill - 1) << current;
    }
}

} // namespace
