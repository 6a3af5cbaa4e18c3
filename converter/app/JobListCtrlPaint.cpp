// How the job list draws its rows: the rounded row box, the state image, the thumbnails, the
// names with their links and information lines, the status with its percentage, and the
// progress line of the row being converted.

#include "JobListCtrl.h"

#include <algorithm>

#include "AppGlobals.h"
#include "AppPaths.h"
#include "ConvertListItem.h"
#include "JobListCtrlHelpers.h"
#include "JobStates.h"
#include "OffscreenDC.h"
#include "UiHelpers.h"

namespace {

constexpr COLORREF kSelectedFill = RGB(192, 240, 255);
constexpr COLORREF kSelectedBorder = RGB(176, 232, 255);
constexpr COLORREF kRowFill = RGB(248, 248, 248);
constexpr COLORREF kRowBorder = RGB(240, 240, 240);
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kInfoColour = 0x404040;
constexpr COLORREF kPercentColour = RGB(96, 96, 96);
constexpr COLORREF kThumbnailFrame = RGB(32, 32, 32);
constexpr COLORREF kEmptyThumbnailFrame = RGB(240, 240, 240);
constexpr COLORREF kProgressEndColour = RGB(255, 0, 0);
constexpr UINT kOneLine = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;

} // namespace

void CJobListCtrl::OnCustomDraw(NMHDR* header, LRESULT* result)
{
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *result = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT: {
        const int row = static_cast<int>(draw->nmcd.dwItemSpec);
        CRect bounds;
        if (GetItemRect(row, &bounds, LVIR_BOUNDS)) {
            COffscreenDC offscreen(CDC::FromHandle(draw->nmcd.hdc), &bounds);
            DrawRow(offscreen, row, bounds, false);
        }
        *result = CDRF_SKIPDEFAULT;
        return;
    }
    case CDDS_ITEMPOSTPAINT:
        *result = CDRF_SKIPDEFAULT;
        return;
    default:
        *result = CDRF_DODEFAULT;
    }
}

void CJobListCtrl::DrawRow(CDC& dc, int row, const CRect& bounds, bool dragImage)
{
    dc.FillSolidRect(bounds, GetBkColor());
    if (row == m_dragRow && !dragImage)
        return;
    const bool highlighted = dragImage || IsItemSelected(row);
    DrawRowBox(dc, bounds, highlighted);
    dc.SetBkMode(TRANSPARENT);
    const HGDIOBJ oldFont = dc.SelectObject(NormalFont());
    const CConvertListItem* item = GetRowItem(row);
    const std::vector<RowRect> cells = RowCells(bounds);
    for (int column : ColumnOrder()) {
        if (column < 0 || column >= JOB_COLUMN_COUNT)
            continue;
        const RowRect& cell = cells[static_cast<size_t>(column)];
        if (cell.Width() < kNarrowestCell)
            continue;
        const int saved = dc.SaveDC();
        dc.IntersectClipRect(ToCRect(cell));
        dc.SelectObject(NormalFont());
        dc.SetTextColor(ListView_GetTextColor(m_hWnd));
        if (column == JOB_COLUMN_STATE)
            DrawStateCell(dc, row, cell);
        else if (column == JOB_COLUMN_STATUS)
            DrawStatusCell(dc, row, cell, item);
        else
            DrawFileCell(dc, row, column, cell, item, highlighted ? kSelectedFill : kRowFill);
        dc.RestoreDC(saved);
    }
    if (!dragImage) {
        const RowRect button = RemoveButtonRect(ToRowRect(bounds));
        m_removeImages.Draw(&dc, 0, CPoint(button.left, button.top), ILD_TRANSPARENT);
    }
    if (IsCurrentRow(row) && m_busy && m_progressRange > 0)
        DrawProgress(dc, bounds);
    dc.SelectObject(oldFont);
}

