// Painting the playlist's cells: grid cells with their thumbnails, labels and buttons, list rows
// with their columns.
#include "PlaylistView.h"

#include <vector>

#include "AnimationWnd.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "ViewerGlobals.h"
#include "resource.h"

namespace {

const COLORREF kSelection = RGB(0, 160, 255);
const COLORREF kHoverText = RGB(192, 192, 192);
const COLORREF kOtherText = RGB(160, 160, 160);
const COLORREF kPlayingText = RGB(0, 255, 0);

} // namespace

// ---- painting ----

CFont* CPlaylistView::CellFont() const
{
    if (g_pUIResources && g_pUIResources->m_fontNormal.GetSafeHandle())
        return &g_pUIResources->m_fontNormal;
    static CFont fallback;
    if (!fallback.GetSafeHandle())
        fallback.Attach(::GetStockObject(DEFAULT_GUI_FONT));
    return &fallback;
}

void CPlaylistView::DrawBackground(CDC* dc, const CRect& rect)
{
    if (!rect.IsRectEmpty())
        dc->FillSolidRect(rect, kBackground);
}

void CPlaylistView::OnDraw(CDC* dc)
{
    PlaceCanvas();
    // Painted under a dragged image, the cells would be covered again by what the image kept.
    ShowDragImage(false);
    {
        // The queue thread reads items' information under the same lock.
        CSectionLock lock(m_itemLock);
        CGridListView::OnDraw(dc);
        if (m_dropTarget.index >= 0) {
            CRect bar = ToCRect(DropBarRect(*this, m_dropTarget));
            dc->FillSolidRect(bar, RGB(255, 0, 0));
        }
    }
    ShowDragImage(true);
}

void CPlaylistView::DrawThumbnail(CDC* dc, CPlaylistItem* item, const CRect& box)
{
    CrImage* image = item->GetImage(1);
    if (!image || !image->IsValid())
        return;
    const CSettingsValues& settings = ViewerSettings();
    ViewSize size{image->GetWidth(), image->GetHeight()};
    if (size.cx > settings.ThumbnailCx || size.cy > settings.ThumbnailCy)
        size = FitThumbnail(size, ViewSize{settings.ThumbnailCx, settings.ThumbnailCy});
    const int left = box.left + (box.Width() - size.cx) / 2;
    const int top = box.top + (box.Height() - size.cy) / 2;
    image->Draw(dc->m_hDC, CRect(left, top, left + size.cx, top + size.cy));
}

