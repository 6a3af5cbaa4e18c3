#include "SysHelpers.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "CWinApp.h"

BOOL(WINAPI* g_pfnExitWindowsEx)(UINT, DWORD) = ::ExitWindowsEx;

namespace {

CString SpecialFolder(int csidl, bool create)
{
    wchar_t path[MAX_PATH] = L"";
    if (!::SHGetSpecialFolderPathW(nullptr, path, csidl, create))
        return CString();
    return path;
}

bool Exists(const wchar_t* path) { return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

} // namespace

int COSVersion::Query()
{
    m_valid = 0;
    m_info = OSVERSIONINFOEXW{};
    m_info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&m_info)))
        return 1;
    m_valid = 1;
    if (m_info.dwPlatformId == VER_PLATFORM_WIN32_NT && m_info.dwMajorVersion > 4) {
        m_info = OSVERSIONINFOEXW{};
        m_info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
        ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&m_info));
    }
    return 1;
}

bool COSVersion::IsVistaOrLater() const
{
    return m_info.dwPlatformId == VER_PLATFORM_WIN32_NT && m_info.dwMajorVersion > 5;
}

CString GetFileDirectory(const wchar_t* path)
{
    if (!path || ::lstrlenW(path) > kMaxHelperPath)
        return CString();
    wchar_t buffer[kMaxHelperPath + 1];
    ::lstrcpynW(buffer, path, kMaxHelperPath + 1);
    if (!::PathRemoveFileSpecW(buffer))
        return CString();
    return buffer;
}

int64_t GetFileSize64(const wchar_t* path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(path, &data);
    if (find == INVALID_HANDLE_VALUE)
        return -1;
    ::FindClose(find);
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) + data.nFileSizeLow;
}

bool CreateDirectoryTree(const wchar_t* path)
{
    if (!path || !*path)
        return false;
    if (Exists(path))
        return true;
    CString text(path);
    for (int i = 1; i < text.GetLength(); i++)
        if (text[i] == L'\\')
            ::CreateDirectoryW(text.Left(i), nullptr);   // existing prefixes fail harmlessly
    ::CreateDirectoryW(text, nullptr);
    return Exists(path);
}

CString GetMyPicturesFolder() { return SpecialFolder(CSIDL_MYPICTURES, true); }

CString GetModuleFilePath()
{
    wchar_t path[kMaxHelperPath + 1] = L"";
    DWORD length = ::GetModuleFileNameW(nullptr, path, kMaxHelperPath + 1);
    if (length == 0 || length > kMaxHelperPath)
        return CString();
    return path;
}

CString GetAppFolder()
{
    CString folder;
    if (CWinApp* app = FwGetApp())
        folder = app->GetProfileString(L"", L"AppFolder");
    return folder.IsEmpty() ? GetFileDirectory(GetModuleFilePath()) : folder;
}

CString GetAppDataFolder()
{
    CString base = SpecialFolder(CSIDL_APPDATA, false);
    if (base.IsEmpty())
        return GetAppFolder();
    CString folder;
    folder.Format(L"%s\\%s\\%s", base.GetString(), L"Brenmoor", FwGetApp() ? FwGetApp()->m_strAppName.GetString() : L"");
    CreateDirectoryTree(folder);
    return folder;
}

CString GetTempFilePath()
{
    wchar_t folder[MAX_PATH + 1] = L"";
    wchar_t name[MAX_PATH + 1] = L"";
    DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH || !::GetTempFileNameW(folder, L"~Wu", 0, name))
        return CString();
    return name;
}

int WideToAnsi(const wchar_t* text, std::string& out)
{
    out.clear();
    if (!text || !*text)
        return -1;
    int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return -1;
    std::vector<char> buffer(static_cast<size_t>(bytes));
    if (::WideCharToMultiByte(CP_ACP, 0, text, -1, buffer.data(), bytes, nullptr, nullptr) <= 0)
        return -1;
    out.assign(buffer.data());
    return bytes;
}

int AnsiToWide(const char* text, CString& out)
{
    out.Empty();
    if (!text)
        return -1;
    int chars = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (chars <= 0)
        return -1;
    wchar_t* buffer = out.GetBuffer(chars);
    if (::MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, chars) <= 0) {
        out.ReleaseBuffer(0);
        return -1;
    }
    out.ReleaseBuffer();
    return chars;
}

namespace {

UINT PumpUntil(HWND wnd, UINT message, const LPARAM* lParam)
{
    MSG msg;
    for (;;) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return 0;
        }
        if (got < 0)
            return 0;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        if (msg.message == message && (!wnd || msg.hwnd == wnd) && (!lParam || msg.lParam == *lParam))
            return msg.message;
    }
}

} // namespace

UINT PumpMessagesUntil(HWND wnd, UINT message) { return PumpUntil(wnd, message, nullptr); }

UINT PumpMessagesUntilMatch(HWND wnd, UINT message, LPARAM lParam) { return PumpUntil(wnd, message, &lParam); }

void WaitForThreadServingSentMessages(HANDLE thread)
{
    while (thread && ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool DeleteToRecycleBin(const wchar_t* path, FILEOP_FLAGS flags, HWND owner)
{
    if (!path || !*path || ::lstrlenW(path) > kMaxHelperPath)
        return false;
    wchar_t from[kMaxHelperPath + 2] = L"";
    ::lstrcpynW(from, path, kMaxHelperPath + 1);   // the array's zeros end the list
    SHFILEOPSTRUCTW op{};
    op.hwnd = owner;
    op.wFunc = FO_DELETE;
    op.pFrom = from;
    op.fFlags = flags;
    return ::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

int OpenMailTo(const wchar_t* address, const wchar_t* subject, const wchar_t* body)
{
    ::ShellExecuteW(nullptr, L"open", BuildMailToUrl(address, subject, body), nullptr, nullptr, SW_SHOWNORMAL);
    return 0;
}

BOOL ShutdownSystem(UINT flags)
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return 0;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    BOOL ok = ::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid) &&
              ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
              ::GetLastError() == ERROR_SUCCESS;
    ::CloseHandle(token);
    if (!ok)
        return 0;
    return g_pfnExitWindowsEx(flags & ~static_cast<UINT>(EWX_FORCE | EWX_FORCEIFHUNG), 0);
}
