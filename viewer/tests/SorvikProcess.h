#pragma once
// Sorvik.exe started by a test as a user starts it, and what the test does to its windows from
// outside: commands, drops, typing into its dialogs and reading the screen over it.
#include <windows.h>
#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "CString.h"
#include "GuiDriving.h"
#include "SorvikWindows.h"

class CSorvikProcess {
public:
    PROCESS_INFORMATION m_info{};

    ~CSorvikProcess() { End(); }

    bool Start(const CString& arguments)
    {
        std::wstring command = L"\"" + SorvikProgramPath() + L"\" " + arguments.str();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        return ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info);
    }
    // Waits for the end (closing it when asked); true when it ended by itself with status 0.
    bool Close(HWND main, DWORD ms = 20000)
    {
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_info.hProcess, ms) != WAIT_OBJECT_0)
            return false;
        DWORD code = 1;
        ::GetExitCodeProcess(m_info.hProcess, &code);
        return code == 0;
    }
    void End()
    {
        if (!m_info.hProcess)
            return;
        if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_info.hProcess, 3);
        ::CloseHandle(m_info.hProcess);
        ::CloseHandle(m_info.hThread);
        m_info = PROCESS_INFORMATION{};
    }
    DWORD Id() const { return m_info.dwProcessId; }

    // A drop of files as the shell hands it over: the DROPFILES record in the viewer's memory.
    bool Drop(HWND target, const std::vector<CString>& paths)
    {
        std::vector<wchar_t> names;
        for (const CString& p : paths)
            names.insert(names.end(), p.GetString(), p.GetString() + p.GetLength() + 1);
        names.push_back(L'\0');
        std::vector<char> record(sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
        auto* drop = reinterpret_cast<DROPFILES*>(record.data());
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        memcpy(record.data() + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
        void* remote = ::VirtualAllocEx(m_info.hProcess, nullptr, record.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        SIZE_T written = 0;
        if (!remote || !::WriteProcessMemory(m_info.hProcess, remote, record.data(), record.size(), &written))
            return false;
        return ::PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != FALSE;
    }
};

struct DescendantSearch {
    int id;
    const wchar_t* className;
    HWND found;
};

inline BOOL CALLBACK VisitDescendant(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<DescendantSearch*>(param);
    wchar_t name[64] = L"";
    ::GetClassNameW(wnd, name, 64);
    if ((search->id < 0 || ::GetDlgCtrlID(wnd) == search->id) &&
        (!search->className || ::lstrcmpiW(name, search->className) == 0)) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// A window below `parent` (at any depth) with that id and/or class.
inline HWND FindDescendant(HWND parent, int id, const wchar_t* className = nullptr)
{
    DescendantSearch search{id, className, nullptr};
    ::EnumChildWindows(parent, VisitDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The file-name box of an Explorer-style dialog: the edit of its combo box, or a plain edit.
inline HWND FileNameBox(HWND dialog)
{
    HWND combo = FindDescendant(dialog, cmb13);
    HWND edit = combo ? FindDescendant(combo, -1, L"Edit") : nullptr;
    if (!edit)
        edit = FindDescendant(dialog, edt1);
    return edit ? edit : combo;
}

// As a user does it: click into the name box, replace its text, press Enter.
inline void TypeFileName(HWND dialog, const wchar_t* name)
{
    HWND box = FileNameBox(dialog);
    if (!box)
        return;
    ClickCentre(box);
    ::Sleep(100);
    PressKey(VK_HOME);
    PressKeyWith(VK_SHIFT, VK_END);
    TypeText(name);
    ::Sleep(100);
    PressKey(VK_RETURN);
}

inline bool WriteSorvikString(const wchar_t* name, const CString& value)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Settings", 0, nullptr, 0, KEY_WRITE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()),
                               DWORD(value.GetLength() + 1) * sizeof(wchar_t)) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return ok;
}
