#include "JobListCtrl.h"

#include <shellapi.h>

#include <algorithm>

#include "AppGlobals.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "CWinApp.h"
#include "ConvertListItem.h"
#include "JobStates.h"
#include "OffscreenDC.h"
#include "TalvenaApp.h"
#include "TalvenaRes.h"
#include "UiHelpers.h"

namespace {

constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr int kHeaderHeight = 24;
constexpr COLORREF kSelectedFill = RGB(192, 240, 255);
constexpr COLORREF kSelectedBorder = RGB(176, 232, 255);
constexpr COLORREF kRowFill = RGB(248, 248, 248);
constexpr COLORREF kRowBorder = RGB(240, 240, 240);
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kInfoColour = 0x404040;
constexpr COLORREF kPercentColour = RGB(96, 96, 96);
constexpr COLORREF kThumbnailFrame = RGB(32, 32, 32);
constexpr COLORREF kEmptyThumbnailFrame = RGB(240, 240, 240);
constexpr COLORREF kDropMarkerColour = RGB(255, 0, 0);
constexpr COLORREF kProgressEndColour = RGB(255, 0, 0);
constexpr UINT kOneLine = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
const wchar_t kPlayText[] = L"Play";
const wchar_t kOpenFolderText[] = L"Open Folder";

CRect ToCRect(const RowRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }
RowRect ToRowRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool LoadImageList(CImageList& list, UINT bitmapId, int width, int height, UINT depth)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(bitmapId) || !list.Create(width, height, depth | ILC_MASK, 0, 1))
        return false;
    return list.Add(&bitmap, kMaskColour) >= 0;
}

bool FileExists(const CString& path)
{
    return !path.IsEmpty() && ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

CString Quoted(const CString& path) { return L"\"" + path + L"\""; }

HCURSOR AppCursor(int which)
{
    return g_pAppPaths && g_pAppPaths->m_cursors[which] ? g_pAppPaths->m_cursors[which] : ::LoadCursorW(nullptr, IDC_ARROW);
}

HFONT FontOr(const CFont* font, HFONT fallback)
{
    return font && font->GetSafeHandle() ? static_cast<HFONT>(*font) : fallback;
}

// The drag image keeps the screen under it and puts it back when it moves on, so the emptied row
// must be on the screen before the image is shown: Wine hands a window's pixels to the display
// only when the thread next waits, and a wait of no time does that.
void LetPaintingReachTheScreen() { ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT); }

// The pixels a report list adds to its rows beyond the height of their small images (Wine adds
// one), found once on a hidden list of our own.
int ReportRowPadding()
{
    static const int padding = [] {
        constexpr int kImageHeight = 64;
        HWND probe = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_POPUP | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0, 200, 200,
                                       nullptr, nullptr, nullptr, nullptr);
        HIMAGELIST images = ImageList_Create(1, kImageHeight, ILC_COLOR24, 0, 1);
        int found = 0;
        if (probe && images) {
            ListView_SetImageList(probe, images, LVSIL_SMALL);
            LVCOLUMNW column{};
            column.mask = LVCF_WIDTH;
            column.cx = 100;
            ListView_InsertColumn(probe, 0, &column);
            LVITEMW item{};
            ListView_InsertItem(probe, &item);
            RECT row{};
            if (ListView_GetItemRect(probe, 0, &row, LVIR_BOUNDS))
                found = std::max(0, static_cast<int>(row.bottom - row.top) - kImageHeight);
        }
        if (probe)
            ::DestroyWindow(probe);
        if (images)
            ImageList_Destroy(images);
        return found;
    }();
    return padding;
}

} // namespace

FW_BEGIN_MESSAGE_MAP(CJobListCtrl, CListCtrlEx)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnReflectNotify(NM_CUSTOMDRAW, &ThisClass::OnCustomDraw),
    FwOnReflectNotify(NM_CLICK, &ThisClass::OnClick),
    FwOnMouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
    FwOnMouse(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
    FwOnMouse(WM_LBUTTONUP, &ThisClass::OnLButtonUp),
    FwOnSetCursor(&ThisClass::OnSetCursor),
    FwOnMessage(WM_CAPTURECHANGED, &ThisClass::OnCaptureChanged),
    FwOnMessage(LVM_SETIMAGELIST, &ThisClass::OnSetImageList),
    FwOnMessage(LVM_GETIMAGELIST, &ThisClass::OnGetImageList),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
FW_END_MESSAGE_MAP()

CJobListCtrl::CJobListCtrl() : m_currentRowColour(::GetSysColor(COLOR_HIGHLIGHT)) {}

CJobListCtrl::~CJobListCtrl() = default;

// ---- creation ---------------------------------------------------------------------------------

void CJobListCtrl::PreSubclassWindow()
{
    CListCtrlEx::PreSubclassWindow();
    SetUpParts();
}

int CJobListCtrl::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    return SetUpParts();
}