void CPlaylistView::DrawLabels(CDC* dc, CPlaylistItem* item, const CRect& box)
{
    const CString* texts[] = {m_bShowFrameCount ? &item->m_strFrameCount : nullptr,
                              m_bShowResolution ? &item->m_strResolution : nullptr,
                              m_bShowDuration ? &item->m_strDuration : nullptr};
    std::vector<int> widths;
    for (const CString* text : texts) {
        SIZE size{-1, 0};
        if (text && !text->IsEmpty())
            ::GetTextExtentPoint32W(dc->m_hDC, *text, text->GetLength(), &size);
        widths.push_back(text && !text->IsEmpty() ? int(size.cx) : -1);
    }
    std::vector<ViewRect> labels = LabelRects(ToViewRect(box), widths);
    dc->SetTextColor(RGB(224, 224, 224));
    for (size_t i = 0; i < labels.size(); i++) {
        CRect label = ToCRect(labels[i]);
        if (label.IsRectEmpty())
            continue;
        m_labelPieces.Draw(dc, 0, CPoint(label.left, label.top), ILD_TRANSPARENT);
        for (int x = label.left + 4; x < label.right - 4; x += 4)
            m_labelPieces.Draw(dc, 1, CPoint(x, label.top), ILD_TRANSPARENT);
        m_labelPieces.Draw(dc, 2, CPoint(label.right - 4, label.top), ILD_TRANSPARENT);
        dc->DrawText(*texts[i], &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void CPlaylistView::DrawCellButtons(CDC* dc, int index, const CellButtons& buttons, CImageList& images, int size)
{
    if (index != m_nHover || IsDragImageCell(index) || m_nDragIndex >= 0)
        return;
    auto state = [&](int command) { return m_nPressedButton == command ? 2 : m_nHoverButton == command ? 1 : 0; };
    if (!IsPlaying(GetItem(index)))
        images.Draw(dc, state(ID_PLAYLIST_PLAY), CPoint(buttons.play.left, buttons.play.top), ILD_TRANSPARENT);
    images.Draw(dc, 3 + state(ID_EDIT_REMOVE), CPoint(buttons.remove.left, buttons.remove.top), ILD_TRANSPARENT);
    (void)size;
}

void CPlaylistView::DrawGridCell(CDC* dc, int index, const CRect& cell)
{
    CPlaylistItem* item = GetItem(index);
    dc->FillSolidRect(cell, kBackground);
    if (!item || (index == m_nDragIndex && !m_bPaintingDragImage))
        return;
    const CSettingsValues& settings = ViewerSettings();
    const bool selected = IsSelected(index) || IsDragImageCell(index);
    const bool hovered = index == m_nHover;
    COLORREF text = IsPlaying(item) ? kPlayingText : selected ? RGB(255, 255, 255) : hovered ? kHoverText : kOtherText;
    HGDIOBJ oldFont = dc->SelectObject(CellFont());
    dc->SetBkMode(TRANSPARENT);

    CRect box = ToCRect(ThumbnailBox(ToViewRect(cell), settings.ThumbnailCy));
    dc->FillSolidRect(box, RGB(0, 0, 0));
    DrawThumbnail(dc, item, box);
    CRect frame = box;
    frame.InflateRect(1, 1);
    CBrush edge(selected ? kSelection : hovered ? kHoverText : RGB(48, 48, 48));
    dc->FrameRect(frame, &edge);
    DrawLabels(dc, item, box);
    if (IsPlaying(item) || IsPaused(item))
        m_gridStatusIcons.Draw(dc, IsPlaying(item) ? 0 : 1, CPoint(box.left + 4, box.top + 4), ILD_TRANSPARENT);
    DrawCellButtons(dc, index, GridButtons(ToViewRect(cell), settings.ThumbnailCy), m_gridButtons, 32);
    if (m_bShowTitle) {
        CRect title(cell.left, box.top + settings.ThumbnailCy + 4, cell.right, cell.bottom);
        dc->SetTextColor(text);
        dc->DrawText(item->m_strName, &title, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    dc->SelectObject(oldFont);
}

void CPlaylistView::DrawListRow(CDC* dc, int index, const CRect& row)
{
    CPlaylistItem* item = GetItem(index);
    if (!item || (index == m_nDragIndex && !m_bPaintingDragImage)) {
        dc->FillSolidRect(row, kBackground);
        return;
    }
    const bool selected = IsSelected(index) || IsDragImageCell(index);
    const bool hovered = index == m_nHover;
    COLORREF text = IsPlaying(item) ? kPlayingText : selected || hovered ? RGB(255, 255, 255) : kHoverText;
    dc->FillSolidRect(row, selected ? kSelection : hovered ? RGB(64, 64, 64) : kBackground);
    HGDIOBJ oldFont = dc->SelectObject(CellFont());
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(text);

    const bool wide = row.Width() > 320;
    int nameRight = row.right - 24;
    if (wide) {
        struct Column {
            int on;
            const CString* text;
            int width, narrowing;
        } columns[] = {{m_bShowFrameCount, &item->m_strFrameCount, 64, 72},
                       {m_bShowResolution, &item->m_strResolution, 56, 64},
                       {m_bShowDuration, &item->m_strDuration, 40, 48}};
        int right = row.right - 24;
        for (const Column& c : columns) {
            if (!c.on)
                continue;
            nameRight -= c.narrowing;
            if (!c.text->IsEmpty()) {
                CRect column(right - c.width, row.top, right, row.bottom);
                dc->DrawText(*c.text, &column, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            }
            right -= c.width + 8;
        }
    }
    int nameLeft = row.left + 28;
    if (m_bShowThumbnail) {
        CRect icon = ToCRect(ListIconBox(ToViewRect(row)));
        dc->FillSolidRect(icon, RGB(0, 0, 0));
        if (CrImage* image = item->GetImage(2); image && image->IsValid()) {
            const int left = icon.left + (24 - image->GetWidth()) / 2;
            const int top = icon.top + (24 - image->GetHeight()) / 2;
            image->Draw(dc->m_hDC, left, top);
        }
        nameLeft = row.left + 56;
    }
    CRect name(nameLeft, row.top, nameRight, row.bottom);
    dc->DrawText(item->m_strName, &name, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (IsPlaying(item) || IsPaused(item))
        m_listStatusIcons.Draw(dc, IsPlaying(item) ? 0 : 1, CPoint(row.left + 4, row.top + (row.Height() - 20) / 2),
                               ILD_TRANSPARENT);
    DrawCellButtons(dc, index, ListButtons(ToViewRect(row)), m_listButtons, 20);
    dc->SelectObject(oldFont);
}
