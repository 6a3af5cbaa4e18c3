// The main dialog's layout in its bands and rows, its painted background and its dragging by
// the background.

#include "TalvenaDlg.h"

#include <algorithm>

#include "AppGlobals.h"
#include "AppPaths.h"
#include "CDC.h"
#include "TalvenaRes.h"

namespace {

constexpr COLORREF kBandColour = RGB(240, 240, 240);
constexpr COLORREF kBandLineColour = RGB(224, 224, 224);
constexpr COLORREF kListLineColour = RGB(232, 232, 232);

} // namespace

void CTalvenaDlg::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED && cx > 0 && cy > 0 && m_list.m_hWnd)
        LayOut(cx, cy);
}

void CTalvenaDlg::LayOut(int cx, int cy)
{
    cx = std::max(cx, 400);
    cy = std::max(cy, 280);
    auto size = [this](int id) {
        CRect r;
        GetDlgItem(id)->GetWindowRect(&r);
        return CSize(r.Width(), r.Height());
    };
    HDWP batch = BeginDeferWindowPos(20);
    auto place = [&](HWND window, int x, int y, int w, int h) {
        if (batch)
            batch = DeferWindowPos(batch, window, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // Top band: the menu button right-aligned, the list tools left of it.
    SIZE menuSize{}, listSize{};
    m_menuToolBar.SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&menuSize));
    m_listToolBar.SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&listSize));
    const int menuLeft = cx - 10 - menuSize.cx;
    place(m_menuToolBar.m_hWnd, menuLeft, (m_topBandHeight - menuSize.cy) / 2, menuSize.cx, menuSize.cy);
    place(m_listToolBar.m_hWnd, 6, (m_topBandHeight - listSize.cy) / 2, std::max(0, menuLeft - 12), listSize.cy);

    // Bottom band.
    const int bandTop = cy - m_bottomBandHeight;
    const CSize close = size(IDCANCEL), convert = size(IDC_CONVERT), check = size(IDC_CLOSE_WHEN_DONE);
    place(GetDlgItem(IDC_CLOSE_WHEN_DONE)->m_hWnd, 12, bandTop + (m_bottomBandHeight - check.cy) / 2, check.cx, check.cy);
    const int closeLeft = cx - 10 - close.cx;
    const int buttonTop = bandTop + (m_bottomBandHeight - close.cy) / 2;
    place(GetDlgItem(IDCANCEL)->m_hWnd, closeLeft, buttonTop, close.cx, close.cy);
    place(GetDlgItem(IDC_CONVERT)->m_hWnd, closeLeft - 6 - convert.cx, buttonTop, convert.cx, convert.cy);
    place(GetDlgItem(IDC_STOP)->m_hWnd, closeLeft - 6 - convert.cx, buttonTop, convert.cx, convert.cy);

    // From the bottom band up: the check boxes, the output row, the format row.
    const CSize label = size(IDC_SAVE_TO_LABEL);
    const int fieldLeft = 12 + label.cx + 6;
    int y = bandTop - 10;
    for (int id : {IDC_ADD_TO_ITUNES, IDC_SAME_AS_INPUT}) {
        CWnd* box = GetDlgItem(id);
        // Its own style, not what shows: the window is still hidden at its first layout.
        if (!(box->GetStyle() & WS_VISIBLE))
            continue;
        const CSize boxSize = size(id);
        y -= boxSize.cy;
        place(box->m_hWnd, fieldLeft, y, boxSize.cx, boxSize.cy);
        y -= 10;
    }
    const CSize open = size(IDC_OPEN_FOLDER), browse = size(IDC_BROWSE), combo = size(IDC_OUTPUT_FOLDER);
    y -= combo.cy;
    const int openLeft = cx - 10 - open.cx;
    const int browseLeft = openLeft - 4 - browse.cx;
    place(GetDlgItem(IDC_OPEN_FOLDER)->m_hWnd, openLeft, y, open.cx, open.cy);
    place(GetDlgItem(IDC_BROWSE)->m_hWnd, browseLeft, y, browse.cx, browse.cy);
    place(m_outputCombo.m_hWnd, fieldLeft, y, std::max(40, browseLeft - 16 - fieldLeft), 200);
    place(GetDlgItem(IDC_SAVE_TO_LABEL)->m_hWnd, 12, y + (combo.cy - label.cy) / 2, label.cx, label.cy);

    const CSize advanced = size(IDC_ADVANCED), format = size(IDC_FORMAT), formatLabel = size(IDC_FORMAT_LABEL);
    y -= 16 + format.cy;
    const int advancedLeft = cx - 10 - advanced.cx;
    place(GetDlgItem(IDC_ADVANCED)->m_hWnd, advancedLeft, y, advanced.cx, advanced.cy);
    place(m_formatCombo.m_hWnd, fieldLeft, y, format.cx, 300);
    const int presetLeft = fieldLeft + format.cx + 6;
    place(m_presetCombo.m_hWnd, presetLeft, y, std::max(40, advancedLeft - 6 - presetLeft), 300);
    place(GetDlgItem(IDC_FORMAT_LABEL)->m_hWnd, 12, y + (format.cy - formatLabel.cy) / 2, formatLabel.cx, formatLabel.cy);

    place(m_list.m_hWnd, 0, m_topBandHeight, cx, std::max(0, y - 16 - m_topBandHeight));
    if (batch)
        EndDeferWindowPos(batch);
    Invalidate();
}

