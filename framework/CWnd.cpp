#include "CWnd.h"

#include <shellapi.h>

#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "CDC.h"
#include "CFrameWnd.h"
#include "FwTempMap.h"
#include "CMenu.h"
#include "CWinApp.h"

namespace {

std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

thread_local CWnd* t_creating = nullptr;
thread_local MSG t_currentMessage{};

// A temporary wrapper never owns its window.
class CTempWnd : public CWnd {
public:
    ~CTempWnd() override { m_hWnd = nullptr; }
};

void MapWindow(HWND hwnd, CWnd* wnd)
{
    std::lock_guard<std::mutex> lock(g_mapLock);
    PermanentMap()[hwnd] = wnd;
}

void UnmapWindow(HWND hwnd)
{
    std::lock_guard<std::mutex> lock(g_mapLock);
    PermanentMap().erase(hwnd);
}

bool IsReflectedMessage(UINT message)
{
    switch (message) {
    case WM_DRAWITEM: case WM_MEASUREITEM: case WM_COMPAREITEM: case WM_DELETEITEM:
    case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORDLG: case WM_HSCROLL: case WM_VSCROLL:
        return true;
    default:
        return false;
    }
}

// The control a reflected message belongs to, or none (menus, plain scroll bars).
HWND ReflectTarget(UINT message, WPARAM wParam, LPARAM lParam, HWND parent)
{
    switch (message) {
    case WM_DRAWITEM:
        return reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlType == ODT_MENU ? nullptr
                                                                               : reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        return mis->CtlType == ODT_MENU ? nullptr : ::GetDlgItem(parent, static_cast<int>(mis->CtlID));
    }
    case WM_COMPAREITEM:
        return reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
    case WM_DELETEITEM:
        return reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
    default:
        return reinterpret_cast<HWND>(lParam);
    }
}

} // namespace

LRESULT CALLBACK FwCbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_creating) {
        CWnd* wnd = t_creating;
        t_creating = nullptr;
        wnd->Attach(reinterpret_cast<HWND>(wParam));
        wnd->AttachProcedure();
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

const MSG* FwGetCurrentMessage() { return &t_currentMessage; }

LRESULT CALLBACK FwWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    MSG saved = t_currentMessage;
    t_currentMessage.hwnd = hwnd;
    t_currentMessage.message = message;
    t_currentMessage.wParam = wParam;
    t_currentMessage.lParam = lParam;
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (CException* e) {
        // No exception may cross the system's dispatch frames.
        e->Delete();
    } catch (...) {
    }
    t_currentMessage = saved;
    if (message == WM_NCDESTROY && wnd->m_hWnd == hwnd) {
        if (wnd->m_superProc && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == FwWndProc)
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_superProc));
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return result;
}

const wchar_t* FwRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::mutex lock;
    static std::map<CString, bool> registered;
    CString name;
    name.Format(L"FwWnd:%x:%p:%p:%p", classStyle, cursor, background, icon);
    std::lock_guard<std::mutex> guard(lock);
    auto it = registered.find(name);
    if (it == registered.end()) {
        WNDCLASSW wc{};
        wc.style = classStyle;
        wc.lpfnWndProc = ::DefWindowProcW;   // windows are subclassed to FwWndProc at creation
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = name;
        ::RegisterClassW(&wc);
        it = registered.emplace(name, true).first;
    }
    return it->first;
}

FW_BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
FW_END_MESSAGE_MAP()

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        if (::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId())
            ::DestroyWindow(m_hWnd);
        else
            Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    std::lock_guard<std::mutex> lock(g_mapLock);
    auto it = PermanentMap().find(hwnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hwnd))
        return wnd;
    return FwTempObject<CWnd>(hwnd, [](HWND h) -> CWnd* {
        auto* temp = new CTempWnd;
        temp->m_hWnd = h;
        return temp;
    });
}

void CWnd::DeleteTempMap() { FwTempObjects<CWnd, HWND>().clear(); }

