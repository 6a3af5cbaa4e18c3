// Pellmot.dll: the file manager's "Convert with Talvena" context-menu entry, for files and
// folders. regsvr32 registers it as the handler "Brenmoor.Talvena" under the context-menu
// handlers of all files ("*") and of folders, and removes it again; the entry starts
// Talvena.exe from this library's folder with the selected paths.
#include <windows.h>
#include <olectl.h>
#include <shlobj.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

// {176BADA5-9430-4437-AEA2-4749C9AB4405}
const CLSID kMenuClass = {0x176bada5, 0x9430, 0x4437, {0xae, 0xa2, 0x47, 0x49, 0xc9, 0xab, 0x44, 0x05}};
const wchar_t kMenuClassText[] = L"{176BADA5-9430-4437-AEA2-4749C9AB4405}";
const wchar_t kHandlerName[] = L"Brenmoor.Talvena";
const wchar_t* const kHandlerParents[] = {L"*\\ShellEx\\ContextMenuHandlers", L"Folder\\ShellEx\\ContextMenuHandlers"};
const wchar_t kMenuText[] = L"Convert with Talvena";
const wchar_t kHelpText[] = L"Converts the selected animations to videos with Talvena";
const char kVerbA[] = "ConvertWithTalvena";
const wchar_t kVerbW[] = L"ConvertWithTalvena";

HINSTANCE g_module = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

std::wstring ModuleFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\'));
}

bool SetKeyText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value)
{
    HKEY handle;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

std::wstring ClassKey()
{
    return std::wstring(L"CLSID\\") + kMenuClassText;
}

class CShellMenu : public IShellExtInit, public IContextMenu {
public:
    CShellMenu() { ++g_objects; }
    virtual ~CShellMenu() { --g_objects; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellExtInit))
            *object = static_cast<IShellExtInit*>(this);
        else if (IsEqualIID(iid, IID_IContextMenu))
            *object = static_cast<IContextMenu*>(this);
        else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    // The selection comes as a list of dropped files.
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) override
    {
        m_paths.clear();
        if (!data)
            return E_INVALIDARG;
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (FAILED(data->GetData(&format, &medium)))
            return E_INVALIDARG;
        HDROP drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
        if (drop) {
            const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                const UINT length = DragQueryFileW(drop, i, nullptr, 0);
                std::wstring path(length + 1, L'\0');
                DragQueryFileW(drop, i, &path[0], length + 1);
                path.resize(length);
                m_paths.push_back(path);
            }
            GlobalUnlock(medium.hGlobal);
        }
        ReleaseStgMedium(&medium);
        return m_paths.empty() ? E_INVALIDARG : S_OK;
    }

    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT, UINT flags) override
    {
        if (flags & CMF_DEFAULTONLY)
            return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 0);
        if (!InsertMenuW(menu, index, MF_BYPOSITION | MF_STRING, firstId, kMenuText))
            return HRESULT_FROM_WIN32(GetLastError());
        return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, 1);
    }

    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override
    {
        if (!info || !IsOurCommand(info->lpVerb))
            return E_INVALIDARG;
        std::wstring program = ModuleFolder() + L"\\Talvena.exe";
        std::wstring line = L"\"" + program + L"\"";
        for (const std::wstring& path : m_paths)
            line += L" \"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return HRESULT_FROM_WIN32(GetLastError());
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return S_OK;
    }

    STDMETHODIMP GetCommandString(UINT_PTR id, UINT type, UINT*, CHAR* name, UINT size) override
    {
        if (id != 0 || !name || size == 0)
            return E_INVALIDARG;
        switch (type) {
        case GCS_HELPTEXTW:
            lstrcpynW(reinterpret_cast<wchar_t*>(name), kHelpText, static_cast<int>(size));
            return S_OK;
        case GCS_VERBW:
            lstrcpynW(reinterpret_cast<wchar_t*>(name), kVerbW, static_cast<int>(size));
            return S_OK;
        case GCS_VERBA:
            lstrcpynA(name, kVerbA, static_cast<int>(size));
            return S_OK;
        case GCS_VALIDATEA:
        case GCS_VALIDATEW:
            return S_OK;
        default:
            return E_INVALIDARG;
        }
    }

    const std::vector<std::wstring>& Paths() const { return m_paths; }

private:
    // The command comes as the offset 0 or as our verb.
    static bool IsOurCommand(LPCSTR verb)
    {
        if (IS_INTRESOURCE(verb))
            return LOWORD(reinterpret_cast<UINT_PTR>(verb)) == 0;
        return lstrcmpiA(verb, kVerbA) == 0;
    }

    std::atomic<ULONG> m_references{1};
    std::vector<std::wstring> m_paths;
};

class CMenuFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is static and lives as long as the library.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (outer)
            return CLASS_E_NOAGGREGATION;
        CShellMenu* menu = new CShellMenu;
        const HRESULT result = menu->QueryInterface(iid, object);
        menu->Release();
        return result;
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        lock ? ++g_locks : --g_locks;
        return S_OK;
    }
};

CMenuFactory g_factory;

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID id, REFIID iid, void** object)
{
    if (!IsEqualCLSID(id, kMenuClass)) {
        if (object)
            *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, object);
}

STDAPI DllCanUnloadNow()
{
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    const std::wstring classKey = ClassKey();
    bool ok = SetKeyText(HKEY_CLASSES_ROOT, classKey, nullptr, kMenuText) &&
              SetKeyText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", nullptr, std::wstring(path, length)) &&
              SetKeyText(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    for (const wchar_t* parent : kHandlerParents)
        ok = ok && SetKeyText(HKEY_CLASSES_ROOT, std::wstring(parent) + L"\\" + kHandlerName, nullptr, kMenuClassText);
    return ok ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer()
{
    for (const wchar_t* parent : kHandlerParents)
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(parent) + L"\\" + kHandlerName).c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
    return S_OK;
}

} // extern "C"
