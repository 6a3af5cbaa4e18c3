#include "CWinApp.h"

#include "CFrameWnd.h"
#include "CWnd.h"

namespace {
CWinApp* g_app = nullptr;

CString JoinKey(const CString& a, const wchar_t* b)
{
    if (!b || !*b)
        return a;
    return a.IsEmpty() ? CString(b) : a + L"\\" + b;
}
} // namespace

CWinApp* FwGetApp() { return g_app; }
CWnd* FwGetMainWnd() { return g_app ? g_app->GetMainWnd() : nullptr; }
HINSTANCE FwGetInstanceHandle() { return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleW(nullptr); }
HINSTANCE FwGetResourceHandle() { return FwGetInstanceHandle(); }

CString FwLoadString(UINT id)
{
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(FwGetResourceHandle(), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 && text ? CString(text, length) : CString();
}

int FwMessageBox(const wchar_t* text, UINT type)
{
    CWnd* main = FwGetMainWnd();
    const wchar_t* caption = g_app ? g_app->m_strAppName.GetString() : L"";
    return ::MessageBoxW(FwHwnd(main), text, caption, type);
}

void CCommandLineInfo::ParseParam(const wchar_t* param, BOOL flag, BOOL)
{
    if (flag || !m_strFileName.IsEmpty())
        return;
    m_strFileName = param;
    m_nShellCommand = FileOpen;
}

CWinApp::CWinApp(const wchar_t* appName)
{
    g_app = this;
    m_hInstance = ::GetModuleHandleW(nullptr);
    m_bAutoDelete = FALSE;
    if (appName) {
        m_strAppName = appName;
    } else {
        m_strAppName = FwLoadString(57344);
        if (m_strAppName.IsEmpty()) {
            wchar_t path[MAX_PATH] = L"";
            ::GetModuleFileNameW(nullptr, path, MAX_PATH);
            CString name(path);
            name = name.Mid(name.ReverseFind(L'\\') + 1);
            int dot = name.ReverseFind(L'.');
            m_strAppName = dot > 0 ? name.Left(dot) : name;
        }
    }
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* t : m_templates)
        delete t;
    if (g_app == this)
        g_app = nullptr;
}

HKEY CWinApp::OpenAppKey(bool create)
{
    CString path = JoinKey(JoinKey(L"Software", m_strRegistryKey), m_strAppName);
    HKEY key = nullptr;
    LONG rc = create ? ::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
                     : ::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

HKEY CWinApp::GetSectionKey(const wchar_t* section, bool create)
{
    HKEY app = OpenAppKey(create);
    if (!app || !section || !*section)
        return app;
    HKEY key = nullptr;
    LONG rc = create ? ::RegCreateKeyExW(app, section, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                     : ::RegOpenKeyExW(app, section, 0, KEY_READ | KEY_WRITE, &key);
    ::RegCloseKey(app);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

int CWinApp::GetProfileInt(const wchar_t* section, const wchar_t* entry, int defaultValue)
{
    HKEY key = GetSectionKey(section, false);
    if (!key)
        return defaultValue;
    DWORD value = 0, type = 0, size = sizeof(value);
    LONG rc = ::RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD ? static_cast<int>(value) : defaultValue;
}

BOOL CWinApp::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value)
{
    HKEY key = GetSectionKey(section, true);
    if (!key)
        return FALSE;
    DWORD data = static_cast<DWORD>(value);
    LONG rc = ::RegSetValueExW(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* defaultValue)
{
    CString fallback(defaultValue ? defaultValue : L"");
    HKEY key = GetSectionKey(section, false);
    if (!key)
        return fallback;
    DWORD type = 0, size = 0;
    LONG rc = ::RegQueryValueExW(key, entry, nullptr, &type, nullptr, &size);
    CString value;
    if (rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        int chars = static_cast<int>(size / sizeof(wchar_t));
        wchar_t* buffer = value.GetBuffer(chars + 1);
        rc = ::RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        buffer[rc == ERROR_SUCCESS ? size / sizeof(wchar_t) : 0] = 0;
        value.ReleaseBuffer();
    } else {
        rc = ERROR_FILE_NOT_FOUND;
    }
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS ? value : fallback;
}

BOOL CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value)
{
    HKEY key = GetSectionKey(section, value != nullptr);
    if (!key)
        return value == nullptr;
    LONG rc;
    if (value) {
        DWORD bytes = static_cast<DWORD>((::lstrlenW(value) + 1) * sizeof(wchar_t));
        rc = ::RegSetValueExW(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
    } else {
        rc = ::RegDeleteValueW(key, entry);
        if (rc == ERROR_FILE_NOT_FOUND)
            rc = ERROR_SUCCESS;
    }
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

BOOL CWinApp::DeleteProfileSection(const wchar_t* section)
{
    if (!section || !*section)
        return FALSE;
    HKEY app = OpenAppKey(false);
    if (!app)
        return TRUE;
    LONG rc = ::RegDeleteTreeW(app, section);
    ::RegCloseKey(app);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) { m_templates.push_back(docTemplate); }

CDocument* CWinApp::OpenDocumentFile(const wchar_t* path)
{
    return m_templates.empty() ? nullptr : m_templates.front()->OpenDocumentFile(path);
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    int count = 0;
    LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; args && i < count; i++) {
        const wchar_t* param = args[i];
        BOOL flag = param[0] == L'-' || param[0] == L'/';
        info.ParseParam(flag ? param + 1 : param, flag, i == count - 1);
    }
    if (args)
        ::LocalFree(args);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    default:
        return TRUE;
    }
}

int CWinApp::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

int CWinApp::Main(HINSTANCE instance, const wchar_t* commandLine, int showCommand)
{
    m_hInstance = instance;
    m_lpCmdLine = commandLine ? commandLine : L"";
    m_nCmdShow = showCommand;
    m_nThreadID = ::GetCurrentThreadId();
    if (!InitInstance())
        return ExitInstance();
    return Run();
}
