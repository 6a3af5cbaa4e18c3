#include "PlayControlBar.h"

#include <algorithm>

#include "BarRules.h"
#include "AnimationWnd.h"
#include "CWinApp.h"
#include "OffscreenDC.h"
#include "Settings.h"
#include "ViewerGlobals.h"
#include "resource.h"

namespace {

constexpr COLORREF kBarBackground = RGB(0x30, 0x30, 0x30);
constexpr COLORREF kMagenta = RGB(0xFF, 0x00, 0xFF);
// Sent by a worker: wParam the operation, lParam its three arguments.
constexpr UINT WM_BAR_FROM_WORKER = WM_USER + 0x160;

enum WorkerOperation { OP_PLAY_STATE, OP_FRAME_RANGE, OP_WORKER_POSITIONS };

struct WorkerCall {
    int a, b, c;
};

} // namespace

// ---- position text ----

CBarPositionText::CBarPositionText(CBarItemList* owner, int left, int top, int right, int bottom, int commandId)
    : CBarTextItem(owner, left, top, right, bottom, commandId)
{
    UpdateText();
}

void CBarPositionText::SetMaximum(int maximum)
{
    m_nMaximum = maximum;
    UpdateText();
}

void CBarPositionText::SetPosition(int position)
{
    m_nPosition = std::min(position, m_nMaximum);
    UpdateText();
}

void CBarPositionText::UpdateText()
{
    // Painted with the next paint of the bar, together with the slider it moves with.
    SetText(PositionText(m_nPosition, m_nMaximum), FALSE);
    Invalidate(FALSE);
}

