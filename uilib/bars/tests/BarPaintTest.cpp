#include <gtest/gtest.h>

#include "BarButton.h"
#include "BarSlider.h"
#include "BarTestSupport.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// Fifteen distinct colours: image i of a strip is Shade(i).
COLORREF Shade(int i) { return RGB(10 + 15 * i, 200 - 10 * i, (37 * i) % 256); }

std::vector<COLORREF> Shades(int count)
{
    std::vector<COLORREF> colours;
    for (int i = 0; i < count; i++)
        colours.push_back(Shade(i));
    return colours;
}

// Items without a bar window: painted straight into a canvas.
class BarPainting : public ::testing::Test {
protected:
    CBarItemList list{nullptr};
    CCanvas canvas;
};

} // namespace

TEST_F(BarPainting, ColourButtonsFillNormalOrHotAndNoColourDrawsNothing)
{
    CBarButton button(&list, 10, 10, 50, 40, 1);
    button.Paint(&canvas.dc);
    EXPECT_EQ(canvas.At(20, 20), kWhite);   // both colours start as none
    button.SetColours(RGB(10, 20, 30), RGB(200, 100, 0));
    button.Paint(&canvas.dc);
    EXPECT_EQ(canvas.Count(CRect(10, 10, 50, 40), RGB(10, 20, 30)), 40 * 30);
    list.SetHotItem(&button);
    button.Paint(&canvas.dc);
    EXPECT_EQ(canvas.Count(CRect(10, 10, 50, 40), RGB(200, 100, 0)), 40 * 30);
    EXPECT_EQ(canvas.At(9, 9), kWhite);
    EXPECT_EQ(canvas.At(50, 40), kWhite);
    list.SetHotItem(nullptr);
    button.SetHidden(TRUE);
    canvas.Clear();
    button.Paint(&canvas.dc);
    EXPECT_EQ(canvas.At(20, 20), kWhite);
}

TEST_F(BarPainting, PerStateSkinsDrawTheImageOfTheState)
{
    CImageList skin;
    MakeStrip(skin, Shades(5), 20, 24);
    CBarButton button(&list, 0, 0, 20, 24, 1);
    button.SetSkin(&skin, BARSKIN_PER_STATE);
    struct Case {
        const char* name;
        CBarItem* hot;
        CBarItem* tracked;
        BOOL disabled;
        int state;
    } cases[] = {
        {"normal", nullptr, nullptr, FALSE, BARSTATE_NORMAL},
        {"hot", &button, nullptr, FALSE, BARSTATE_HOT},
        {"pressed", nullptr, &button, FALSE, BARSTATE_PRESSED},
        {"disabled wins", nullptr, &button, TRUE, BARSTATE_DISABLED},
    };
    for (const Case& c : cases) {
        list.SetTrackedItem(c.tracked);
        if (!c.tracked)
            list.SetHotItem(c.hot);
        button.Enable(!c.disabled);
        EXPECT_EQ(button.GetDrawState(), c.state) << c.name;
        button.Paint(&canvas.dc);
        EXPECT_EQ(canvas.At(10, 12), Shade(c.state)) << c.name;
    }
}

TEST_F(BarPainting, ThreePartSkinsTileTheMiddleBetweenTheCaps)
{
    CImageList horizontal, vertical;
    MakeStrip(horizontal, Shades(15), 10, 24);
    MakeStrip(vertical, Shades(15), 30, 10);
    CBarButton wide(&list, 0, 0, 45, 24, 1);
    wide.SetSkin(&horizontal, BARSKIN_HORIZONTAL, 10, 0);
    list.SetHotItem(&wide);   // state 1: images 3, 4, 5
    wide.Paint(&canvas.dc);
    struct Case {
        int x, image;
    } across[] = {{0, 3}, {9, 3}, {10, 4}, {34, 4}, {35, 5}, {44, 5}};
    for (const Case& c : across)
        EXPECT_EQ(canvas.At(c.x, 5), Shade(c.image)) << "x " << c.x;

    canvas.Clear();
    CBarButton tall(&list, 100, 0, 130, 45, 1);
    tall.SetSkin(&vertical, BARSKIN_VERTICAL, 0, 10);
    tall.Paint(&canvas.dc);   // normal: images 0, 1, 2
    struct Down {
        int y, image;
    } down[] = {{0, 0}, {9, 0}, {10, 1}, {34, 1}, {35, 2}, {44, 2}};
    for (const Down& c : down)
        EXPECT_EQ(canvas.At(110, c.y), Shade(c.image)) << "y " << c.y;
}

TEST_F(BarPainting, ImageItemsCentreTheirImageAndNudgeItWhenPressed)
{
    CImageList images;
    MakeStrip(images, Shades(5), 10, 10);
    CBarImageItem item(&list, 0, 0, 40, 30, 1);
    item.SetImageList(&images, FALSE);
    item.Paint(&canvas.dc);
    EXPECT_EQ(canvas.At(15, 10), Shade(0));   // (40-10)/2, (30-10)/2
    EXPECT_EQ(canvas.At(24, 19), Shade(0));
    EXPECT_EQ(canvas.At(14, 10), kWhite);
    canvas.Clear();
    list.SetTrackedItem(&item);
    item.Paint(&canvas.dc);
    EXPECT_EQ(canvas.At(16, 11), Shade(3));
    EXPECT_EQ(canvas.At(15, 10), kWhite);
}

