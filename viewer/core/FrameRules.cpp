#include "FrameRules.h"

#include <algorithm>

// ---- layout window ----

int PlaceDivider(SplitState& split, int left, int right)
{
    const int half = (right - left) / 2;
    int divider;
    if (split.wanted > 0 && split.rightWidth < split.wanted) {
        divider = right - split.wanted;
    } else {
        split.wanted = -1;
        divider = right - split.rightWidth;
    }
    if (right - divider > half) {
        split.wanted = right - divider;
        divider = right - half;
    }
    split.rightWidth = right - divider;
    return divider;
}

int DragDivider(SplitState& split, int x, int left, int right)
{
    const int half = (right - left) / 2;
    const int divider = std::max(std::min(x, right), right - half);
    split.rightWidth = right - divider;
    split.wanted = -1;
    return divider;
}

int DefaultRightPaneWidth(int scrollBarWidth, int thumbnailWidth) { return scrollBarWidth + thumbnailWidth + 28; }

bool IsPaneShown(int mode, int active, int index) { return mode != 2 || index == active; }

LayoutReaction ReactToLayout(int mode, bool playlistShown, bool playing)
{
    // Side by side the menu bar always shows: docking from the play view would leave it hidden.
    if (mode != 2)
        return {0, -1, 1};
    if (playlistShown)
        return {playing ? 1 : -1, 0, 1};   // a playing canvas plays on in its cell
    return {0, 1, 0};
}

// ---- play control bar ----

namespace {
constexpr int kButton = 48;
constexpr int kGap = 8;
constexpr int kSliderLeft = 4 * kButton + kGap;
constexpr int kFixedWidth = kSliderLeft + kGap + 4 * kButton;
constexpr int kMinimumSlider = 100;
constexpr int kMinimumText = 40;
} // namespace

void LayoutPlayBar(int width, int textWidth, bool switchHidden, BarSpan (&spans)[BAR_ITEM_COUNT])
{
    const int fixed = kFixedWidth - (switchHidden ? kButton : 0);
    const int slider = std::max(kMinimumSlider, width - (textWidth + fixed));
    spans[BAR_PLAY] = spans[BAR_PAUSE] = {0, kButton};
    spans[BAR_STOP] = {kButton, 2 * kButton};
    spans[BAR_PREVIOUS] = {2 * kButton, 3 * kButton};
    spans[BAR_NEXT] = {3 * kButton, 4 * kButton};
    spans[BAR_SLIDER] = {kSliderLeft, kSliderLeft + slider};
    spans[BAR_POSITION] = {spans[BAR_SLIDER].right, spans[BAR_SLIDER].right + textWidth};
    int x = spans[BAR_POSITION].right + kGap;
    for (int item : {BAR_SAVE, BAR_ZOOM, BAR_FULL_SCREEN, BAR_SWITCH}) {
        spans[item] = {x, x + kButton};
        x += kButton;
    }
}

bool PlayBarItemFits(const BarSpan& span, int width) { return span.right <= width; }

int PositionTextWidth(int measured) { return std::max(kMinimumText, measured + 4); }

CString PositionText(int position, int maximum)
{
    CString text;
    text.Format(L"%d / %d", std::min(position, maximum) + 1, maximum + 1);
    return text;
}

int PlayBarPopupAt(int x, const BarSpan (&spans)[BAR_ITEM_COUNT])
{
    if (x < 0)
        return -1;
    if (x < spans[BAR_SLIDER].left)
        return 3;
    if (x < spans[BAR_ZOOM].left)
        return 4;
    if (x < spans[BAR_SWITCH].left)
        return 5;
    return 6;
}

// ---- texts ----

CString WindowTitle(const CString& programName, const CString* itemName, int position, int count)
{
    if (!itemName)
        return programName;
    CString title;
    title.Format(L"%s - %d/%d", itemName->GetString(), position, count);
    return title;
}

CString FileCountText(int count)
{
    CString text;
    if (count == 1)
        text.Format(L"%d File", count);
    else if (count > 1)
        text.Format(L"%d Files", count);
    return text;
}

// ---- hint window ----

int HintWidth(int textWidth, int limit)
{
    constexpr int kPiece = 12;
    int width = (textWidth + 38) / kPiece * kPiece;
    if (limit > 0)
        width = std::min(width, limit / kPiece * kPiece);
    return std::max(width, 3 * kPiece);
}

// ---- shell open (DDE) ----

CStringArray DdeOpenPaths(const CString& command)
{
    CStringArray paths;
    CString lower = command;
    lower.MakeLower();
    for (int at = lower.Find(L"[open("); at >= 0; at = lower.Find(L"[open(", at + 1)) {
        int i = at + 6;
        while (i < command.GetLength() && command[i] == L' ')
            i++;
        CString path;
        if (i < command.GetLength() && command[i] == L'"') {
            // Quoted: a doubled quote stands for one.
            for (i++; i < command.GetLength(); i++) {
                if (command[i] == L'"') {
                    if (i + 1 < command.GetLength() && command[i + 1] == L'"') {
                        path += L'"';
                        i++;
                        continue;
                    }
                    break;
                }
                path += command[i];
            }
        } else {
            int close = command.Find(L')', i);
            path = command.Mid(i, (close < 0 ? command.GetLength() : close) - i);
            path.Trim();
        }
        if (!path.IsEmpty())
            paths.Add(path);
    }
    return paths;
}