void CBarPositionText::DrawForeground(CDC* dc, const RECT& rect, int state)
{
    CRect area(rect.left + 2, rect.top, rect.right - 2, rect.bottom - 1);
    COLORREF colour = m_crText;
    if (IsHot())
        colour = m_crHotText;
    else if (IsDisabled() || (m_nMaximum == 0 && m_nPosition == 0))
        colour = m_crDisabledText;
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc->SetTextColor(colour);
    HGDIOBJ oldFont = m_pFont ? dc->SelectObject(m_pFont) : nullptr;
    dc->DrawText(m_strText, area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (oldFont)
        dc->SelectObject(oldFont);
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
}

// ---- slider ----

void CPlaySlider::SetChannelImages(CImageList* list)
{
    m_pChannel = list;
    CSize size = BarImageSize(list);
    m_nChannelWidth = size.cx;
    m_nChannelHeight = size.cy;
    Invalidate(TRUE);
}

void CPlaySlider::PaintChannel(CDC* dc, const BarBox& channel)
{
    CBarSlider::PaintChannel(dc, channel);
    // The channel's two end pieces over the tiles.
    if (m_pChannel) {
        m_pChannel->Draw(dc, 0, CPoint(channel.left, channel.top), ILD_NORMAL);
        m_pChannel->Draw(dc, 1, CPoint(channel.right - 3, channel.top), ILD_NORMAL);
    }
}

int CPlaySlider::FrameAt(CPoint point) const
{
    int value = -1;
    if (!HasRange() ||
        !SliderXToValue(ItemBox(), GetChannel(), m_nMin[1], m_nMax[1], point.x, point.y, false, &value))
        return -1;
    return value;
}

BOOL CPlaySlider::OnMouseMessage(const MSG* msg)
{
    const bool dragging = m_pList && m_pList->GetCaptureItem() == this && !IsHidden() && !IsDisabled();
    if (dragging && (msg->message == WM_MOUSEMOVE || msg->message == WM_LBUTTONUP)) {
        const CPoint point = BarMessagePoint(msg);
        int value = -1;
        if (SliderXToValue(ItemBox(), GetChannel(), m_nMin[1], m_nMax[1], point.x, point.y, true, &value))
            SetPos(value);
        if (msg->message == WM_MOUSEMOVE)
            return TRUE;
    }
    const BOOL taken = CBarSlider::OnMouseMessage(msg);
    if (msg->message == WM_LBUTTONDOWN && taken && IsPressed() && m_pList->GetCaptureItem() != this)
        m_pList->SetCaptureItem(this);
    return taken;
}

// ---- bar ----

FW_BEGIN_MESSAGE_MAP(CPlayControlBar, CSkinBar)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnPlain(WM_PAINT, &ThisClass::OnPaint),
    FwOnSize(&ThisClass::OnSize),
    FwOnMouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
    FwOnContextMenu(&ThisClass::OnContextMenu),
    FwOnMessage(WM_BARSLIDER_POS, &ThisClass::OnSliderPos),
    FwOnMessage(WM_BAR_FROM_WORKER, &ThisClass::OnFromWorker),
    FwOnUpdateCommand(ID_PLAY_POSITION, &ThisClass::OnUpdatePosition),
FW_END_MESSAGE_MAP()

CPlayControlBar::CPlayControlBar() : CBarItemList(this) {}

BOOL CPlayControlBar::CreateImages()
{
    struct Strip {
        CImageList& list;
        UINT bitmap;
        int width;
        COLORREF mask;
    } strips[] = {
        {m_ilPlay, IDB_PLAY, 24, kMagenta},
        {m_ilPause, IDB_PAUSE, 24, kMagenta},
        {m_ilStop, IDB_STOP, 24, kMagenta},
        {m_ilPrevious, IDB_PREVIOUS_FILE, 24, kMagenta},
        {m_ilNext, IDB_NEXT_FILE, 24, kMagenta},
        {m_ilThumb, IDB_SLIDER_THUMB, 20, RGB(0, 0, 0)},
        {m_ilToPlay, IDB_SWITCH_TO_PLAY, 24, kMagenta},
        {m_ilToPlaylist, IDB_SWITCH_TO_PLAYLIST, 24, kMagenta},
        {m_ilSave, IDB_SAVE_FRAME, 24, kMagenta},
        {m_ilZoom, IDB_ZOOM, 24, kMagenta},
        {m_ilFullScreen, IDB_FULL_SCREEN, 24, kMagenta},
        {m_ilLeaveFullScreen, IDB_LEAVE_FULL_SCREEN, 24, kMagenta},
        {m_ilChannel, IDB_SLIDER_CHANNEL, 3, kMagenta},
    };
    for (Strip& s : strips)
        if (!s.list.Create(s.bitmap, s.width, 2, s.mask))
            return FALSE;
    return TRUE;
}

void CPlayControlBar::AddItems()
{
    const int h = m_nHeight;
    auto image = [this, h](CImageList& list, int command) {
        auto* item = new CBarImageItem(this, 0, 0, 48, h, command);
        item->SetImageList(&list, FALSE);
        Add(item);
        return item;
    };
    m_pPlay = image(m_ilPlay, ID_PLAY_PLAY);
    m_pPause = image(m_ilPause, ID_PLAY_PAUSE);
    m_pPause->SetHidden(TRUE);
    m_pStop = image(m_ilStop, ID_PLAY_STOP);
    m_pPrevious = image(m_ilPrevious, ID_PLAY_PREVIOUS_FILE);
    m_pNext = image(m_ilNext, ID_PLAY_NEXT_FILE);
    m_pSlider = new CPlaySlider(this, 0, 0, 100, h);
    m_pSlider->SetThumbImages(&m_ilThumb);
    m_pSlider->SetChannelImages(&m_ilChannel);
    Add(m_pSlider);
    m_pPosition = new CBarPositionText(this, 0, 0, 40, h, ID_PLAY_POSITION);
    m_pPosition->SetTextColours(RGB(0xC0, 0xC0, 0xC0), RGB(0xF0, 0xF0, 0xF0), RGB(0x60, 0x60, 0x60));
    if (g_pUIResources)
        m_pPosition->SetFont(&g_pUIResources->m_fontNormal);
    Add(m_pPosition);
    m_pSaveFrame = image(m_ilSave, ID_PLAY_SAVE_FRAME);
    m_pZoom = image(m_ilZoom, ID_ZOOM_CYCLE);
    m_pFullScreen = image(m_ilFullScreen, ID_VIEW_FULL_SCREEN);
    m_pSwitch = image(m_ilToPlay, ID_NEXT_PANE);

    const wchar_t* tips[] = {L"Play (Ctrl+P)",
                             L"Pause (Ctrl+P)",
                             L"Stop (Ctrl+S)",
                             L"Play previous file (Page Up)",
                             L"Play next file (Page Down)",
                             L"",
                             L"Current frame / frame Count",
                             L"Save current frame to a file (Ctrl+F)",
                             L"Fit Window/Original size",
                             L"Full screen (Alt+Enter)",
                             L"Go to play view (Double-Click or F6)"};
    CRect none(0, 0, 0, 0);
    for (UINT_PTR id = 1; id <= 11; id++)
        m_wndToolTip.AddTool(this, tips[id - 1], &none, id);
}

int CPlayControlBar::OnCreate(LPCREATESTRUCTW cs)
{
    if (Default() == -1)
        return -1;
    if (!m_wndToolTip.Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX))
        return -1;
    m_wndToolTip.SetMaxTipWidth(0xFFFF);
    if (!CreateImages())
        return -1;
    AddItems();
    LayoutItems();
    m_pSlider->SetRangeMax(1, -1);
    m_pSlider->SetValue(1, -1, FALSE);
    return 0;
}

