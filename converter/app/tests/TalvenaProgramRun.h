#pragma once
// Talvena.exe run from a test: started with a command line, its windows found by caption, its
// list and tree controls read and set through the program's own memory, ended with the test.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <vector>

#include "TalvenaTestSupport.h"

inline const wchar_t kProgramKey[] = L"Software\\Brenmoor\\Talvena";

inline CString ProgramPath()
{
    return WindowsPath(SUITE_PROGRAM_DIR) + L"\\Talvena.exe";
}

// One run of the program, ended when the test is over.
class ProgramRun {
public:
    explicit ProgramRun(const CString& arguments)
    {
        std::wstring line = (Quoted(ProgramPath()) + L" " + arguments).str();
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        m_started = CreateProcessW(ProgramPath(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &m_process) != FALSE;
    }
    ~ProgramRun()
    {
        if (!m_started)
            return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.hProcess, 1);
            WaitForSingleObject(m_process.hProcess, 5000);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    // The visible top-level window of the program whose caption starts with the text.
    HWND FindWindowTitled(const wchar_t* caption, DWORD timeoutMs) const
    {
        const DWORD start = GetTickCount();
        do {
            if (HWND found = FindProcessWindow(m_process.dwProcessId, caption, TitleMatch::Prefix))
                return found;
            Sleep(100);
        } while (GetTickCount() - start < timeoutMs);
        return nullptr;
    }
    bool WaitExit(DWORD timeoutMs) const { return WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0; }
    DWORD ExitCode() const
    {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

    // A cell of a list view of the program, read through the program's own memory.
    CString ListText(HWND list, int row, int column) const
    {
        constexpr int kChars = 512;
        struct Request {
            LVITEMW item;
            wchar_t text[kChars];
        } request{};
        request.item.iSubItem = column;
        request.item.cchTextMax = kChars - 1;
        const bool sent = SendThroughProgram(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), request,
                                             [](Request& r, char* remote) {
                                                 r.item.pszText = reinterpret_cast<wchar_t*>(remote + offsetof(Request, text));
                                             });
        return sent ? CString(request.text) : CString();
    }

    // A cell's rectangle in screen coordinates; empty when the list cannot say.
    RECT CellOnScreen(HWND list, int row, int column) const
    {
        RECT cell{};
        cell.left = LVIR_LABEL;
        cell.top = column;
        if (!SendThroughProgram(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), cell, [](RECT&, char*) {}))
            return RECT{};
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&cell), 2);
        return cell;
    }

    // Selects only the row of a list view of the program (-1: clears the selection).
    bool SelectOnlyRow(HWND list, int row) const
    {
        LVITEMW clear{};
        clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        if (!SendThroughProgram(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), clear, [](LVITEMW&, char*) {}))
            return false;
        if (row < 0)
            return true;
        LVITEMW select{};
        select.state = select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        return SendThroughProgram(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), select, [](LVITEMW&, char*) {});
    }

    // A tree item's text, read through the program's memory.
    CString TreeText(HWND tree, HTREEITEM item) const
    {
        constexpr int kChars = 256;
        struct Request {
            TVITEMW item;
            wchar_t text[kChars];
        } request{};
        request.item.mask = TVIF_TEXT;
        request.item.hItem = item;
        request.item.cchTextMax = kChars - 1;
        const bool sent = SendThroughProgram(tree, TVM_GETITEMW, 0, request, [](Request& r, char* remote) {
            r.item.pszText = reinterpret_cast<wchar_t*>(remote + offsetof(Request, text));
        });
        return sent ? CString(request.text) : CString();
    }

    // Ticks or clears a tree item's check box as a click on it does.
    bool SetTreeCheck(HWND tree, HTREEITEM item, bool checked) const
    {
        TVITEMW state{};
        state.mask = TVIF_STATE | TVIF_HANDLE;
        state.hItem = item;
        state.stateMask = TVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
        return SendThroughProgram(tree, TVM_SETITEMW, 0, state, [](TVITEMW&, char*) {});
    }

    bool m_started = false;
    PROCESS_INFORMATION m_process{};

private:
    // Sends a message whose lParam points at `data`, copied into the program and back;
    // `aim` fixes pointers inside the copy, given its address there.
    template <class T, class Aim>
    bool SendThroughProgram(HWND window, UINT message, WPARAM wParam, T& data, Aim aim) const
    {
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                                     m_process.dwProcessId);
        if (!process)
            return false;
        auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(T), MEM_COMMIT, PAGE_READWRITE));
        bool sent = false;
        if (remote) {
            aim(data, remote);
            DWORD_PTR answer = 0;
            sent = WriteProcessMemory(process, remote, &data, sizeof(T), nullptr) &&
                   SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                                       5000, &answer) &&
                   answer && ReadProcessMemory(process, remote, &data, sizeof(T), nullptr);
            VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        }
        CloseHandle(process);
        return sent;
    }
};

// Waits for the row's status to settle on one of the end states; the texts seen on the way.
inline CString WaitForEnd(const ProgramRun& program, HWND list, int row, std::vector<CString>* seen = nullptr)
{
    CString status;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 120000) {
        status = program.ListText(list, row, 3);
        if (seen && (seen->empty() || seen->back() != status))
            seen->push_back(status);
        if (status == L"Completed." || status == L"Canceled." || status.Left(7) == L"Failed:" ||
            status.Left(9) == L"Canceled:")
            break;
        Sleep(50);
    }
    return status;
}
