#pragma once
// Answers the message boxes of this process from a thread of its own, as a user would: the
// window's thread is inside the box's own loop meanwhile. Windows only.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "GuiDriving.h"

class MessageBoxAnswerer {
public:
    // The boxes get the buttons in turn, and once they are used up no box is answered any more;
    // with no buttons every box is answered with OK while the answerer lives. A box is a
    // visible dialog of this process other than the main window.
    explicit MessageBoxAnswerer(HWND mainWindow, std::vector<int> buttons = {})
        : m_main(mainWindow), m_buttons(std::move(buttons)), m_thread([this] { Run(); })
    {
    }
    ~MessageBoxAnswerer()
    {
        m_stop = true;
        m_thread.join();
    }
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // What the boxes answered so far said, in turn.
    std::vector<std::wstring> Texts()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_texts;
    }

private:
    // A visible dialog of this process other than the main window.
    HWND FindBox() const
    {
        return FindTopWindow([this](HWND window) {
            return window != m_main && WindowProcess(window) == ::GetCurrentProcessId() && ::IsWindowVisible(window) &&
                   WindowClass(window) == L"#32770";
        });
    }
    static BOOL CALLBACK NoteStaticText(HWND child, LPARAM data)
    {
        wchar_t className[32] = L"", text[512] = L"";
        ::GetClassNameW(child, className, 32);
        ::GetWindowTextW(child, text, 512);
        if (::lstrcmpiW(className, L"Static") == 0 && text[0])
            *reinterpret_cast<std::wstring*>(data) = text;
        return TRUE;
    }
    static std::wstring BoxText(HWND box)
    {
        std::wstring found;
        ::EnumChildWindows(box, NoteStaticText, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    void Run()
    {
        size_t next = 0;
        while (!m_stop && (m_buttons.empty() || next < m_buttons.size())) {
            if (const HWND box = FindBox()) {
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_texts.push_back(BoxText(box));
                }
                const int button = m_buttons.empty() ? IDOK : m_buttons[next++];
                ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
                while (!m_stop && ::IsWindow(box) && ::IsWindowVisible(box))
                    ::Sleep(20);
            }
            ::Sleep(20);
        }
    }

    HWND m_main;
    std::vector<int> m_buttons;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<std::wstring> m_texts;
    std::thread m_thread;
};
