#include "ITunes.h"

#include <ole2.h>
#include <oleauto.h>

#include "COleMessageFilter.h"

const wchar_t kITunesUnavailableText[] = L"iTunes is not installed on this computer, or it could not be started.";

namespace {

const wchar_t kITunesKey[] = L"Software\\Apple Computer, Inc.\\iTunes";
// iTunes' published automation server and its application interface.
const CLSID kITunesAppClass = {0xDC0C2640, 0x1415, 0x4644, {0x87, 0x5C, 0x6F, 0x4D, 0x76, 0x98, 0x39, 0xBA}};
const IID kITunesAppInterface = {0x9DD6680B, 0x3EDC, 0x40DB, {0xA7, 0x71, 0xE6, 0xFE, 0x48, 0x32, 0xE3, 0x4A}};

bool KeyOpens(HKEY root)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, kITunesKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

// A COM pointer released when it goes, always before COM itself is.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }
    void Reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }
    T** Out()
    {
        Reset();
        return &m_p;
    }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    T* Get() const { return m_p; }

private:
    T* m_p = nullptr;
};

// COM for the calling thread, ended only when this call started it; the thread's message filter
// (when it has one) shows no busy dialogs meanwhile.
class ComScope {
public:
    ComScope()
    {
        HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_started = SUCCEEDED(result);
        if (COleMessageFilter* filter = FwOleGetMessageFilter()) {
            m_filter = filter;
            m_busy = filter->IsBusyDialogEnabled();
            m_notResponding = filter->IsNotRespondingDialogEnabled();
            filter->EnableBusyDialog(FALSE);
            filter->EnableNotRespondingDialog(FALSE);
        }
    }
    ~ComScope()
    {
        if (m_filter) {
            m_filter->EnableBusyDialog(m_busy);
            m_filter->EnableNotRespondingDialog(m_notResponding);
        }
        if (m_started)
            ::CoUninitialize();
    }

private:
    bool m_started = false;
    COleMessageFilter* m_filter = nullptr;
    BOOL m_busy = TRUE;
    BOOL m_notResponding = TRUE;
};

// One call by name through the automation interface; `result` may be null.
HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD kind, VARIANT* args, UINT argCount, VARIANT* result)
{
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT found = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(found))
        return found;
    DISPPARAMS params{args, nullptr, argCount, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr, nullptr);
}

// The add-file method of the library playlist; its operation status is released at once.
bool AddOne(IDispatch* library, const CString& path)
{
    VARIANT arg;
    ::VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = ::SysAllocString(path);
    if (!arg.bstrVal)
        return false;
    VARIANT status;
    ::VariantInit(&status);
    HRESULT added = Invoke(library, L"AddFile", DISPATCH_METHOD, &arg, 1, &status);
    ::VariantClear(&status);
    ::VariantClear(&arg);
    return SUCCEEDED(added);
}

int AddToLibrary(const CStringArray& paths, BOOL quitIfStarted)
{
    const bool wasRunning = FindITunesWindow() != nullptr;
    ComScope com;
    ComPtr<IDispatch> app;
    if (FAILED(::CoCreateInstance(kITunesAppClass, nullptr, CLSCTX_LOCAL_SERVER, kITunesAppInterface,
                                  reinterpret_cast<void**>(app.Out()))) ||
        !app)
        return -1;

    int result = 0;
    VARIANT library;
    ::VariantInit(&library);
    if (SUCCEEDED(Invoke(app.Get(), L"LibraryPlaylist", DISPATCH_PROPERTYGET, nullptr, 0, &library)) &&
        library.vt == VT_DISPATCH && library.pdispVal) {
        for (int i = 0; i < paths.GetSize(); i++) {
            if (!AddOne(library.pdispVal, paths[i]))
                result = -1;
        }
    } else {
        result = -1;
    }
    ::VariantClear(&library);
    if (quitIfStarted && !wasRunning)
        Invoke(app.Get(), L"Quit", DISPATCH_METHOD, nullptr, 0, nullptr);
    app.Reset();
    return result;
}

} // namespace

bool IsITunesInstalled() { return KeyOpens(HKEY_LOCAL_MACHINE) || KeyOpens(HKEY_CURRENT_USER); }

HWND FindITunesWindow() { return ::FindWindowW(L"iTunes", L"iTunes"); }

int AddFileToITunes(const CString& path, BOOL quitIfStarted)
{
    CStringArray paths;
    paths.Add(path);
    return AddToLibrary(paths, quitIfStarted);
}

int AddFilesToITunes(const CStringArray& paths, BOOL quitIfStarted) { return AddToLibrary(paths, quitIfStarted); }
