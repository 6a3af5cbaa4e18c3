#pragma once
// COM/OLE start-up of a thread and the message filter that decides what happens while an
// outgoing call waits for a busy server: with the busy dialogs on, the user is asked whether to
// go on waiting; with them off, the call keeps waiting quietly.
#include <windows.h>
#include <objidl.h>

class COleMessageFilter : public IMessageFilter {
public:
    COleMessageFilter() = default;
    COleMessageFilter(const COleMessageFilter&) = delete;
    COleMessageFilter& operator=(const COleMessageFilter&) = delete;
    virtual ~COleMessageFilter() { Revoke(); }

    // Installs it as this thread's filter; FALSE when COM refused.
    BOOL Register();
    void Revoke();
    BOOL IsRegistered() const { return m_bRegistered; }

    void EnableBusyDialog(BOOL enable = TRUE) { m_bEnableBusy = enable; }
    void EnableNotRespondingDialog(BOOL enable = TRUE) { m_bEnableNotResponding = enable; }
    BOOL IsBusyDialogEnabled() const { return m_bEnableBusy; }
    BOOL IsNotRespondingDialogEnabled() const { return m_bEnableNotResponding; }

    // How long a call waits before the user is asked (milliseconds), and the pause between retries.
    DWORD m_nTimeout = 8000;
    DWORD m_nRetryReply = 10000;
    DWORD m_nRetryDelay = 250;

    // IUnknown: the object is owned by its thread's start-up, not by COM.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    // IMessageFilter
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD type, HTASK caller, DWORD tickCount, LPINTERFACEINFO info) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount, DWORD rejectType) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount, DWORD pendingType) override;

protected:
    // Asks whether to go on waiting for the server; TRUE to wait.
    virtual BOOL AskToWait(BOOL notResponding);

private:
    BOOL m_bRegistered = FALSE;
    BOOL m_bEnableBusy = TRUE;
    BOOL m_bEnableNotResponding = TRUE;
    BOOL m_bAsking = FALSE;
};

// OLE for this thread with a message filter of its own; FALSE when OLE could not start.
BOOL FwOleInit();
// Revokes the thread's filter and ends OLE, when FwOleInit had started it.
void FwOleTerm();
// The filter FwOleInit installed on this thread, or null.
COleMessageFilter* FwOleGetMessageFilter();
