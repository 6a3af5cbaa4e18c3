// The job list's life and its rows: its parts made when it is created, its rows and their
// items, the cells of a row, moving and removing rows, renaming an output in place, and the
// header's fixed first column.

#include "JobListCtrl.h"

#include <algorithm>

#include "AppGlobals.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "ConvertListItem.h"
#include "JobListCtrlHelpers.h"
#include "JobStates.h"
#include "TalvenaRes.h"

namespace {

constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr int kHeaderHeight = 24;

bool LoadImageList(CImageList& list, UINT bitmapId, int width, int height, UINT depth)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(bitmapId) || !list.Create(width, height, depth | ILC_MASK, 0, 1))
        return false;
    return list.Add(&bitmap, kMaskColour) >= 0;
}

HFONT FontOr(const CFont* font, HFONT fallback)
{
    return font && font->GetSafeHandle() ? static_cast<HFONT>(*font) : fallback;
}

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
