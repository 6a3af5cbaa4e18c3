#include <windows.h>
#include <shlobj.h>

#include <string>

#include <gtest/gtest.h>

namespace {

const CLSID kMenuClass = {0x176bada5, 0x9430, 0x4437, {0xae, 0xa2, 0x47, 0x49, 0xc9, 0xab, 0x44, 0x05}};
const wchar_t* const kHandlerKeys[] = {L"*\\ShellEx\\ContextMenuHandlers\\Brenmoor.Talvena",
                                       L"Folder\\ShellEx\\ContextMenuHandlers\\Brenmoor.Talvena"};

std::wstring LibraryPath()
{
    std::wstring path = L"Z:" SUITE_PROGRAM_DIR_W L"/Pellmot.dll";
    for (wchar_t& ch : path)
        if (ch == L'/')
            ch = L'\\';
    return path;
}

std::wstring DefaultValue(const wchar_t* key)
{
    wchar_t value[512] = L"";
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"<none>";
    return value;
}

// A selection of files as the file manager hands it over.
class FileSelection : public IDataObject {
public:
    explicit FileSelection(const std::wstring& files)  // NUL-separated
        : m_files(files)
    {
    }
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (format->cfFormat != CF_HDROP)
            return DV_E_FORMATETC;
        const size_t bytes = sizeof(DROPFILES) + (m_files.size() + 2) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GHND, bytes);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        memcpy(drop + 1, m_files.c_str(), m_files.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP DUnadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    std::wstring m_files;
};

class PellmotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_library = LoadLibraryW(LibraryPath().c_str());
        ASSERT_TRUE(m_library);
        Export(m_register, "DllRegisterServer");
        Export(m_unregister, "DllUnregisterServer");
        Export(m_classObject, "DllGetClassObject");
        Export(m_canUnload, "DllCanUnloadNow");
        ASSERT_TRUE(m_register && m_unregister && m_classObject && m_canUnload);
    }
    template <class Function>
    void Export(Function& function, const char* name)
    {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_library, name)));
    }
    void TearDown() override
    {
        if (m_library)
            FreeLibrary(m_library);
    }

    HMODULE m_library = nullptr;
    HRESULT(WINAPI* m_register)() = nullptr;
    HRESULT(WINAPI* m_unregister)() = nullptr;
    HRESULT(WINAPI* m_classObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(WINAPI* m_canUnload)() = nullptr;
};

TEST_F(PellmotTest, RegistersAndRemovesTheHandlerKeys)
{
    ASSERT_EQ(m_register(), S_OK);
    for (const wchar_t* key : kHandlerKeys)
        EXPECT_EQ(DefaultValue(key), L"{176BADA5-9430-4437-AEA2-4749C9AB4405}") << key;
    EXPECT_EQ(DefaultValue(L"CLSID\\{176BADA5-9430-4437-AEA2-4749C9AB4405}\\InprocServer32"), LibraryPath());

    ASSERT_EQ(m_unregister(), S_OK);
    for (const wchar_t* key : kHandlerKeys)
        EXPECT_EQ(DefaultValue(key), L"<none>") << key;
    EXPECT_EQ(DefaultValue(L"CLSID\\{176BADA5-9430-4437-AEA2-4749C9AB4405}"), L"<none>");
}

TEST_F(PellmotTest, MenuEntryForTheSelection)
{
    IClassFactory* factory = nullptr;
    EXPECT_EQ(m_classObject(IID_IUnknown, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(m_classObject(kMenuClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IShellExtInit* init = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
    EXPECT_EQ(m_canUnload(), S_FALSE);

    FileSelection selection(std::wstring(L"C:\\a.gif\0C:\\b c.gif\0", 20));
    ASSERT_EQ(init->Initialize(nullptr, &selection, nullptr), S_OK);
    IContextMenu* menu = nullptr;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);

    HMENU popup = CreatePopupMenu();
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 100, 200, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
    wchar_t text[64] = L"";
    GetMenuStringW(popup, 100, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Convert with Talvena");
    EXPECT_EQ(menu->QueryContextMenu(popup, 0, 300, 400, CMF_DEFAULTONLY), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0));
    DestroyMenu(popup);

    wchar_t verb[64] = L"";
    ASSERT_EQ(menu->GetCommandString(0, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb), 64), S_OK);
    EXPECT_STREQ(verb, L"ConvertWithTalvena");
    EXPECT_EQ(menu->GetCommandString(1, GCS_VERBW, nullptr, reinterpret_cast<char*>(verb), 64), E_INVALIDARG);
    // Another command than ours is refused; ours fails cleanly while Talvena.exe is not beside it.
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof(invoke);
    invoke.lpVerb = MAKEINTRESOURCEA(1);
    EXPECT_EQ(menu->InvokeCommand(&invoke), E_INVALIDARG);
    const std::wstring talvena = LibraryPath().substr(0, LibraryPath().rfind(L'\\')) + L"\\Talvena.exe";
    if (GetFileAttributesW(talvena.c_str()) == INVALID_FILE_ATTRIBUTES) {
        invoke.lpVerb = MAKEINTRESOURCEA(0);
        EXPECT_TRUE(FAILED(menu->InvokeCommand(&invoke)));
    }

    menu->Release();
    init->Release();
    EXPECT_EQ(m_canUnload(), S_OK);
}

} // namespace
