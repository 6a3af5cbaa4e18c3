#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "../resource.h"
#include "SorvikModuleTest.h"
#include "res/UiShellRes.h"

namespace {

// Sorvik.exe's resources, as the program finds them in its own module: its own and those of
// the libraries it includes.
class SorvikResourcesTest : public SorvikModuleTest {
protected:
    HCURSOR LoadCursorResource(int id) const
    {
        return static_cast<HCURSOR>(::LoadImageW(m_module, MAKEINTRESOURCEW(id), IMAGE_CURSOR, 32, 32, 0));
    }
};

// One step of a cursor drawn on white, 32 x 32.
std::vector<COLORREF> Drawn(HCURSOR cursor, UINT step)
{
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    RECT all{0, 0, 32, 32};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::DrawIconEx(memory, 0, 0, cursor, 32, 32, step, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            pixels.push_back(::GetPixel(memory, x, y));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

int Differing(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b)
{
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); i++)
        n += a[i] != b[i];
    return n;
}

TEST_F(SorvikResourcesTest, TheDragRemoveCursorAndTheFolderTreesLoadingAnimationAreTwoResources)
{
    HCURSOR remove = LoadCursorResource(IDC_DRAG_REMOVE);
    HCURSOR loading = LoadCursorResource(IDC_LOADING_ANIMATION);
    ASSERT_NE(remove, nullptr) << "no drag-remove cursor";
    ASSERT_NE(loading, nullptr) << "no loading animation";
    // The animation turns: its steps differ, and none of it is the static drag-remove cursor.
    const std::vector<COLORREF> first = Drawn(loading, 0);
    EXPECT_GT(Differing(first, Drawn(loading, 1)), 0) << "the loading animation does not move";
    EXPECT_GT(Differing(first, Drawn(remove, 0)), 20) << "the loading animation is the drag-remove cursor";
    EXPECT_EQ(Differing(Drawn(remove, 0), Drawn(remove, 1)), 0) << "the drag-remove cursor is animated";
    ::DestroyCursor(remove);
    ::DestroyCursor(loading);
}

TEST_F(SorvikResourcesTest, EachPlaylistDragCursorIsAStaticCursorOfItsOwn)
{
    const int ids[] = {IDC_DRAG_REMOVE, IDC_DRAG_LIST, IDC_DRAG_GRID, IDC_DRAG_PLAY};
    std::vector<std::vector<COLORREF>> drawn;
    for (int id : ids) {
        EXPECT_NE(::FindResourceW(m_module, MAKEINTRESOURCEW(id), RT_GROUP_CURSOR), nullptr) << id;
        EXPECT_EQ(::FindResourceW(m_module, MAKEINTRESOURCEW(id), RT_ANICURSOR), nullptr)
            << "an animated cursor shares the id " << id;
        HCURSOR cursor = LoadCursorResource(id);
        ASSERT_NE(cursor, nullptr) << id;
        drawn.push_back(Drawn(cursor, 0));
        ::DestroyCursor(cursor);
    }
    for (size_t i = 0; i < drawn.size(); i++)
        for (size_t j = i + 1; j < drawn.size(); j++)
            EXPECT_GT(Differing(drawn[i], drawn[j]), 0) << ids[i] << " and " << ids[j] << " look the same";
}

} // namespace
