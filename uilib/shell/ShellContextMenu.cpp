#include "shell/ShellContextMenu.h"

#include "CFrameWnd.h"
#include "CWnd.h"
#include "SysHelpers.h"

namespace {
const wchar_t kMenuProperty[] = L"ShellContextMenu";

// Owner-draw messages of menu entries (not of controls).
bool IsMenuItemMessage(UINT message, LPARAM lParam)
{
    UINT type = message == WM_MEASUREITEM ? reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlType
                                          : reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlType;
    return type == ODT_MENU;
}
} // namespace

CShellContextMenu::~CShellContextMenu()
{
    Unhook();
    ReleaseMenu();
}

void CShellContextMenu::ReleaseMenu()
{
    if (m_pContextMenu)
        m_pContextMenu->Release();
    m_pContextMenu = nullptr;
}

BOOL CShellContextMenu::Create(IShellFolder* folder, LPCITEMIDLIST child)
{
    ReleaseMenu();
    if (!folder)
        return FALSE;
    void* menu = nullptr;
    if (FAILED(folder->GetUIObjectOf(nullptr, 1, &child, IID_IContextMenu, nullptr, &menu)) || !menu)
        return FALSE;
    m_pContextMenu = static_cast<IContextMenu*>(menu);
    return TRUE;
}

BOOL CShellContextMenu::QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags)
{
    if (!m_pContextMenu)
        return FALSE;
    m_nFirstId = firstId;
    m_nLastId = lastId;
    // By id, not position: the shell's entries may go in front of it.
    UINT ownDefault = ::GetMenuDefaultItem(menu, FALSE, GMDI_USEDISABLED);
    HRESULT hr = m_pContextMenu->QueryContextMenu(menu, index, firstId, lastId, flags);
    if (flags & CMF_NODEFAULT)
        ::SetMenuDefaultItem(menu, ownDefault, FALSE);
    if (FAILED(hr)) {
        m_nFirstId = m_nLastId = 0;
        return FALSE;
    }
    m_nLastId = firstId + HRESULT_CODE(hr) - 1;
    return TRUE;
}

BOOL CShellContextMenu::InvokeCommand(UINT id)
{
    if (!InRange(id))
        return FALSE;
    CMINVOKECOMMANDINFO info{};
    info.cbSize = sizeof(info);
    info.hwnd = FwHwnd(m_pOwner);
    info.lpVerb = MAKEINTRESOURCEA(id - m_nFirstId);
    info.nShow = SW_SHOWNORMAL;
    return m_pContextMenu->InvokeCommand(&info) == S_OK;
}

BOOL CShellContextMenu::GetCommandString(UINT id, CString& text)
{
    text.Empty();
    if (!InRange(id))
        return FALSE;
    wchar_t wide[MAX_PATH] = L"";
    HRESULT hr = m_pContextMenu->GetCommandString(id - m_nFirstId, GCS_HELPTEXTW, nullptr,
                                                   reinterpret_cast<LPSTR>(wide), MAX_PATH);
    if (SUCCEEDED(hr) && wide[0]) {
        text = wide;
        return TRUE;
    }
    char ansi[MAX_PATH] = "";
    hr = m_pContextMenu->GetCommandString(id - m_nFirstId, GCS_HELPTEXTA, nullptr, ansi, MAX_PATH);
    if (SUCCEEDED(hr) && ansi[0])
        AnsiToWide(ansi, text);
    return SUCCEEDED(hr);
}

void CShellContextMenu::Attach(CWnd* owner)
{
    if (m_pOwner || !owner)
        Unhook();
    if (!owner || !owner->m_hWnd)
        return;
    m_pOwner = owner;
    m_pOldWndProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(owner->m_hWnd, GWLP_WNDPROC));
    ::SetPropW(owner->m_hWnd, kMenuProperty, this);
    ::SetWindowLongPtrW(owner->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForwardingWndProc));
}

void CShellContextMenu::Unhook()
{
    if (m_pOwner && m_pOwner->m_hWnd) {
        ::RemovePropW(m_pOwner->m_hWnd, kMenuProperty);
        if (m_pOldWndProc)
            ::SetWindowLongPtrW(m_pOwner->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pOldWndProc));
    }
    m_pOwner = nullptr;
    m_pOldWndProc = nullptr;
}

BOOL CShellContextMenu::HandleMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (!IsMenuItemMessage(message, lParam))
            return FALSE;
        [[fallthrough]];
    case WM_INITMENUPOPUP: {
        *result = message == WM_INITMENUPOPUP ? 0 : 1;
        if (!m_pContextMenu)
            return FALSE;
        void* menu2 = nullptr;
        if (FAILED(m_pContextMenu->QueryInterface(IID_IContextMenu2, &menu2)) || !menu2)
            return FALSE;
        HRESULT hr = static_cast<IContextMenu2*>(menu2)->HandleMenuMsg(message, wParam, lParam);
        static_cast<IContextMenu2*>(menu2)->Release();
        return hr == S_OK;
    }
    case WM_MENUSELECT: {
        CFrameWnd* frame = m_pOwner ? m_pOwner->GetTopLevelFrame() : nullptr;
        if (!frame)
            return FALSE;
        *result = 0;
        if (HIWORD(wParam) == 0xFFFF)
            return FALSE;
        UINT id = LOWORD(wParam);
        UINT state = HIWORD(wParam);
        if (state & MF_POPUP)
            id = ::GetMenuItemID(::GetSubMenu(reinterpret_cast<HMENU>(lParam), LOWORD(wParam)), 0);
        CString help;
        if (!(state & MF_SEPARATOR)) {
            if (!InRange(id))
                return FALSE;
            GetCommandString(id, help);
        }
        frame->SetMessageText(help);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

LRESULT CALLBACK CShellContextMenu::ForwardingWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CShellContextMenu*>(::GetPropW(hwnd, kMenuProperty));
    if (!self)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    if (self->HandleMenuMessage(message, wParam, lParam, &result))
        return result;
    WNDPROC next = self->m_pOldWndProc;
    // The window's own procedure is back in place before the window goes.
    if (message == WM_DESTROY)
        self->Unhook();
    return ::CallWindowProcW(next, hwnd, message, wParam, lParam);
}
