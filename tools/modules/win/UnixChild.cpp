#include "UnixChild.h"

#include <cstdio>

namespace {

// Wine's own exports; absent on Windows.
using UnixNameFunction = char*(CDECL*)(const WCHAR*);

constexpr DWORD kStartWait = 15000;
constexpr DWORD kStopWait = 5000;
// Files are looked for at least this often, in case the folder's change signal never comes.
constexpr DWORD kPoll = 20;

UnixNameFunction UnixNameExport()
{
    static const auto function = reinterpret_cast<UnixNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    return function;
}

bool FileExists(const CString& path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool WriteWholeFile(const CString& path, const std::string& bytes)
{
    FILE* f = _wfopen(path, L"wb");
    if (!f)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

bool CUnixChild::ToUnixPath(const CString& path, std::string& unixPath)
{
    const UnixNameFunction toUnix = UnixNameExport();
    if (!toUnix || path.IsEmpty())
        return false;
    char* name = toUnix(path);
    if (!name)
        return false;
    unixPath = name;
    HeapFree(GetProcessHeap(), 0, name);
    return !unixPath.empty();
}

CString CUnixChild::ProgramFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    CString folder(path, static_cast<int>(length));
    return folder.Left(folder.ReverseFind(L'\\'));
}

CUnixChild::~CUnixChild()
{
    if (m_started && !IsDone()) {
        RequestStop();
        WaitDone(kStopWait);
    }
    RemoveFolder();
}

int CUnixChild::Create()
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        m_error = L"no temporary folder";
        return -1;
    }
    for (int attempt = 0; attempt < 100 && m_folder.IsEmpty(); ++attempt) {
        CString folder;
        folder.Format(L"%sunixrun-%lu-%lu-%d", temp, GetCurrentProcessId(), GetTickCount(), attempt);
        if (CreateDirectoryW(folder, nullptr))
            m_folder = folder;
    }
    if (m_folder.IsEmpty() || !ToUnixPath(m_folder, m_unixFolder)) {
        m_error = L"cannot make a job folder (is this Wine?)";
        return -1;
    }
    m_lock = CreateFileW(JobFile(L"lock"), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS, 0, nullptr);
    OVERLAPPED whole{};
    if (m_lock == INVALID_HANDLE_VALUE ||
        !LockFileEx(m_lock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        m_error = L"cannot lock the job folder";
        return -1;
    }
    m_changes = FindFirstChangeNotificationW(m_folder, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    return 0;
}

template <class Ready>
bool CUnixChild::WaitForJobFolder(DWORD timeoutMs, Ready ready)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (ready())
            return true;
        const DWORD waited = GetTickCount() - start;
        if (timeoutMs != INFINITE && waited >= timeoutMs)
            return false;
        const DWORD slice = timeoutMs == INFINITE || timeoutMs - waited > kPoll ? kPoll : timeoutMs - waited;
        if (m_changes == INVALID_HANDLE_VALUE)
            Sleep(slice);
        else if (WaitForSingleObject(m_changes, slice) == WAIT_OBJECT_0)
            FindNextChangeNotification(m_changes);
    }
}

bool CUnixChild::WaitDone(DWORD timeoutMs)
{
    return WaitForJobFolder(timeoutMs, [this] { return IsDone(); });
}

std::string CUnixChild::UnixJobFile(const char* name) const
{
    return m_unixFolder + "/" + name;
}

int CUnixChild::Start(const std::vector<std::string>& argv, const std::vector<std::string>& removeOnAbort)
{
    const CString helper = ProgramFolder() + L"\\unixrun";
    if (!FileExists(helper)) {
        m_error = L"the helper " + helper + L" is missing";
        return -1;
    }
    std::string job;
    for (const std::string& path : removeOnAbort)
        job += std::string("-r") + '\0' + path + '\0';
    job += std::string("--") + '\0';
    for (const std::string& arg : argv)
        job += arg + '\0';
    if (!WriteWholeFile(JobFile(L"job"), job)) {
        m_error = L"cannot write the job";
        return -1;
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring line = L"\"" + helper.str() + L"\"";
    if (!CreateProcessW(helper, &line[0], nullptr, nullptr, FALSE, 0, nullptr, m_folder, &startup, &process)) {
        m_error = L"cannot start the helper";
        return -1;
    }
    // Wine gives no usable handles for a Linux program; close whatever came back.
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);
    m_started = true;

    const CString pid = JobFile(L"pid");
    WaitForJobFolder(kStartWait, [&] { return FileExists(pid) || IsDone(); });
    if (FileExists(pid))
        return 0;
    m_error = IsDone() ? CString::FromUtf8(m_status.c_str()) : CString(L"the helper did not start");
    return -1;
}

bool CUnixChild::IsDone()
{
    if (!m_status.empty())
        return true;
    if (!m_started)
        return false;
    const std::string status = ReadJobFile(L"status");
    if (status.empty())
        return false;
    m_status = status.substr(0, status.find('\n'));
    return true;
}

void CUnixChild::RequestStop()
{
    WriteWholeFile(JobFile(L"stop"), std::string());
}

int CUnixChild::GetExitCode() const
{
    if (m_status.compare(0, 5, "exit ") != 0)
        return -1;
    return std::atoi(m_status.c_str() + 5);
}

std::string CUnixChild::ReadJobFile(const wchar_t* name, long offset) const
{
    std::string text;
    FILE* f = _wfopen(JobFile(name), L"rb");
    if (!f)
        return text;
    if (offset > 0 && std::fseek(f, offset, SEEK_SET) != 0) {
        std::fclose(f);
        return text;
    }
    char buffer[16384];
    for (size_t got; (got = std::fread(buffer, 1, sizeof(buffer), f)) > 0;)
        text.append(buffer, got);
    std::fclose(f);
    return text;
}

void CUnixChild::RemoveFolder()
{
    if (m_changes != INVALID_HANDLE_VALUE) {
        FindCloseChangeNotification(m_changes);
        m_changes = INVALID_HANDLE_VALUE;
    }
    if (m_lock != INVALID_HANDLE_VALUE) {
        CloseHandle(m_lock);
        m_lock = INVALID_HANDLE_VALUE;
    }
    if (m_folder.IsEmpty())
        return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(JobFile(L"*"), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(JobFile(found.cFileName));
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(m_folder);
    m_folder.Empty();
}
