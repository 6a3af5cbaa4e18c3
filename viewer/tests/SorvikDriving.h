#pragma once
// What a test does to the running viewer from outside: drops, finding its windows, filling in
// its file dialogs, and settings written before it starts.
#include <windows.h>
#include <dlgs.h>
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "CString.h"
#include "GuiDriving.h"

// A drop of files as the shell hands it over: the DROPFILES record, in the viewer's memory.
inline bool DropFilesOn(HANDLE process, HWND target, const std::vector<CString>& paths)
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
    void* remote = ::VirtualAllocEx(process, nullptr, record.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    if (!remote || !::WriteProcessMemory(process, remote, record.data(), record.size(), &written))
        return false;
    return ::PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != FALSE;
}

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

// A window below `parent` (at any depth) with that id (-1: any) and class (null: any).
inline HWND FindDescendant(HWND parent, int id, const wchar_t* className = nullptr)
{
    DescendantSearch search{id, className, nullptr};
    ::EnumChildWindows(parent, VisitDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The file-name box of an open or save dialog (its combo box's edit, or a plain edit).
inline HWND FileNameBox(HWND dialog)
{
    HWND combo = ::GetDlgItem(dialog, cmb13);
    HWND edit = combo ? ::FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
    if (!edit)
        edit = ::GetDlgItem(dialog, edt1);
    return edit ? edit : combo;
}

// Puts a name into the dialog's name box and presses Enter, as a user does.
inline bool EnterFileName(HWND dialog, const CString& name)
{
    HWND box = FileNameBox(dialog);
    if (!box)
        return false;
    ::SetForegroundWindow(dialog);
    ClickCentre(box);
    ::Sleep(100);
    ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.GetString()));
    ::Sleep(100);
    PressKey(VK_RETURN);
    return true;
}

// A text value in the viewer's "Settings" section of the profile, for the next start.
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

// A key (with a modifier such as VK_CONTROL, or 0) typed into the viewer's main window.
inline void TypeKeyInto(HWND main, WORD key, WORD modifier = 0)
{
    ::SetForegroundWindow(main);
    WaitFor([&] { return ::GetForegroundWindow() == main; }, 2000);
    if (modifier)
        PressKeyWith(modifier, key);
    else
        PressKey(key);
}