BOOL CWnd::Attach(HWND hwnd)
{
    if (!hwnd || m_hWnd)
        return FALSE;
    m_hWnd = hwnd;
    MapWindow(hwnd, this);
    FwTempObjects<CWnd, HWND>().erase(hwnd);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hwnd = m_hWnd;
    if (hwnd)
        UnmapWindow(hwnd);
    m_hWnd = nullptr;
    return hwnd;
}

void CWnd::AttachProcedure()
{
    WNDPROC old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FwWndProc)));
    m_superProc = old == FwWndProc ? ::DefWindowProcW : old;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (!Attach(hwnd))
        return FALSE;
    PreSubclassWindow();
    AttachProcedure();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND control = ::GetDlgItem(FwHwnd(parent), static_cast<int>(id));
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_superProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
    m_superProc = nullptr;
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = FwRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, void* param)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT idOrMenu, void* param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, FwHwnd(parent), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(idOrMenu)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU idOrMenu, void* param)
{
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = FwGetResourceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return FALSE;
    return HookedCreate([&cs] {
        return ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    });
}

BOOL CWnd::HookedCreate(const std::function<HWND()>& create)
{
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, FwCbtHook, nullptr, ::GetCurrentThreadId());
    CWnd* outer = t_creating;
    t_creating = this;
    HWND hwnd = create();
    t_creating = outer;
    ::UnhookWindowsHookEx(hook);
    // A window refused in WM_CREATE is gone and detached already, and an object that deletes
    // itself after its window (PostNcDestroy) is gone too: touch nothing then.
    return hwnd && m_hWnd == hwnd;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc)
        return ::CallWindowProcW(m_superProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_currentMessage.message, t_currentMessage.wParam, t_currentMessage.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::DispatchMapMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    FwDispatch call;
    call.message = message;
    call.wParam = wParam;
    call.lParam = lParam;
    if (!DispatchEntry(call, [message](const FwMessageEntry& e) { return e.kind == FwEntryKind::Message && e.message == message; }))
        return FALSE;
    *result = call.result;
    return TRUE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND && OnCommand(wParam, lParam)) {
        *result = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        LRESULT notifyResult = 0;
        if (OnNotify(wParam, lParam, &notifyResult)) {
            *result = notifyResult;
            return TRUE;
        }
    }
    if (IsReflectedMessage(message)) {
        HWND control = ReflectTarget(message, wParam, lParam, m_hWnd);
        CWnd* child = control && control != m_hWnd ? FromHandlePermanent(control) : nullptr;
        if (child && child->OnChildNotify(message, wParam, lParam, result))
            return TRUE;
    }
    return DispatchMapMessage(message, wParam, lParam, result);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    int code = HIWORD(wParam);
    if (control) {
        CWnd* child = FromHandlePermanent(control);
        LRESULT ignored = 0;
        if (child && child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, &ignored))
            return TRUE;
    } else {
        code = CN_COMMAND;   // menus (0) and accelerators (1)
    }
    return OnCmdMsg(id, code, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    CWnd* child = FromHandlePermanent(header->hwndFrom);
    if (child && child != this && child->OnChildNotify(WM_NOTIFY, wParam, lParam, result))
        return TRUE;
    FwDispatch call;
    call.message = WM_NOTIFY;
    call.wParam = wParam;
    call.lParam = lParam;
    call.nmhdr = header;
    call.id = static_cast<UINT>(header->idFrom);
    UINT code = header->code;
    UINT id = call.id;
    if (!DispatchEntry(call, [code, id](const FwMessageEntry& e) {
            return e.kind == FwEntryKind::Notify && e.code == code && id >= e.firstId && id <= e.lastId;
        }))
        return FALSE;
    *result = call.result;
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    FwDispatch call;
    call.message = message;
    call.wParam = wParam;
    call.lParam = lParam;
    std::function<bool(const FwMessageEntry&)> match;
    if (message == WM_COMMAND) {
        UINT code = HIWORD(wParam);
        match = [code](const FwMessageEntry& e) { return e.kind == FwEntryKind::ReflectControl && e.code == code; };
    } else if (message == WM_NOTIFY) {
        call.nmhdr = reinterpret_cast<NMHDR*>(lParam);
        UINT code = call.nmhdr->code;
        match = [code](const FwMessageEntry& e) { return e.kind == FwEntryKind::ReflectNotify && e.code == code; };
    } else {
        match = [message](const FwMessageEntry& e) { return e.kind == FwEntryKind::ReflectMessage && e.message == message; };
    }
    if (!DispatchEntry(call, match))
        return FALSE;
    *result = call.result;
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        if (CWnd* wnd = FromHandlePermanent(hwnd))
            if (wnd->PreTranslateMessage(msg))
                return TRUE;
        if (hwnd == stop)
            break;
    }
    return FALSE;
}

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler)
{
    CCmdUI state;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
            continue;
        state.m_pOther = FromHandle(child);
        // Only push buttons are disabled for want of a handler.
        wchar_t cls[16] = L"";
        ::GetClassNameW(child, cls, 16);
        LONG style = static_cast<LONG>(::GetWindowLongPtrW(child, GWL_STYLE)) & 0x0F;
        bool pushButton = ::lstrcmpiW(cls, L"Button") == 0 && (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON);
        // The control itself may answer first.
        CWnd* own = FromHandlePermanent(child);
        if (own && own->OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state))
            continue;
        state.DoUpdate(target, disableIfNoHandler && pushButton);
    }
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep)
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, message, wParam, lParam);
        if (deep && ::GetWindow(child, GW_CHILD))
            FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, TRUE);
    }
}