int CJobListCtrl::SetUpParts()
{
    if (!m_headerImages.GetSafeHandle() && !LoadImageList(m_headerImages, IDB_LIST_HEADER, 4, 24, ILC_COLOR24))
        return -1;
    if (!m_removeImages.GetSafeHandle() && !LoadImageList(m_removeImages, IDB_REMOVE_BUTTON, kRemoveButtonSide, kRemoveButtonSide, ILC_COLOR32))
        return -1;
    if (!m_infoImages.GetSafeHandle() && !LoadImageList(m_infoImages, IDB_INFO_ICON, kInfoIconSide, kInfoIconSide, ILC_COLOR32))
        return -1;
    // Renaming goes through the list's own label editing, which only lists with this style do.
    if (!(GetStyle() & LVS_EDITLABELS))
        ModifyStyle(0, LVS_EDITLABELS);
    const HWND header = GetHeaderCtrl();
    if (header && !m_header.m_hWnd && m_header.SubclassWindow(header)) {
        m_header.SetHeight(kHeaderHeight);
        m_header.SetBackgroundImages(&m_headerImages);
        // The list lays its header out again with the new height.
        SetWindowPos(static_cast<HWND>(nullptr), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return 0;
}

LRESULT CJobListCtrl::OnSetImageList(WPARAM kind, LPARAM list)
{
    if (kind != LVSIL_SMALL)
        return Default();
    auto given = reinterpret_cast<HIMAGELIST>(list);
    // The small images only set the row height: where the list would make rows taller than
    // they are, it gets an empty list that much lower instead.
    int width = 0, height = 0;
    const int padding = ReportRowPadding();
    HIMAGELIST shown = given;
    const HIMAGELIST oldStandIn = m_rowImages.GetSafeHandle();
    if (given && padding > 0 && ImageList_GetIconSize(given, &width, &height) && height > padding) {
        m_rowImages.DeleteImageList();
        if (m_rowImages.Create(width, height - padding, ILC_COLOR24, 0, 1))
            shown = m_rowImages.GetSafeHandle();
    }
    const HIMAGELIST before = m_givenRowImages;
    m_givenRowImages = given;
    const auto previous = reinterpret_cast<HIMAGELIST>(DefWindowProc(LVM_SETIMAGELIST, kind, reinterpret_cast<LPARAM>(shown)));
    return reinterpret_cast<LRESULT>(previous && previous == oldStandIn ? before : previous);
}

LRESULT CJobListCtrl::OnGetImageList(WPARAM kind, LPARAM)
{
    if (kind == LVSIL_SMALL && m_rowImages.GetSafeHandle())
        return reinterpret_cast<LRESULT>(m_givenRowImages);
    return Default();
}

void CJobListCtrl::OnDestroy()
{
    if (m_dragImage)
        CancelDrag();
    EndRenameEdit();
    if (m_header.m_hWnd)
        m_header.UnsubclassWindow();
    // A list without shared image lists destroys them with itself: the owner's, not the stand-in.
    if (m_rowImages.GetSafeHandle())
        DefWindowProc(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_givenRowImages));
    Default();
}

// ---- rows and their items -----------------------------------------------------------------------

CConvertListItem* CJobListCtrl::GetRowItem(int row) const
{
    return row >= 0 && row < GetItemCount() ? reinterpret_cast<CConvertListItem*>(GetItemData(row)) : nullptr;
}

bool CJobListCtrl::IsCompleted(int row) const
{
    const CConvertListItem* item = GetRowItem(row);
    return item && item->m_state == JOB_COMPLETED;
}

bool CJobListCtrl::IsCurrentRow(int row) const
{
    return row >= 0 && row == g_nConvertRow.load();
}

RowMetrics CJobListCtrl::GetMetrics() const
{
    MeasureTexts();
    RowMetrics metrics;
    if (g_pAppSettings) {
        metrics.thumbnailWidth = g_pAppSettings->ThumbnailWidth();
        metrics.thumbnailHeight = g_pAppSettings->ThumbnailHeight();
    }
    metrics.lineHeight = m_lineHeight;
    metrics.playWidth = m_playWidth;
    metrics.openFolderWidth = m_openFolderWidth;
    return metrics;
}

void CJobListCtrl::MeasureTexts() const
{
    if (m_lineHeight >= 0 || !m_hWnd)
        return;
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, GetFont());
    SIZE size{};
    ::GetTextExtentPoint32W(dc, L"H", 1, &size);
    m_lineHeight = size.cy;
    ::SelectObject(dc, NormalFont());
    ::GetTextExtentPoint32W(dc, kPlayText, static_cast<int>(wcslen(kPlayText)), &size);
    m_playWidth = size.cx;
    ::GetTextExtentPoint32W(dc, kOpenFolderText, static_cast<int>(wcslen(kOpenFolderText)), &size);
    m_openFolderWidth = size.cx;
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
}