void CPlayControlBar::GetItemSpans(BarSpan (&spans)[BAR_ITEM_COUNT]) const
{
    CRect client;
    GetClientRect(&client);
    CString widest = PositionText(m_pPosition->GetMaximum(), m_pPosition->GetMaximum());
    int measured = 0;
    if (HDC dc = ::GetDC(m_hWnd)) {
        HGDIOBJ old = g_pUIResources ? ::SelectObject(dc, g_pUIResources->m_fontNormal) : nullptr;
        SIZE size{};
        ::GetTextExtentPoint32W(dc, widest, widest.GetLength(), &size);
        measured = size.cx;
        if (old)
            ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
    }
    LayoutPlayBar(client.Width(), PositionTextWidth(measured), m_bDocked, spans);
}

void CPlayControlBar::LayoutItems()
{
    if (!m_pSwitch)
        return;
    BarSpan spans[BAR_ITEM_COUNT];
    GetItemSpans(spans);
    CRect client;
    GetClientRect(&client);
    CBarItem* items[BAR_ITEM_COUNT] = {m_pPlay,       m_pPause,     m_pStop, m_pPrevious, m_pNext,      m_pSlider,
                                       m_pPosition,   m_pSaveFrame, m_pZoom, m_pFullScreen, m_pSwitch};
    // In a narrow bar the items at the right end that would be cut are hidden whole.
    for (int i = BAR_POSITION; i < BAR_ITEM_COUNT; i++)
        items[i]->SetHidden((i == BAR_SWITCH && m_bDocked) || !PlayBarItemFits(spans[i], client.Width()));
    for (int i = 0; i < BAR_ITEM_COUNT; i++) {
        CRect rect(spans[i].left, client.top, spans[i].right, client.bottom);
        items[i]->SetRect(rect, FALSE);
        m_wndToolTip.SetToolRect(this, UINT_PTR(i + 1), items[i]->IsHidden() ? CRect(0, 0, 0, 0) : rect);
    }
    Invalidate(FALSE);
}

void CPlayControlBar::OnPaint()
{
    CPaintDC paint(this);
    COffscreenDC dc(&paint);
    const CRect area(paint.m_ps.rcPaint);
    dc.FillSolidRect(area, kBarBackground);
    // Only the items the update reaches: a new play position repaints the slider and the text,
    // many times a second, and painting all the others each time would hold up the frames.
    for (int i = 0; i < GetCount(); i++) {
        CRect overlap;
        if (overlap.IntersectRect(GetAt(i)->Rect(), area))
            GetAt(i)->Paint(&dc);
    }
}

void CPlayControlBar::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED && cx > 0 && cy > 0 && m_wndToolTip.GetSafeHwnd())
        LayoutItems();
}

void CPlayControlBar::OnMouseMove(UINT, CPoint point)
{
    Default();
    if (!m_pSlider)
        return;
    int frame = m_pSlider->HitTest(point) ? m_pSlider->FrameAt(point) : -1;
    CString tip;
    if (frame >= 0)
        tip.Format(L"%d", frame + 1);
    if (tip != m_strSliderTip) {
        m_strSliderTip = tip;
        m_wndToolTip.UpdateTipText(tip, this, UINT_PTR(BAR_SLIDER + 1));
    }
}

void CPlayControlBar::OnContextMenu(CWnd*, CPoint point)
{
    CPoint client = point;
    if (point.x == -1 && point.y == -1) {
        client = CPoint(8, 8);
        point = client;
        ClientToScreen(&point);
    } else {
        ScreenToClient(&client);
    }
    BarSpan spans[BAR_ITEM_COUNT];
    GetItemSpans(spans);
    int popup = PlayBarPopupAt(client.x, spans);
    CWnd* frame = GetParentFrame();
    HMENU menu = ::LoadMenuW(FwGetInstanceHandle(), MAKEINTRESOURCEW(IDR_CONTEXT_MENUS));
    if (popup >= 0 && menu && frame)
        ::TrackPopupMenu(::GetSubMenu(menu, popup), TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, frame->m_hWnd,
                         nullptr);
    if (menu)
        ::DestroyMenu(menu);
}

LRESULT CPlayControlBar::OnSliderPos(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<CPlaySlider*>(lParam) != m_pSlider)
        return 0;
    m_pPosition->SetPosition(int(wParam));
    if (g_pCanvas)
        g_pCanvas->SeekFrame(int(wParam), true);
    return 0;
}

void CPlayControlBar::OnUpdatePosition(CCmdUI* ui) { ui->Enable(m_pPosition && m_pPosition->GetMaximum() > 0); }

void CPlayControlBar::OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler)
{
    UpdateCmdUI(target, disableIfNoHandler);
}

BOOL CPlayControlBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The items' commands are the frame's.
    CFrameWnd* frame = GetParentFrame();
    if (lParam == 0 && frame) {
        frame->SendMessage(WM_COMMAND, wParam, 0);
        return TRUE;
    }
    return CSkinBar::OnCommand(wParam, lParam);
}

