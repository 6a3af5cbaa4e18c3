#pragma once
// Shared pieces of the shell window tests: a folder tree made on disk for a test, a host window
// for controls, pixel reading and the allocator that counts the lists this library makes.
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <set>

#include "FwTestSupport.h"

// The shell allocator of the test program: forwards to the task allocator and remembers the
// blocks it handed out, so that a test can tell what is still held.
class CCountingMalloc : public IMalloc {
public:
    std::set<void*> m_live;
    LONG m_refs = 1;

    static CCountingMalloc& Instance();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
    void* STDMETHODCALLTYPE Alloc(SIZE_T size) override;
    void* STDMETHODCALLTYPE Realloc(void* block, SIZE_T size) override;
    void STDMETHODCALLTYPE Free(void* block) override;
    SIZE_T STDMETHODCALLTYPE GetSize(void* block) override { return static_cast<SIZE_T>(-1); }
    int STDMETHODCALLTYPE DidAlloc(void* block) override { return m_live.count(block) ? 1 : 0; }
    void STDMETHODCALLTYPE HeapMinimize() override {}
};

// A fresh folder in the temporary folder, removed with everything in it afterwards.
class CTempFolder {
public:
    explicit CTempFolder(const wchar_t* name);
    ~CTempFolder();
    CString Path(const wchar_t* relative = nullptr) const;
    void MakeFolder(const wchar_t* relative) const;
    void MakeFile(const wchar_t* relative) const;

private:
    CString m_root;
};

// A visible top-level framework window that children can be put into.
class CHostWindow : public CWnd {
public:
    CHostWindow(int width = 480, int height = 360);
    ~CHostWindow() override;
};

// The colour at a client point of a window, read from the screen (what the user sees).
COLORREF ReadPixel(HWND window, int x, int y);
// Dispatches messages for `ms` milliseconds.
void PumpFor(DWORD ms);
// The shown top-level window of this thread with this caption (dialogs, menus by class).
HWND FindThreadWindow(const wchar_t* className, const wchar_t* caption);
// Runs `action` from a timer on this thread after `ms` (also inside modal loops and menus).
void RunLater(DWORD ms, std::function<void()> action);
