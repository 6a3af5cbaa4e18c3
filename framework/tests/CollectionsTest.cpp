#include <gtest/gtest.h>

#include "Collections.h"

TEST(CArray, AddInsertRemoveKeepOrder)
{
    CStringArray items;
    EXPECT_TRUE(items.IsEmpty());
    EXPECT_EQ(items.Add(L"a"), 0);
    EXPECT_EQ(items.Add(L"c"), 1);
    items.InsertAt(1, L"b");
    items.InsertAt(5, L"f");   // past the end pads with empty entries
    ASSERT_EQ(items.GetSize(), 6);
    EXPECT_EQ(items[1], L"b");
    EXPECT_TRUE(items[4].IsEmpty());
    EXPECT_EQ(items[5], L"f");
    items.RemoveAt(3, 10);     // a count past the end stops at the end
    EXPECT_EQ(items.GetSize(), 3);
    items.RemoveAt(-1);
    items.RemoveAt(3);
    EXPECT_EQ(items.GetUpperBound(), 2);
    items.SetAtGrow(4, L"e");
    EXPECT_EQ(items.GetSize(), 5);
    items.RemoveAll();
    EXPECT_EQ(items.GetCount(), 0);
}
