#include "ShellTestSupport.h"

#include <shellapi.h>

#include <map>

#include "shell/Pidl.h"

CCountingMalloc& CCountingMalloc::Instance()
{
    static CCountingMalloc malloc;
    return malloc;
}

HRESULT CCountingMalloc::QueryInterface(REFIID riid, void** out)
{
    if (riid == IID_IUnknown || riid == IID_IMalloc) {
        *out = this;
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

void* CCountingMalloc::Alloc(SIZE_T size)
{
    void* block = ::CoTaskMemAlloc(size);
    if (block)
        m_live.insert(block);
    return block;
}

void* CCountingMalloc::Realloc(void* block, SIZE_T size)
{
    m_live.erase(block);
    void* moved = ::CoTaskMemRealloc(block, size);
    if (moved)
        m_live.insert(moved);
    return moved;
}

void CCountingMalloc::Free(void* block)
{
    // Lists the shell made itself come from the task allocator too.
    m_live.erase(block);
    ::CoTaskMemFree(block);
}

CTempFolder::CTempFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    wchar_t longTemp[MAX_PATH] = L"";
    if (!::GetLongPathNameW(temp, longTemp, MAX_PATH))
        ::lstrcpynW(longTemp, temp, MAX_PATH);
    m_root.Format(L"%s%s-%lu", longTemp, name, ::GetCurrentProcessId());
    ::CreateDirectoryW(m_root, nullptr);
}

CTempFolder::~CTempFolder()
{
    std::wstring from = m_root.str();
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&op);
}

CString CTempFolder::Path(const wchar_t* relative) const
{
    return relative ? m_root + L"\\" + relative : m_root;
}

void CTempFolder::MakeFolder(const wchar_t* relative) const { ::CreateDirectoryW(Path(relative), nullptr); }

void CTempFolder::MakeFile(const wchar_t* relative) const
{
    HANDLE file = ::CreateFileW(Path(relative), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
}

CHostWindow::CHostWindow(int width, int height)
{
    CreateEx(0, nullptr, L"Shell test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, width, height,
             nullptr, nullptr);
    ::SetForegroundWindow(m_hWnd);
    UpdateWindow();
}

CHostWindow::~CHostWindow()
{
    if (m_hWnd)
        DestroyWindow();
}

COLORREF ReadPixel(HWND window, int x, int y)
{
    POINT at{x, y};
    ::ClientToScreen(window, &at);
    HDC screen = ::GetDC(nullptr);
    COLORREF colour = ::GetPixel(screen, at.x, at.y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

void PumpFor(DWORD ms)
{
    DWORD start = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - start >= ms; }, ms + 1000);
}

namespace {

struct WindowSearch {
    const wchar_t* className;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM p)
{
    auto* search = reinterpret_cast<WindowSearch*>(p);
    wchar_t cls[64] = L"", text[256] = L"";
    ::GetClassNameW(hwnd, cls, 64);
    ::GetWindowTextW(hwnd, text, 256);
    if (::IsWindowVisible(hwnd) && (!search->className || ::lstrcmpW(cls, search->className) == 0) &&
        (!search->caption || ::lstrcmpW(text, search->caption) == 0)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::map<UINT_PTR, std::function<void()>>& Pending()
{
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    auto it = Pending().find(id);
    if (it == Pending().end())
        return;
    std::function<void()> action = std::move(it->second);
    Pending().erase(it);
    action();
}

// COM for the whole program, with every shell object of ours gone before it ends.
class ShellEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
        ::InitCommonControlsEx(&controls);
        ASSERT_TRUE(UseShellMallocForTest(&CCountingMalloc::Instance()));
        // Held for the whole run, so that every test's lists come from it.
        ASSERT_EQ(GetShellMalloc(), &CCountingMalloc::Instance());
    }
    void TearDown() override
    {
        ReleaseShellMalloc();
        // Nothing of ours may still hold the allocator or a list when COM goes.
        EXPECT_EQ(CCountingMalloc::Instance().m_refs, 1);
        EXPECT_TRUE(CCountingMalloc::Instance().m_live.empty()) << CCountingMalloc::Instance().m_live.size() << " lists";
        ::OleUninitialize();
    }
};

const bool registered = (::testing::AddGlobalTestEnvironment(new ShellEnvironment), true);

} // namespace

HWND FindThreadWindow(const wchar_t* className, const wchar_t* caption)
{
    WindowSearch search{className, caption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void RunLater(DWORD ms, std::function<void()> action)
{
    UINT_PTR id = ::SetTimer(nullptr, 0, ms, RunPending);
    Pending()[id] = std::move(action);
}