TEST_F(BarPainting, TextItemsUseTheirStateColourAndAlignment)
{
    CFont font;
    LOGFONTW face{};
    face.lfHeight = -16;
    face.lfWeight = FW_BOLD;
    lstrcpyW(face.lfFaceName, L"Tahoma");
    font.CreateFontIndirect(&face);
    const COLORREF normal = RGB(0, 0, 200), hot = RGB(200, 0, 0), disabled = RGB(0, 160, 0);
    CBarTextItem item(&list, 0, 0, 300, 30, 1);
    item.SetFont(&font);
    item.SetTextColours(normal, hot, disabled);
    item.Paint(&canvas.dc);
    EXPECT_EQ(canvas.Count(CRect(0, 0, 300, 30), normal), 0);   // no text yet
    item.SetText(L"MMMM", FALSE);
    struct Case {
        const char* name;
        bool hot;
        BOOL enabled;
        COLORREF colour;
    } cases[] = {{"normal", false, TRUE, normal}, {"hot", true, TRUE, hot}, {"disabled", false, FALSE, disabled}};
    for (const Case& c : cases) {
        canvas.Clear();
        list.SetHotItem(c.hot ? &item : nullptr);
        item.Enable(c.enabled);
        item.Paint(&canvas.dc);
        EXPECT_GT(canvas.Count(CRect(0, 0, 300, 30), c.colour), 20) << c.name;
    }
    // Left and right alignment keep 2 px from the edges; centred text stays in the middle.
    item.Enable(TRUE);
    list.SetHotItem(nullptr);
    struct Align {
        DWORD style;
        CRect inked, empty;
    } aligns[] = {
        {BARITEM_TEXT_LEFT, CRect(2, 0, 60, 30), CRect(150, 0, 300, 30)},
        {BARITEM_TEXT_RIGHT, CRect(240, 0, 298, 30), CRect(0, 0, 150, 30)},
        {0, CRect(120, 0, 180, 30), CRect(0, 0, 60, 30)},
    };
    for (const Align& a : aligns) {
        canvas.Clear();
        item.SetStyle(a.style);
        item.Paint(&canvas.dc);
        EXPECT_GT(canvas.Count(a.inked, normal), 20) << "style " << a.style;
        EXPECT_EQ(canvas.Count(a.empty, normal), 0) << "style " << a.style;
        EXPECT_EQ(canvas.Count(CRect(0, 0, 2, 30), normal) + canvas.Count(CRect(298, 0, 300, 30), normal), 0);
    }
}

TEST_F(BarPainting, SliderTilesItsTracksFromTheMinimumAndShowsTheThumbOnlyWhenHotOrPressed)
{
    // Item 160-300, thumb 20 x 24: channel 170-290, rows 3-27. Track 1 from 10 to 19.
    CImageList thumbs;
    MakeStrip(thumbs, Shades(5), 20, 24);
    CBarSlider slider(&list, 160, 0, 300, 30);
    slider.SetThumbImages(&thumbs);
    slider.SetRangeMax(0, 100);
    slider.SetValue(0, 50, FALSE);   // track 0 filled to the middle: x 230
    slider.SetRangeMax(1, 19);
    slider.SetRangeMin(1, 10);
    slider.SetValue(1, 13, FALSE);   // 3 of 9 steps: x 210
    EXPECT_EQ(slider.ValueToX(1), 210);
    slider.Paint(&canvas.dc);
    struct Case {
        int x, y;
        COLORREF colour;
    } cases[] = {
        {170, 15, Shade(2)}, {209, 15, Shade(2)},   // track 1 over track 0
        {210, 15, Shade(1)}, {229, 15, Shade(1)},   // track 0
        {230, 15, Shade(0)}, {289, 15, Shade(0)},   // the channel, its last tile cut
        {290, 15, kWhite}, {169, 15, kWhite}, {200, 2, kWhite}, {200, 27, kWhite},
    };
    for (const Case& c : cases)
        EXPECT_EQ(canvas.At(c.x, c.y), c.colour) << c.x << "," << c.y;
    EXPECT_EQ(canvas.Count(CRect(160, 0, 300, 30), Shade(3)) + canvas.Count(CRect(160, 0, 300, 30), Shade(4)), 0);

    list.SetHotItem(&slider);
    slider.Paint(&canvas.dc);
    EXPECT_EQ(canvas.Count(CRect(200, 3, 220, 27), Shade(3)), 20 * 24);   // centred on x 210
    list.SetTrackedItem(&slider);
    slider.Paint(&canvas.dc);
    EXPECT_EQ(canvas.Count(CRect(200, 3, 220, 27), Shade(4)), 20 * 24);

    // At its minimum track 1 has no fill; an empty range shows no thumb.
    canvas.Clear();
    slider.SetValue(1, 10, FALSE);
    slider.SetValue(0, 0, FALSE);
    slider.Paint(&canvas.dc);
    EXPECT_EQ(canvas.Count(CRect(160, 0, 300, 30), Shade(2)), 0);
    canvas.Clear();
    slider.SetRangeMax(1, 10);
    slider.Paint(&canvas.dc);
    EXPECT_EQ(canvas.Count(CRect(160, 0, 300, 30), Shade(4)), 0);
    EXPECT_GT(canvas.Count(CRect(160, 0, 300, 30), Shade(0)), 0);
}

TEST_F(BarPainting, ASliderWithAnEmptyRangeIgnoresClicks)
{
    CImageList thumbs;
    MakeStrip(thumbs, Shades(5), 20, 24);
    auto* slider = new CBarSlider(&list, 0, 0, 140, 30);
    slider->SetThumbImages(&thumbs);
    list.Add(slider);
    MSG down = MouseMessage(nullptr, WM_LBUTTONDOWN, 70, 10);
    EXPECT_TRUE(list.RelayMouseMessage(&down));
    EXPECT_EQ(slider->GetValue(1), 0);
    EXPECT_EQ(list.GetPressedItem(), nullptr);
    EXPECT_EQ(list.GetCaptureItem(), nullptr);
}
