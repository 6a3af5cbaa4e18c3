#pragma once
// A window: handle map, creation and subclassing, message-map dispatch, reflection of control
// notifications, command routing and thin wrappers of the window functions.
#include <windows.h>
#include <commctrl.h>

#include "CCmdTarget.h"
#include "FwTypes.h"

class CDC;
class CFrameWnd;
class CMenu;
class CFont;
class CWnd;

// The handle of a possibly null window object.
inline HWND FwHwnd(const CWnd* wnd);

class CWnd : public CCmdTarget {
    FW_DECLARE_MESSAGE_MAP()
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    // The framework object of a window: the permanent one when the window is attached or
    // subclassed, else a temporary wrapper that lives until the thread's next idle time.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    // Drops this thread's temporary wrappers (the message loop calls it when idle).
    static void DeleteTempMap();

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    BOOL Attach(HWND hwnd);
    HWND Detach();
    // Routes an existing window's messages through this object.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // A null class name means the framework's default class (double clicks, arrow cursor).
    virtual BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT idOrMenu, void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU idOrMenu, void* param = nullptr);
    virtual BOOL DestroyWindow();

    // ---- overridables ----
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual void PreSubclassWindow() {}
    // After the window is gone (WM_NCDESTROY); heap windows that own themselves delete here.
    virtual void PostNcDestroy() {}
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification, owner-draw or colour message sent to the parent, offered to this control.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Handles the message being processed the default way and returns its result.
    LRESULT Default();

    // Walks from the message's window up to this one, asking each PreTranslateMessage.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);
    // Command-update of the child controls (disables buttons nobody handles when asked).
    void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE);

    // ---- window functions ----
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::SendMessageW(m_hWnd, message, wParam, lParam); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::PostMessageW(m_hWnd, message, wParam, lParam); }
    BOOL IsWindow() const { return GetSafeHwnd() && ::IsWindow(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0);
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongPtrW(m_hWnd, GWLP_ID, id)); }
    CWnd* GetDlgItem(int id) const;
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
    CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, FwHwnd(parent))); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* WindowFromPoint(POINT p) { return FromHandle(::WindowFromPoint(p)); }
    CWnd* ChildWindowFromPoint(POINT p, UINT flags = CWP_ALL) const { return FromHandle(::ChildWindowFromPointEx(m_hWnd, p, flags)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }

    void SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text); }
    CString GetWindowText() const;
    void GetWindowText(CString& text) const { text = GetWindowText(); }
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetDlgItemText(int id, const wchar_t* text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    CString GetDlgItemText(int id) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const { return ::GetDlgItemInt(m_hWnd, id, translated, isSigned); }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckRadioButton(int first, int last, int checked) { ::CheckRadioButton(m_hWnd, first, last, checked); }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const { return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam); }

    void SetFont(CFont* font, BOOL redraw = TRUE);
    void SetFont(HFONT font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    HICON SetIcon(HICON icon, BOOL big) { return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big, reinterpret_cast<LPARAM>(icon))); }

    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsChild(const CWnd* wnd) const { return ::IsChild(m_hWnd, FwHwnd(wnd)); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, width, height, repaint); }
    void MoveWindow(const RECT& r, BOOL repaint = TRUE) { MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top, repaint); }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) { return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags); }
    void CenterWindow(CWnd* alternateOwner = nullptr);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* wp) const { wp->length = sizeof(*wp); return ::GetWindowPlacement(m_hWnd, wp); }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* wp) { return ::SetWindowPlacement(m_hWnd, wp); }
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
    void ClientToScreen(POINT* p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(RECT* r) const;
    void ScreenToClient(POINT* p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(RECT* r) const;
    void MapWindowPoints(CWnd* to, POINT* points, UINT count) const { ::MapWindowPoints(m_hWnd, FwHwnd(to), points, count); }
    void MapWindowPoints(CWnd* to, RECT* r) const { ::MapWindowPoints(m_hWnd, FwHwnd(to), reinterpret_cast<POINT*>(r), 2); }

    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* r, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, r, erase); }
    void ValidateRect(const RECT* r) { ::ValidateRect(m_hWnd, r); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(const RECT* r = nullptr, HRGN rgn = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, r, rgn, flags);
    }
    void SetRedraw(BOOL redraw = TRUE) { SendMessage(WM_SETREDRAW, redraw); }
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    static void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* dc);

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
    void DragAcceptFiles(BOOL accept = TRUE);
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* menu);
    CMenu* GetSystemMenu(BOOL revert) const;
    BOOL DrawMenuBar() { return ::DrawMenuBar(m_hWnd); }
    int MessageBox(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK);

    // Owner-drawn controls override these; the parent hands them the reflected message.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}

