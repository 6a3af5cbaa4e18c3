#include "FrameDlg.h"

#include <cstring>

#include "CDC.h"
#include "CMenu.h"
#include "CWinApp.h"
#include "ControlRules.h"

namespace {

constexpr UINT kIconResource = 128;
constexpr int kPromptLimit = 256;

// The tool tip of command `id`: the part of its string after "\n"; empty without the string.
CString CommandTip(UINT id)
{
    if (id == 0)
        return CString();
    CString prompt;
    int length = ::LoadStringW(FwGetResourceHandle(), id, prompt.GetBuffer(kPromptLimit), kPromptLimit);
    prompt.ReleaseBuffer(length > 0 ? length : 0);
    return TipFromPrompt(prompt);
}

} // namespace

FW_BEGIN_MESSAGE_MAP(CFrameDlg, CDialog)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnPlain(WM_PAINT, &ThisClass::OnPaint),
    FwOnMessage(WM_QUERYDRAGICON, &ThisClass::OnQueryDragIcon),
    FwOnMessage(WM_INITMENUPOPUP, &ThisClass::OnInitMenuPopup),
    FwOnNotifyRange(TTN_GETDISPINFOW, 0, 0xFFFFFFFF, &ThisClass::OnToolTipTextW),
    FwOnNotifyRange(TTN_GETDISPINFOA, 0, 0xFFFFFFFF, &ThisClass::OnToolTipTextA),
FW_END_MESSAGE_MAP()

CFrameDlg::CFrameDlg(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

CFrameDlg::~CFrameDlg()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    if (m_hSmallIcon)
        ::DestroyIcon(m_hSmallIcon);
}

int CFrameDlg::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    HINSTANCE instance = FwGetResourceHandle();
    if (!m_hIcon)
        m_hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (!m_hSmallIcon)
        m_hSmallIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 16, 16, 0));
    if (!m_toolTip.Create(this, TTS_ALWAYSTIP))
        return -1;
    m_toolTip.SetMaxTipWidth(0xFFFF);
    return 0;
}

BOOL CFrameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, ICON_BIG);
    SetIcon(m_hSmallIcon, ICON_SMALL);
    return TRUE;
}

BOOL CFrameDlg::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.m_hWnd)
        m_toolTip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

void CFrameDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    CRect client;
    GetClientRect(&client);
    const int x = (client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    if (m_hIcon)
        dc.DrawIcon(x, y, m_hIcon);
}

LRESULT CFrameDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); }

LRESULT CFrameDlg::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    Default();
    // A menu opening ends whatever another window was tracking with the mouse.
    HWND capture = ::GetCapture();
    if (capture && capture != m_hWnd)
        ::SendMessageW(capture, WM_CANCELMODE, 0, 0);
    if (HIWORD(lParam))
        return 0;   // the system menu
    CMenu* popup = CMenu::FromHandle(reinterpret_cast<HMENU>(wParam));
    if (popup)
        FwUpdateMenuPopup(this, popup, m_bAutoMenuEnable);
    return 0;
}

UINT CFrameDlg::ToolCommand(const NMHDR* header, UINT flags)
{
    if (flags & TTF_IDISHWND)
        return static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom)));
    return static_cast<UINT>(header->idFrom);
}

void CFrameDlg::RaiseTip(const NMHDR* header)
{
    ::SetWindowPos(header->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
}

void CFrameDlg::OnToolTipTextW(UINT, NMHDR* header, LRESULT* result)
{
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    CString tip = CommandTip(ToolCommand(header, info->uFlags));
    const size_t capacity = sizeof(info->szText) / sizeof(info->szText[0]);
    wcsncpy(info->szText, tip, capacity - 1);
    info->szText[capacity - 1] = 0;
    info->lpszText = info->szText;
    RaiseTip(header);
    *result = 0;
}

void CFrameDlg::OnToolTipTextA(UINT, NMHDR* header, LRESULT* result)
{
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    CString tip = CommandTip(ToolCommand(header, info->uFlags));
    const int capacity = static_cast<int>(sizeof(info->szText));
    int written = ::WideCharToMultiByte(CP_ACP, 0, tip, -1, info->szText, capacity, nullptr, nullptr);
    if (written <= 0)
        info->szText[0] = 0;
    info->szText[capacity - 1] = 0;
    info->lpszText = info->szText;
    RaiseTip(header);
    *result = 0;
}