namespace {

BOOL ModifyWindowLong(HWND hwnd, int index, DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, index));
    DWORD updated = (style & ~remove) | add;
    if (style == updated)
        return FALSE;
    ::SetWindowLongPtrW(hwnd, index, static_cast<LONG_PTR>(updated));
    if (swpFlags)
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) { return ModifyWindowLong(m_hWnd, GWL_STYLE, remove, add, swpFlags); }

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags)
{
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags);
}

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }

CWnd* CWnd::GetTopLevelParent() const
{
    HWND top = m_hWnd;
    for (HWND up = ::GetParent(top); up && (::GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD); up = ::GetParent(top))
        top = up;
    return FromHandle(top);
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND up = ::GetParent(m_hWnd); up; up = ::GetParent(up))
        if (auto* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(up)))
            return frame;
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CFrameWnd* top = dynamic_cast<CFrameWnd*>(FromHandlePermanent(m_hWnd));
    for (CFrameWnd* up = GetParentFrame(); up; up = up->GetParentFrame())
        top = up;
    return top;
}

CString CWnd::GetWindowText() const
{
    CString text;
    int length = ::GetWindowTextLengthW(m_hWnd);
    if (length > 0) {
        ::GetWindowTextW(m_hWnd, text.GetBuffer(length + 1), length + 1);
        text.ReleaseBuffer();
    }
    return text;
}

CString CWnd::GetDlgItemText(int id) const
{
    HWND control = ::GetDlgItem(m_hWnd, id);
    return control ? FromHandle(control)->GetWindowText() : CString();
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, FwHwnd(insertAfter), x, y, cx, cy, flags);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    CRect area;
    HWND owner = alternateOwner ? alternateOwner->m_hWnd
                                : ((GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER));
    if (GetStyle() & WS_CHILD) {
        ::GetClientRect(::GetParent(m_hWnd), &area);
    } else if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    CRect self;
    GetWindowRect(&self);
    if (GetStyle() & WS_CHILD)
        ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&self), 2);
    int x = area.left + (area.Width() - self.Width()) / 2;
    int y = area.top + (area.Height() - self.Height()) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::ClientToScreen(RECT* r) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(r), 2); }
void CWnd::ScreenToClient(RECT* r) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(r), 2); }

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc)
{
    if (!dc)
        return 0;
    return ::ReleaseDC(m_hWnd, dc->Detach());
}

void CWnd::DragAcceptFiles(BOOL accept) { ::DragAcceptFiles(m_hWnd, accept); }
CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr); }
CMenu* CWnd::GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }

int CWnd::MessageBox(const wchar_t* text, const wchar_t* caption, UINT type)
{
    if (!caption)
        caption = FwGetApp() ? FwGetApp()->m_strAppName.GetString() : L"";
    return ::MessageBoxW(m_hWnd, text, caption, type);
}