BOOL CPlayControlBar::PreTranslateMessage(MSG* msg)
{
    if (msg->hwnd == m_hWnd) {
        if (m_wndToolTip.GetSafeHwnd())
            m_wndToolTip.RelayEvent(msg);
        BOOL taken = RelayMouseMessage(msg);
        if (msg->message == WM_LBUTTONDOWN && !taken) {
            if (CFrameWnd* frame = GetParentFrame()) {
                CPoint screen(msg->lParam);
                ClientToScreen(&screen);
                ::ReleaseCapture();
                frame->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
                return TRUE;
            }
        }
    }
    return CSkinBar::PreTranslateMessage(msg);
}

// ---- operations ----

bool CPlayControlBar::OnOtherThread() const
{
    return GetSafeHwnd() && ::GetWindowThreadProcessId(m_hWnd, nullptr) != ::GetCurrentThreadId();
}

bool CPlayControlBar::HandToBarThread(int operation, int a, int b, int c)
{
    if (!OnOtherThread())
        return false;
    WorkerCall call{a, b, c};
    SendMessage(WM_BAR_FROM_WORKER, WPARAM(operation), reinterpret_cast<LPARAM>(&call));
    return true;
}

LRESULT CPlayControlBar::OnFromWorker(WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const WorkerCall*>(lParam);   // null for the positions
    switch (int(wParam)) {
    case OP_PLAY_STATE:
        SetPlayState(call->a);
        break;
    case OP_FRAME_RANGE:
        SetFrameRange(call->a, call->b);
        break;
    case OP_WORKER_POSITIONS:
        TakeWorkerPositions();
        break;
    default:
        break;
    }
    return 0;
}

void CPlayControlBar::SetPlayState(int state)
{
    if (!m_pPlay || HandToBarThread(OP_PLAY_STATE, state, 0, 0))
        return;
    const bool playing = state == 1;
    m_pPlay->SetHidden(playing);
    m_pPause->SetHidden(!playing);
    LayoutItems();
    m_pPlay->Invalidate(TRUE);
    if (CWnd* main = FwGetMainWnd())
        main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE);
}

void CPlayControlBar::SetFrameRange(int track, int maximum)
{
    if (!m_pSlider || HandToBarThread(OP_FRAME_RANGE, track, maximum, 0))
        return;
    m_pSlider->SetRangeMax(track, maximum);
    m_pPosition->SetMaximum(maximum);
    LayoutItems();
}

void CPlayControlBar::SetFramePos(int track, int value, BOOL redraw)
{
    if (!m_pSlider)
        return;
    std::atomic<int>& pending = m_nWorkerPos[track == 0 ? 0 : 1];
    if (OnOtherThread()) {
        // A worker never waits for this thread's painting: it leaves the latest position and at
        // most one message at a time fetches what is there.
        pending = value;
        if (!m_bWorkerPosPosted.exchange(true))
            PostMessage(WM_BAR_FROM_WORKER, OP_WORKER_POSITIONS, 0);
        return;
    }
    pending = kNoPosition;   // older than this one
    ShowFramePos(track, value, redraw);
}

void CPlayControlBar::TakeWorkerPositions()
{
    m_bWorkerPosPosted = false;
    for (int track : {0, 1}) {
        const int value = m_nWorkerPos[track].exchange(kNoPosition);
        if (value != kNoPosition)
            ShowFramePos(track, value, TRUE);
    }
}

void CPlayControlBar::ShowFramePos(int track, int value, BOOL redraw)
{
    // Painted with the next paint of the bar: the play loop moves it at every frame.
    m_pSlider->SetValue(track, value, FALSE);
    if (redraw)
        m_pSlider->Invalidate(FALSE);
    // The text tells the frame on the screen; how far decoding went is the slider's light part.
    if (track == 1)
        m_pPosition->SetPosition(value);
}

void CPlayControlBar::SetSplitButton(BOOL docked)
{
    if (!m_pSwitch)
        return;
    m_bDocked = docked != FALSE;
    LayoutItems();
}

void CPlayControlBar::SetSwitchTooltip(BOOL toPlaylist)
{
    if (!m_pSwitch)
        return;
    m_pSwitch->SetImageList(toPlaylist ? &m_ilToPlaylist : &m_ilToPlay, TRUE);
    m_wndToolTip.UpdateTipText(toPlaylist ? L"Go to playlist view (Double-Click or F6)"
                                          : L"Go to play view (Double-Click or F6)",
                               this, UINT_PTR(BAR_SWITCH + 1));
}

void CPlayControlBar::SetFullScreenButton(BOOL fullScreen)
{
    if (m_pFullScreen)
        m_pFullScreen->SetImageList(fullScreen ? &m_ilLeaveFullScreen : &m_ilFullScreen, TRUE);
}
