#pragma once
// Objects that receive commands: message maps, command routing and command-update records.
#include <windows.h>

#include <functional>
#include <typeinfo>
#include <vector>

#include "CString.h"
#include "Collections.h"

class CObject;
class CCmdTarget;
class CCmdUI;
class CMenu;
class CWnd;

// Factory record for classes the framework creates by name (views, frames, documents, threads).
struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

// The runtime class of T; T must be default-constructible and derive from CObject.
template <class T>
const CRuntimeClass* RuntimeClassOf()
{
    static const CRuntimeClass record{typeid(T).name(), []() -> CObject* { return new T; }};
    return &record;
}

class CObject {
public:
    virtual ~CObject() = default;
};

// Heap exceptions: thrown as pointers, caught and deleted by the catcher.
class CException : public CObject {
public:
    void Delete() { delete this; }
};
class CMemoryException : public CException {};
// Data exchange failed validation; the user has been told.
class CUserException : public CException {};

// Private messages of the framework itself (kept clear of the programs' WM_USER range).
enum : UINT {
    WM_FW_FIRST = 0xBF00,
    WM_IDLEUPDATECMDUI = WM_FW_FIRST,   // wParam: disable controls without a handler
    WM_INITIALUPDATE,                  // sent to a view once its document is attached
};

// Codes for OnCmdMsg beside the control notification codes.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;
// A control's own (reflected) request: code MAKELONG(code, message + WM_REFLECT_BASE), id 0.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

// One handler call: what the handler gets and what it answers.
struct FwDispatch {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    UINT id = 0;
    CCmdUI* cmdUI = nullptr;
    NMHDR* nmhdr = nullptr;
    bool handled = true;   // a handler may clear it to let the message go on
};

enum class FwEntryKind {
    Message,         // any window message, by id
    Command,         // menu, accelerator or button command, by id range
    UpdateCommand,   // command-update request, by id range
    Control,         // WM_COMMAND notification from a child control, by code and id range
    Notify,          // WM_NOTIFY from a child control, by code and id range
    ReflectControl,  // a WM_COMMAND notification handed back to the control itself, by code
    ReflectNotify,   // a WM_NOTIFY handed back to the control itself, by code
    ReflectMessage,  // owner-draw and colour messages handed back to the control, by message
};

struct FwMessageEntry {
    FwEntryKind kind;
    UINT message;
    UINT code;
    UINT firstId;
    UINT lastId;
    std::function<void(CCmdTarget*, FwDispatch&)> call;
};

struct FwMessageMap {
    const FwMessageMap* (*base)();
    std::vector<FwMessageEntry> entries;
};

// In the class body.
#define FW_DECLARE_MESSAGE_MAP()                          \
public:                                                   \
    static const FwMessageMap* GetThisMessageMap();       \
protected:                                                \
    const FwMessageMap* GetMessageMap() const override;   \
private:

// In the source file; the entries are the Fw... helpers below, separated by commas.
#define FW_BEGIN_MESSAGE_MAP(Class, Base)                                                \
    const FwMessageMap* Class::GetMessageMap() const { return GetThisMessageMap(); }     \
    const FwMessageMap* Class::GetThisMessageMap()                                        \
    {                                                                                     \
        using ThisClass = Class;                                                          \
        (void)sizeof(ThisClass);                                                          \
        static const FwMessageMap map{&Base::GetThisMessageMap, {
#define FW_END_MESSAGE_MAP() \
        }};                  \
        return &map;         \
    }

class CCmdTarget : public CObject {
public:
    // Looks for a handler of a command (CN_COMMAND or a control code) or of a command-update
    // request (CN_UPDATE_COMMAND_UI, extra = CCmdUI*). With `probe` set it only tells whether
    // a handler exists. Frames, views and dialogs route further.
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, bool probe = false);

    static const FwMessageMap* GetThisMessageMap();

protected:
    virtual const FwMessageMap* GetMessageMap() const { return GetThisMessageMap(); }
    // Runs the first entry of the maps (this class first) that `match` accepts.
    bool DispatchEntry(FwDispatch& call, const std::function<bool(const FwMessageEntry&)>& match);
};

// The state of one menu entry or control while its enabled, checked and text states are asked.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;          // position in the menu
    UINT m_nIndexMax = 0;       // entries of the menu
    CMenu* m_pMenu = nullptr;   // the menu being updated
    CMenu* m_pSubMenu = nullptr;// the popup that the entry opens, if any
    CWnd* m_pOther = nullptr;   // a control or bar instead of a menu
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int check = 1);
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(const wchar_t* text);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's update handler; without one, and with `disableIfNoHandler`, an entry
    // whose command nobody handles is disabled. TRUE when an update handler answered.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
};

// ---- message-map entries -------------------------------------------------------------------

