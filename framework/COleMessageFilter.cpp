#include "COleMessageFilter.h"

#include <ole2.h>

#include <memory>

namespace {

struct ThreadOle {
    std::unique_ptr<COleMessageFilter> filter;
    bool started = false;
};

thread_local ThreadOle t_ole;

} // namespace

HRESULT COleMessageFilter::QueryInterface(REFIID iid, void** object)
{
    if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
        *object = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

BOOL COleMessageFilter::Register()
{
    if (m_bRegistered)
        return TRUE;
    IMessageFilter* previous = nullptr;
    if (FAILED(::CoRegisterMessageFilter(this, &previous)))
        return FALSE;
    if (previous)
        previous->Release();
    m_bRegistered = TRUE;
    return TRUE;
}

void COleMessageFilter::Revoke()
{
    if (!m_bRegistered)
        return;
    IMessageFilter* previous = nullptr;
    ::CoRegisterMessageFilter(nullptr, &previous);
    if (previous && previous != this)
        previous->Release();
    m_bRegistered = FALSE;
}

DWORD COleMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) { return SERVERCALL_ISHANDLED; }

DWORD COleMessageFilter::RetryRejectedCall(HTASK, DWORD tickCount, DWORD rejectType)
{
    if (rejectType == SERVERCALL_REJECTED)
        return static_cast<DWORD>(-1);   // refused for good: cancel
    if (tickCount < m_nRetryReply || !m_bEnableBusy)
        return m_nRetryDelay;
    return AskToWait(FALSE) ? m_nRetryDelay : static_cast<DWORD>(-1);
}

DWORD COleMessageFilter::MessagePending(HTASK, DWORD tickCount, DWORD)
{
    if (tickCount >= m_nTimeout && m_bEnableNotResponding && !m_bAsking)
        AskToWait(TRUE);
    return PENDINGMSG_WAITDEFPROCESS;
}

BOOL COleMessageFilter::AskToWait(BOOL notResponding)
{
    m_bAsking = TRUE;
    const wchar_t* text = notResponding ? L"The other program is not responding. Wait for it?"
                                        : L"The other program is busy. Wait for it?";
    int answer = ::MessageBoxW(::GetActiveWindow(), text, nullptr, MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_TASKMODAL);
    m_bAsking = FALSE;
    return answer == IDRETRY;
}

BOOL FwOleInit()
{
    if (t_ole.started)
        return TRUE;
    if (FAILED(::OleInitialize(nullptr)))
        return FALSE;
    t_ole.started = true;
    t_ole.filter = std::make_unique<COleMessageFilter>();
    if (!t_ole.filter->Register())
        t_ole.filter.reset();
    return TRUE;
}

void FwOleTerm()
{
    if (!t_ole.started)
        return;
    t_ole.filter.reset();
    ::OleUninitialize();
    t_ole.started = false;
}

COleMessageFilter* FwOleGetMessageFilter() { return t_ole.filter.get(); }