protected:
    WNDPROC m_superProc = nullptr;   // the procedure behind ours after subclassing

    friend LRESULT CALLBACK FwWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK FwCbtHook(int, WPARAM, LPARAM);

    // Reflected messages that a control handles through its message map.
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL DispatchMapMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Runs `create` so that the first window it makes is attached to this object.
    BOOL HookedCreate(const std::function<HWND()>& create);
    void AttachProcedure();
};

inline HWND FwHwnd(const CWnd* wnd) { return wnd ? wnd->m_hWnd : nullptr; }

// The name of the framework's default window class, or of one registered with the given class
// style, cursor, background brush and icon (registered once per combination).
const wchar_t* FwRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr, HICON icon = nullptr);
// The framework's window procedure, for window classes that want it directly.
LRESULT CALLBACK FwWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The message being handled on this thread (for handlers that need the raw record).
const MSG* FwGetCurrentMessage();

// ---- typed message-map entries for the common window messages ------------------------------

template <class T>
FwMessageEntry FwOnCreate(int (T::*fn)(LPCREATESTRUCTW))
{
    return {FwEntryKind::Message, WM_CREATE, 0, 0, 0,
            [fn](CCmdTarget* t, FwDispatch& d) { d.result = (static_cast<T*>(t)->*fn)(reinterpret_cast<LPCREATESTRUCTW>(d.lParam)); }};
}

// Handlers without arguments and without a result: WM_PAINT, WM_DESTROY, WM_NCDESTROY, ...
template <class T>
FwMessageEntry FwOnPlain(UINT message, void (T::*fn)())
{
    return {FwEntryKind::Message, message, 0, 0, 0, [fn](CCmdTarget* t, FwDispatch&) { (static_cast<T*>(t)->*fn)(); }};
}

template <class T>
FwMessageEntry FwOnSize(void (T::*fn)(UINT, int, int))
{
    return {FwEntryKind::Message, WM_SIZE, 0, 0, 0, [fn](CCmdTarget* t, FwDispatch& d) {
                (static_cast<T*>(t)->*fn)(static_cast<UINT>(d.wParam), static_cast<short>(LOWORD(d.lParam)), static_cast<short>(HIWORD(d.lParam)));
            }};
}

template <class T>
FwMessageEntry FwOnTimer(void (T::*fn)(UINT_PTR))
{
    return {FwEntryKind::Message, WM_TIMER, 0, 0, 0, [fn](CCmdTarget* t, FwDispatch& d) { (static_cast<T*>(t)->*fn)(d.wParam); }};
}

// Mouse button and move messages: (key flags, client point).
template <class T>
FwMessageEntry FwOnMouse(UINT message, void (T::*fn)(UINT, CPoint))
{
    return {FwEntryKind::Message, message, 0, 0, 0, [fn](CCmdTarget* t, FwDispatch& d) {
                (static_cast<T*>(t)->*fn)(static_cast<UINT>(d.wParam), CPoint(d.lParam));
            }};
}

// WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_CHAR: (key or character, repeat count, flags).
template <class T>
FwMessageEntry FwOnKey(UINT message, void (T::*fn)(UINT, UINT, UINT))
{
    return {FwEntryKind::Message, message, 0, 0, 0, [fn](CCmdTarget* t, FwDispatch& d) {
                (static_cast<T*>(t)->*fn)(static_cast<UINT>(d.wParam), LOWORD(d.lParam), HIWORD(d.lParam));
            }};
}

template <class T>
FwMessageEntry FwOnContextMenu(void (T::*fn)(CWnd*, CPoint))
{
    return {FwEntryKind::Message, WM_CONTEXTMENU, 0, 0, 0, [fn](CCmdTarget* t, FwDispatch& d) {
                (static_cast<T*>(t)->*fn)(CWnd::FromHandle(reinterpret_cast<HWND>(d.wParam)), CPoint(d.lParam));
            }};
}

template <class T>
FwMessageEntry FwOnSetCursor(BOOL (T::*fn)(CWnd*, UINT, UINT))
{
    return {FwEntryKind::Message, WM_SETCURSOR, 0, 0, 0, [fn](CCmdTarget* t, FwDispatch& d) {
                d.result = (static_cast<T*>(t)->*fn)(CWnd::FromHandle(reinterpret_cast<HWND>(d.wParam)), LOWORD(d.lParam), HIWORD(d.lParam));
            }};
}