HFONT CJobListCtrl::NormalFont() const
{
    return FontOr(g_pAppPaths ? &g_pAppPaths->m_fontNormal : nullptr, GetFont());
}

HFONT CJobListCtrl::BoldFont() const
{
    return FontOr(g_pAppPaths ? &g_pAppPaths->m_fontBold : nullptr, NormalFont());
}

HFONT CJobListCtrl::HugeFont() const
{
    return FontOr(g_pAppPaths ? &g_pAppPaths->m_fontHugeLight : nullptr, NormalFont());
}

std::vector<int> CJobListCtrl::ColumnOrder() const
{
    const int count = Header_GetItemCount(GetHeaderCtrl());
    std::vector<int> order(static_cast<size_t>(std::max(count, 0)));
    if (count > 0 && !ListView_GetColumnOrderArray(m_hWnd, count, order.data()))
        for (int i = 0; i < count; ++i)
            order[static_cast<size_t>(i)] = i;
    return order;
}

std::vector<RowRect> CJobListCtrl::RowCells(const CRect& bounds) const
{
    const std::vector<int> order = ColumnOrder();
    std::vector<int> widths;
    for (int column : order)
        widths.push_back(GetColumnWidth(column));
    const std::vector<RowRect> placed = CellRects(ToRowRect(bounds), widths);
    std::vector<RowRect> cells(std::max<size_t>(order.size(), JOB_COLUMN_COUNT));
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] >= 0 && static_cast<size_t>(order[i]) < cells.size())
            cells[static_cast<size_t>(order[i])] = placed[i];
    return cells;
}

std::vector<RowRect> CJobListCtrl::RowBoundsList() const
{
    std::vector<RowRect> rows;
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        CRect bounds;
        GetItemRect(row, &bounds, LVIR_BOUNDS);
        rows.push_back(ToRowRect(bounds));
    }
    return rows;
}

void CJobListCtrl::RedrawCell(int row, int column)
{
    CRect bounds;
    if (!GetItemRect(row, &bounds, LVIR_BOUNDS))
        return;
    const std::vector<RowRect> cells = RowCells(bounds);
    if (column >= 0 && static_cast<size_t>(column) < cells.size()) {
        const CRect cell = ToCRect(cells[static_cast<size_t>(column)]);
        InvalidateRect(&cell, FALSE);
    }
}

void CJobListCtrl::SetProgress(int64_t value, int64_t range)
{
    m_progressValue = value;
    m_progressRange = range;
    const int row = g_nConvertRow.load();
    if (row >= 0)
        RedrawItems(row, row);
}

int CJobListCtrl::MoveRow(int from, int to)
{
    const RowMove move = PlanRowMove(from, to, GetItemCount(), g_nConvertRow.load());
    if (!move.moves)
        return 0;
    LVITEMW row{};
    row.mask = LVIF_PARAM | LVIF_TEXT;
    row.iItem = move.insertAt;
    const CString label = GetItemText(from, JOB_COLUMN_STATE);
    row.pszText = const_cast<wchar_t*>(label.GetString());
    row.lParam = static_cast<LPARAM>(GetItemData(from));
    const int inserted = InsertItem(&row);
    if (inserted < 0)
        return 0;
    SelectItem(inserted, TRUE, TRUE);
    const int old = move.oldRowAfterInsert;
    SetItemState(inserted, GetItemState(old, LVIS_STATEIMAGEMASK), LVIS_STATEIMAGEMASK);
    for (int column = JOB_COLUMN_INPUT; column < JOB_COLUMN_COUNT; ++column)
        SetItemText(inserted, column, GetItemText(old, column));
    DeleteItem(old);
    return 1;
}