template <class T>
FwMessageEntry FwOnMessage(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM))
{
    return {FwEntryKind::Message, message, 0, 0, 0,
            [fn](CCmdTarget* t, FwDispatch& d) { d.result = (static_cast<T*>(t)->*fn)(d.wParam, d.lParam); }};
}

template <class T>
FwMessageEntry FwOnCommand(UINT id, void (T::*fn)())
{
    return {FwEntryKind::Command, 0, 0, id, id, [fn](CCmdTarget* t, FwDispatch&) { (static_cast<T*>(t)->*fn)(); }};
}

template <class T>
FwMessageEntry FwOnCommandRange(UINT first, UINT last, void (T::*fn)(UINT))
{
    return {FwEntryKind::Command, 0, 0, first, last,
            [fn](CCmdTarget* t, FwDispatch& d) { (static_cast<T*>(t)->*fn)(d.id); }};
}

template <class T>
FwMessageEntry FwOnUpdateCommand(UINT id, void (T::*fn)(CCmdUI*))
{
    return {FwEntryKind::UpdateCommand, 0, 0, id, id,
            [fn](CCmdTarget* t, FwDispatch& d) { (static_cast<T*>(t)->*fn)(d.cmdUI); }};
}

template <class T>
FwMessageEntry FwOnUpdateCommandRange(UINT first, UINT last, void (T::*fn)(CCmdUI*))
{
    return {FwEntryKind::UpdateCommand, 0, 0, first, last,
            [fn](CCmdTarget* t, FwDispatch& d) { (static_cast<T*>(t)->*fn)(d.cmdUI); }};
}

template <class T>
FwMessageEntry FwOnControl(UINT code, UINT id, void (T::*fn)())
{
    return {FwEntryKind::Control, 0, code, id, id, [fn](CCmdTarget* t, FwDispatch&) { (static_cast<T*>(t)->*fn)(); }};
}

template <class T>
FwMessageEntry FwOnControlRange(UINT code, UINT first, UINT last, void (T::*fn)(UINT))
{
    return {FwEntryKind::Control, 0, code, first, last,
            [fn](CCmdTarget* t, FwDispatch& d) { (static_cast<T*>(t)->*fn)(d.id); }};
}

template <class T>
FwMessageEntry FwOnNotify(UINT code, UINT id, void (T::*fn)(NMHDR*, LRESULT*))
{
    return {FwEntryKind::Notify, 0, code, id, id,
            [fn](CCmdTarget* t, FwDispatch& d) { (static_cast<T*>(t)->*fn)(d.nmhdr, &d.result); }};
}

template <class T>
FwMessageEntry FwOnNotifyRange(UINT code, UINT first, UINT last, void (T::*fn)(UINT, NMHDR*, LRESULT*))
{
    return {FwEntryKind::Notify, 0, code, first, last,
            [fn](CCmdTarget* t, FwDispatch& d) { (static_cast<T*>(t)->*fn)(d.id, d.nmhdr, &d.result); }};
}

// Reflected handlers: a handler answering FALSE lets the parent handle the notification too.
template <class T>
FwMessageEntry FwOnReflectControl(UINT code, void (T::*fn)())
{
    return {FwEntryKind::ReflectControl, 0, code, 0, 0, [fn](CCmdTarget* t, FwDispatch&) { (static_cast<T*>(t)->*fn)(); }};
}

template <class T>
FwMessageEntry FwOnReflectControl(UINT code, BOOL (T::*fn)())
{
    return {FwEntryKind::ReflectControl, 0, code, 0, 0,
            [fn](CCmdTarget* t, FwDispatch& d) { d.handled = (static_cast<T*>(t)->*fn)() != FALSE; }};
}

template <class T>
FwMessageEntry FwOnReflectNotify(UINT code, void (T::*fn)(NMHDR*, LRESULT*))
{
    return {FwEntryKind::ReflectNotify, 0, code, 0, 0,
            [fn](CCmdTarget* t, FwDispatch& d) { (static_cast<T*>(t)->*fn)(d.nmhdr, &d.result); }};
}

template <class T>
FwMessageEntry FwOnReflectNotify(UINT code, BOOL (T::*fn)(NMHDR*, LRESULT*))
{
    return {FwEntryKind::ReflectNotify, 0, code, 0, 0,
            [fn](CCmdTarget* t, FwDispatch& d) { d.handled = (static_cast<T*>(t)->*fn)(d.nmhdr, &d.result) != FALSE; }};
}

// WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR..., WM_HSCROLL/WM_VSCROLL handed back to the control.
template <class T>
FwMessageEntry FwOnReflectMessage(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM))
{
    return {FwEntryKind::ReflectMessage, message, 0, 0, 0,
            [fn](CCmdTarget* t, FwDispatch& d) { d.result = (static_cast<T*>(t)->*fn)(d.wParam, d.lParam); }};
}