void CJobListCtrl::DrawRowBox(CDC& dc, const CRect& bounds, bool highlighted)
{
    const RowRect box = RowBox(ToRowRect(bounds));
    if (box.Width() < 3 || box.Height() < 3)
        return;
    const COLORREF border = highlighted ? kSelectedBorder : kRowBorder;
    dc.FillSolidRect(ToCRect(RowBoxFill(ToRowRect(bounds))), highlighted ? kSelectedFill : kRowFill);
    // Four edges without their corner pixels, and a dot inside each corner: a box with cut corners.
    dc.FillSolidRect(box.left + 1, box.top, box.Width() - 2, 1, border);
    dc.FillSolidRect(box.left + 1, box.bottom - 1, box.Width() - 2, 1, border);
    dc.FillSolidRect(box.left, box.top + 1, 1, box.Height() - 2, border);
    dc.FillSolidRect(box.right - 1, box.top + 1, 1, box.Height() - 2, border);
    dc.SetPixel(box.left + 1, box.top + 1, border);
    dc.SetPixel(box.right - 2, box.top + 1, border);
    dc.SetPixel(box.left + 1, box.bottom - 2, border);
    dc.SetPixel(box.right - 2, box.bottom - 2, border);
}

void CJobListCtrl::DrawStateCell(CDC& dc, int row, const RowRect& cell)
{
    const HIMAGELIST states = GetImageList(LVSIL_STATE);
    const int image = static_cast<int>((GetItemState(row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12);
    if (!states || image >= ImageList_GetImageCount(states))
        return;
    const RowRect place = StateImageRect(cell);
    ImageList_Draw(states, image, dc.m_hDC, place.left, place.top, ILD_TRANSPARENT);
}

void CJobListCtrl::DrawFileCell(CDC& dc, int row, int column, const RowRect& cell, const CConvertListItem* item,
                                COLORREF fill)
{
    const RowMetrics metrics = GetMetrics();
    const bool output = column == JOB_COLUMN_OUTPUT;
    DrawThumbnail(dc, ThumbnailRect(cell, metrics), row, item, output, fill);
    const RowRect area = FileTextArea(cell, metrics);
    if (area.IsEmpty())
        return;
    const CString name = GetItemText(row, column);
    dc.SelectObject(BoldFont());
    CRect nameRect = ToCRect(area);
    dc.DrawText(name, &nameRect, DT_TOP | kOneLine);
    dc.SelectObject(NormalFont());
    if (!name.IsEmpty() && (!output || IsCompleted(row))) {
        dc.SetTextColor(kLinkColour);
        CRect play = ToCRect(PlayLinkRect(area, metrics));
        dc.DrawText(kPlayText, -1, &play, DT_BOTTOM | kOneLine);
        CRect openFolder = ToCRect(OpenFolderLinkRect(area, metrics));
        dc.DrawText(kOpenFolderText, -1, &openFolder, DT_BOTTOM | kOneLine);
    }
    if (item)
        DrawInfoLine(dc, area, *item, output);
}

void CJobListCtrl::DrawThumbnail(CDC& dc, const RowRect& box, int row, const CConvertListItem* item, bool output,
                                 COLORREF fill)
{
    if (item) {
        auto lock = item->LockDisplay();
        const CrImage& picture = output ? item->m_outputThumbnail : item->m_sourceThumbnail;
        if (picture.IsValid()) {
            dc.FillSolidRect(ToCRect(box), fill);
            const int width = std::min<int>(picture.GetWidth(), box.Width());
            const int height = std::min<int>(picture.GetHeight(), box.Height());
            const int x = box.left + (box.Width() - width) / 2;
            const int y = box.top + (box.Height() - height) / 2;
            picture.Draw(dc.m_hDC, x, y, width, height);
            CRect frame(x - 1, y - 1, x + width + 1, y + height + 1);
            frame.IntersectRect(frame, ToCRect(box));
            CBrush brush(kThumbnailFrame);
            dc.FrameRect(frame, &brush);
            return;
        }
    }
    dc.FillSolidRect(ToCRect(box), RGB(255, 255, 255));
    // The media information of the row being converted is being rewritten by the run.
    if (item && g_pAppPaths && !IsCurrentRow(row)) {
        const CMediaInfo& info = output ? item->m_outputInfo : item->m_inputInfo;
        const int icon = info.GetFirstVideoStream() ? 0 : (info.GetFirstAudioStream() ? 1 : -1);
        if (icon >= 0) {
            const CSize side = g_pAppPaths->m_images32.GetImageSize();
            g_pAppPaths->m_images32.Draw(&dc, icon,
                                         CPoint(box.left + (box.Width() - side.cx) / 2, box.top + (box.Height() - side.cy) / 2),
                                         ILD_TRANSPARENT);
        }
    }
    CBrush brush(kEmptyThumbnailFrame);
    dc.FrameRect(ToCRect(box), &brush);
}

void CJobListCtrl::DrawInfoLine(CDC& dc, const RowRect& area, const CConvertListItem& item, bool output)
{
    using Text = CConvertListItem::Text;
    const Text kinds[] = {CConvertListItem::TEXT_SIZE, output ? CConvertListItem::TEXT_DURATION : CConvertListItem::TEXT_FRAMES,
                          CConvertListItem::TEXT_RESOLUTION};
    std::vector<CString> texts;
    std::vector<int> widths;
    std::vector<bool> present;
    for (Text kind : kinds) {
        texts.push_back(output ? item.GetOutputText(kind) : item.GetSourceText(kind));
        widths.push_back(texts.back().IsEmpty() ? 0 : dc.GetTextExtent(texts.back()).cx);
        present.push_back(!texts.back().IsEmpty());
    }
    dc.SetTextColor(kInfoColour);
    for (const InfoPiece& piece : LayoutInfoLine(area, widths, present)) {
        m_infoImages.Draw(&dc, 0, CPoint(piece.icon.left, piece.icon.top), ILD_TRANSPARENT);
        CRect label = ToCRect(piece.label);
        dc.DrawText(texts[static_cast<size_t>(piece.text)], &label, DT_VCENTER | kOneLine);
    }
}

void CJobListCtrl::DrawStatusCell(CDC& dc, int row, const RowRect& cell, const CConvertListItem* item)
{
    CRect text = ToCRect(StatusTextRect(cell, GetMetrics()));
    dc.DrawText(GetItemText(row, JOB_COLUMN_STATUS), &text, DT_VCENTER | kOneLine);
    if (!IsCurrentRow(row) || !m_busy || m_indeterminate || m_progressRange <= 0 || !item || item->m_state != JOB_CONVERTING)
        return;
    CString percent;
    percent.Format(L"%d%%", ProgressPercent(m_progressValue, m_progressRange));
    dc.SelectObject(HugeFont());
    dc.SetTextColor(kPercentColour);
    CRect whole = ToCRect(cell);
    dc.DrawText(percent, &whole, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void CJobListCtrl::DrawProgress(CDC& dc, const CRect& bounds)
{
    const RowRect line = ProgressLineRect(ToRowRect(bounds));
    const COLORREF start = m_currentRowColour;
    for (const ProgressPiece& piece : ProgressPieces(line, m_progressValue, m_progressRange, m_indeterminate != 0)) {
        ProgressPiece solid{}, gradient{};
        SplitProgressPiece(piece, solid, gradient);
        if (solid.right > solid.left)
            dc.FillSolidRect(CRect(solid.left, line.top, solid.right, line.bottom), start);
        if (gradient.right > gradient.left) {
            const CRect part(gradient.left, line.top, gradient.right, line.bottom);
            PaintGradient(dc.m_hDC, part, start, kProgressEndColour, GRADIENT_HORIZONTAL, 1, 1, 1);
        }
    }
}