void CJobListCtrl::RemoveRow(int row)
{
    if (auto* owner = dynamic_cast<CJobListOwner*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd))))
        owner->RemoveRow(row);
}

// ---- row commands ---------------------------------------------------------------------------------

int CJobListCtrl::PlayInput(int row)
{
    const CConvertListItem* item = GetRowItem(row);
    if (!item || !FileExists(item->m_settings.m_source))
        return -1;
    const CString source = item->m_settings.m_source;
    const CString viewer = GetViewerPath();
    if (FileExists(viewer))
        ::ShellExecuteW(m_hWnd, nullptr, viewer, Quoted(source), nullptr, SW_SHOW);
    else
        ::ShellExecuteW(m_hWnd, L"open", source, nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}

int CJobListCtrl::PlayOutput(int row)
{
    const CConvertListItem* item = GetRowItem(row);
    if (!item || item->m_state != JOB_COMPLETED || !FileExists(item->m_outputPath))
        return -1;
    ::ShellExecuteW(m_hWnd, L"open", item->m_outputPath, nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}

int CJobListCtrl::ShowInFolder(const CString& path)
{
    if (!FileExists(path)) {
        MessageBox(L"Folder/file does not exist!", FwGetApp() ? FwGetApp()->m_strAppName.GetString() : nullptr,
                   MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    ::ShellExecuteW(m_hWnd, nullptr, L"explorer.exe", L"/select," + Quoted(path), nullptr, SW_SHOWNORMAL);
    return 0;
}

int CJobListCtrl::OpenInputFolder(int row)
{
    const CConvertListItem* item = GetRowItem(row);
    return item ? ShowInFolder(item->m_settings.m_source) : -1;
}

int CJobListCtrl::OpenOutputFolder(int row)
{
    const CConvertListItem* item = GetRowItem(row);
    if (!item || item->m_state != JOB_COMPLETED)
        return -1;
    return ShowInFolder(item->m_outputPath);
}

int CJobListCtrl::RunLink(int command, int row)
{
    switch (command) {
    case JOB_LINK_REMOVE:
        RemoveRow(row);
        return 0;
    case JOB_LINK_PLAY_OUTPUT:
        return PlayOutput(row);
    case JOB_LINK_PLAY_INPUT:
        return PlayInput(row);
    case JOB_LINK_OPEN_INPUT_FOLDER:
        return OpenInputFolder(row);
    case JOB_LINK_OPEN_OUTPUT_FOLDER:
        return OpenOutputFolder(row);
    default:
        return -1;
    }
}

int CJobListCtrl::LinkAt(CPoint point, int* row) const
{
    LVHITTESTINFO hit{};
    hit.pt = point;
    const int hitRow = ListView_SubItemHitTest(m_hWnd, &hit);
    if (row)
        *row = hitRow;
    if (hitRow < 0 || hit.iSubItem < 0)
        return JOB_LINK_NONE;
    CRect bounds;
    GetItemRect(hitRow, &bounds, LVIR_BOUNDS);
    const std::vector<RowRect> cells = RowCells(bounds);
    if (static_cast<size_t>(hit.iSubItem) >= cells.size())
        return JOB_LINK_NONE;
    return ::LinkAt(hit.iSubItem, cells[static_cast<size_t>(hit.iSubItem)], ToRowRect(bounds), GetMetrics(),
                    IsCompleted(hitRow), point.x, point.y);
}

BOOL CJobListCtrl::OnClick(NMHDR* header, LRESULT*)
{
    const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(header);
    int row = -1;
    const int command = LinkAt(click->ptAction, &row);
    m_linkClicked = command != JOB_LINK_NONE;
    if (m_linkClicked) {
        ::SetCursor(AppCursor(CAppPaths::CURSOR_HAND));
        RunLink(command, row);
        return FALSE;
    }
    m_editRow = m_editColumn = -1;
    LVHITTESTINFO hit{};
    hit.pt = click->ptAction;
    if (ListView_SubItemHitTest(m_hWnd, &hit) >= 0 && hit.iSubItem > 0 && (hit.flags & LVHT_ONITEM) &&
        IsItemSelected(hit.iItem) && GetSelectedCount() > 0 && !GetEditControl()) {
        m_editRow = hit.iItem;
        m_editColumn = hit.iSubItem;
    }
    return FALSE;
}

// ---- in-place rename --------------------------------------------------------------------------

void CJobListCtrl::SetEditTarget(int row, int column)
{
    m_editRow = row;
    m_editColumn = column;
    m_linkClicked = false;
}

void CJobListCtrl::StartEdit()
{
    if (m_editRow < 0)
        return;
    SetFocus();
    EditLabel(m_editRow);
}

bool CJobListCtrl::BeginRenameEdit()
{
    if (m_linkClicked || m_editColumn != JOB_COLUMN_OUTPUT || !IsCompleted(m_editRow))
        return false;
    const HWND edit = GetEditControl();
    CRect bounds;
    if (!edit || !GetItemRect(m_editRow, &bounds, LVIR_BOUNDS))
        return false;
    m_editRect = ToCRect(RenameEditRect(RowCells(bounds)[JOB_COLUMN_OUTPUT], GetMetrics()));
    if (m_edit.m_hWnd)
        m_edit.UnsubclassWindow();
    m_edit.SetFixedRect(m_editRect);
    if (!m_edit.SubclassWindow(edit))
        return false;
    m_edit.SetFont(NormalFont(), FALSE);
    m_edit.SetWindowText(GetItemText(m_editRow, JOB_COLUMN_OUTPUT));
    m_edit.SetWindowPos(static_cast<HWND>(nullptr), m_editRect.left, m_editRect.top, m_editRect.Width(),
                        m_editRect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_edit.SetSel(0, -1);
    return true;
}

void CJobListCtrl::EndRenameEdit()
{
    if (m_edit.m_hWnd)
        m_edit.UnsubclassWindow();
    m_editRow = m_editColumn = -1;
}

// ---- drawing ----------------------------------------------------------------------------------------

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

// ---- mouse: links and dragging ------------------------------------------------------------------

BOOL CJobListCtrl::OnSetCursor(CWnd*, UINT hitTest, UINT)
{
    if (hitTest == HTCLIENT && !m_dragImage) {
        // Where the mouse is now: the position of the last message read may be one move behind,
        // as the cursor is asked for before the move is handed out.
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        if (LinkAt(point) != JOB_LINK_NONE) {
            ::SetCursor(AppCursor(CAppPaths::CURSOR_HAND));
            return TRUE;
        }
    }
    return static_cast<BOOL>(Default());
}

void CJobListCtrl::OnLButtonDown(UINT, CPoint point)
{
    if (LinkAt(point) != JOB_LINK_NONE) {
        ::SetCursor(AppCursor(CAppPaths::CURSOR_HAND));
    } else {
        m_pressRow = HitTest(point);
        m_pressPoint = point;
    }
    Default();
}

void CJobListCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (m_dragImage) {
        DragTo(point);
        return;
    }
    if (flags & MK_LBUTTON) {
        if (m_pressRow >= 0 && point != m_pressPoint && HitTest(point) == m_pressRow && BeginDrag(point))
            return;
    } else {
        m_pressRow = -1;
        if (LinkAt(point) != JOB_LINK_NONE)
            ::SetCursor(AppCursor(CAppPaths::CURSOR_HAND));
    }
    Default();
}

void CJobListCtrl::OnLButtonUp(UINT, CPoint point)
{
    m_pressRow = -1;
    if (m_dragImage) {
        // The list saw no drag of its own: its button-up would click where the row was dropped.
        EndDrag(point);
        return;
    }
    Default();
}

LRESULT CJobListCtrl::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    // Another window took the mouse in mid-drag: nothing is dropped.
    if (m_dragImage && reinterpret_cast<HWND>(lParam) != m_hWnd)
        CancelDrag();
    return Default();
}

bool CJobListCtrl::BeginDrag(CPoint point)
{
    const int row = m_pressRow;
    CRect bounds;
    if (!GetItemRect(row, &bounds, LVIR_BOUNDS) || bounds.IsRectEmpty())
        return false;
    CBitmap bitmap;
    {
        CClientDC client(this);
        CDC memory;
        if (!memory.CreateCompatibleDC(&client) || !bitmap.CreateCompatibleBitmap(client, bounds.Width(), bounds.Height()))
            return false;
        const HGDIOBJ old = memory.SelectObject(&bitmap);
        memory.SetWindowOrg(bounds.left, bounds.top);
        memory.FillSolidRect(bounds, RGB(255, 255, 255));
        DrawRow(memory, row, bounds, true);
        memory.SelectObject(old);
    }
    auto image = std::make_unique<CImageList>();
    if (!image->Create(bounds.Width(), bounds.Height(), ILC_COLOR24 | ILC_MASK, 1, 1) || image->Add(&bitmap, GetBkColor()) < 0)
        return false;
    m_pressRow = -1;
    m_dragRow = row;
    RedrawItems(row, row);
    UpdateWindow();
    LetPaintingReachTheScreen();
    if (!image->BeginDrag(0, CPoint(point.x - bounds.left, point.y - bounds.top))) {
        m_dragRow = -1;
        RedrawItems(row, row);
        return false;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    CImageList::DragEnter(nullptr, screen);
    m_dragImage = std::move(image);
    m_drop = DropPosition();
    SetCapture();
    DragTo(point);
    return true;
}

void CJobListCtrl::DragTo(CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    CImageList::DragMove(screen);
    CRect client;
    GetClientRect(&client);
    const bool inside = client.PtInRect(point) != FALSE;
    const DropPosition drop = DropPositionAt(point.y, inside, RowBoundsList(), m_dragRow);
    if (!(drop == m_drop))
        ShowDropMarker(drop);
    m_cursor = !inside ? AppCursor(CAppPaths::CURSOR_REMOVE)
                       : (drop.IsNone() ? ::LoadCursorW(nullptr, IDC_ARROW) : AppCursor(CAppPaths::CURSOR_MOVE));
    ::SetCursor(m_cursor);
}

void CJobListCtrl::ShowDropMarker(const DropPosition& drop)
{
    // The drag image is drawn over the screen: it must not be painted into the list meanwhile.
    CImageList::DragShowNolock(FALSE);
    const std::vector<RowRect> rows = RowBoundsList();
    if (!m_drop.IsNone()) {
        const CRect old = ToCRect(DropMarkerRect(m_drop, rows));
        InvalidateRect(&old, FALSE);
        UpdateWindow();
    }
    m_drop = drop;
    if (!drop.IsNone()) {
        CClientDC dc(this);
        dc.FillSolidRect(ToCRect(DropMarkerRect(drop, rows)), kDropMarkerColour);
    }
    CImageList::DragShowNolock(TRUE);
}

void CJobListCtrl::StopDragging()
{
    CImageList::DragLeave(nullptr);
    CImageList::EndDrag();
    m_dragImage.reset();
    ShowDropMarker(DropPosition());
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
}

void CJobListCtrl::CancelDrag()
{
    const int row = m_dragRow;
    StopDragging();
    m_dragRow = -1;
    RedrawItems(row, row);
}

void CJobListCtrl::EndDrag(CPoint point)
{
    const DropPosition drop = m_drop;
    StopDragging();
    const int row = m_dragRow;
    m_dragRow = -1;
    CRect client;
    GetClientRect(&client);
    bool gone = false;
    if (!drop.IsNone())
        gone = MoveRow(row, drop.InsertIndex()) == 1;
    else if (!client.PtInRect(point)) {
        RemoveRow(row);
        gone = true;
    }
    if (!gone)
        RedrawItems(row, row);
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

// ---- header ---------------------------------------------------------------------------------------

BOOL CJobListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->hwndFrom == GetHeaderCtrl()) {
        // Column 0 keeps its width, and a double click on a divider sizes nothing.
        const bool beginTrack = header->code == HDN_BEGINTRACKW || header->code == HDN_BEGINTRACKA;
        if (beginTrack && reinterpret_cast<const NMHEADERW*>(lParam)->iItem == JOB_COLUMN_STATE) {
            *result = TRUE;
            return TRUE;
        }
        if (header->code == HDN_DIVIDERDBLCLICKW || header->code == HDN_DIVIDERDBLCLICKA) {
            *result = 0;
            return TRUE;
        }
    }
    return CListCtrlEx::OnNotify(wParam, lParam, result);
}