BOOL CTalvenaDlg::OnEraseBkgnd(CDC* dc)
{
    PaintBackground(*dc);
    return TRUE;
}

void CTalvenaDlg::PaintBackground(CDC& dc)
{
    CRect client;
    GetClientRect(&client);
    client.bottom = std::max(client.bottom, client.top + 280);
    dc.FillSolidRect(client, m_backgroundColour);
    CRect top(client.left, client.top, client.right, client.top + m_topBandHeight);
    dc.FillSolidRect(top, kBandColour);
    dc.FillSolidRect(CRect(top.left, top.bottom - 1, top.right, top.bottom), kBandLineColour);
    CRect bottom(client.left, client.bottom - m_bottomBandHeight, client.right, client.bottom);
    dc.FillSolidRect(bottom, kBandColour);
    dc.FillSolidRect(CRect(bottom.left, bottom.top, bottom.right, bottom.top + 1), kBandLineColour);
    if (m_list.m_hWnd) {
        CRect list;
        m_list.GetWindowRect(&list);
        ScreenToClient(&list);
        dc.FillSolidRect(CRect(list.left, list.bottom, list.right, list.bottom + 1), kListLineColour);
    }
    for (int id : {IDC_FORMAT_LABEL, IDC_SAVE_TO_LABEL}) {
        CRect label;
        GetDlgItem(id)->GetWindowRect(&label);
        ScreenToClient(&label);
        m_labelIcons.Draw(&dc, 0, CPoint(label.left - 8 - 12, label.top + (label.Height() - 12) / 2),
                          ILD_TRANSPARENT);
    }
    if (g_pAppPaths && !g_pAppPaths->m_osVersion.IsVistaOrLater())
        g_pAppPaths->m_images12.Draw(&dc, 0, CPoint(client.right - 12, client.bottom - 12), ILD_TRANSPARENT);
}

LRESULT CTalvenaDlg::OnCtlColor(WPARAM wParam, LPARAM)
{
    const HDC dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, m_backgroundColour);
    return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_backgroundBrush));
}

void CTalvenaDlg::OnLButtonDown(UINT, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    const bool corner = point.x >= client.right - 12 && point.y >= client.bottom - 12;
    ReleaseCapture();
    SendMessage(WM_NCLBUTTONDOWN, corner ? HTBOTTOMRIGHT : HTCAPTION, MAKELPARAM(point.x, point.y));
}
