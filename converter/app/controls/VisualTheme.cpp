#include "VisualTheme.h"

namespace {

using OpenThemeDataProc = HTHEME(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataProc = HRESULT(WINAPI*)(HTHEME);
using DrawThemeBackgroundProc = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using ThemeQueryProc = BOOL(WINAPI*)();

HTHEME WINAPI NoOpenThemeData(HWND, LPCWSTR) { return nullptr; }
HRESULT WINAPI NoCloseThemeData(HTHEME) { return E_FAIL; }
HRESULT WINAPI NoDrawThemeBackground(HTHEME, HDC, int, int, const RECT*, const RECT*) { return E_FAIL; }
BOOL WINAPI NoThemeQuery() { return FALSE; }

// An entry point looked up once; the answer (fallback or null included) is kept.
struct CachedProc {
    const char* name;
    FARPROC proc = nullptr;
    bool resolved = false;
};

enum { OPEN, CLOSE, DRAW, ACTIVE, THEMED, PROC_COUNT };

// The first use is on the window thread; nothing here is locked.
struct UxThemeState {
    const wchar_t* libraryName = L"UxTheme.dll";
    HMODULE library = nullptr;
    bool tried = false;
    int attempts = 0;
    CachedProc procs[PROC_COUNT] = {{"OpenThemeData"}, {"CloseThemeData"}, {"DrawThemeBackground"}, {"IsThemeActive"}, {"IsAppThemed"}};

    ~UxThemeState()
    {
        if (library)
            ::FreeLibrary(library);
    }
};

UxThemeState& State()
{
    static UxThemeState state;
    return state;
}

template <class Fn>
Fn Resolve(int index, Fn fallback)
{
    CachedProc& slot = State().procs[index];
    if (!slot.resolved) {
        slot.proc = GetUxThemeProc(slot.name, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(fallback)));
        slot.resolved = true;
    }
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(slot.proc));
}

int Query(int index)
{
    ThemeQueryProc query = Resolve(index, &NoThemeQuery);
    return query ? query() : -1;
}

} // namespace

FARPROC GetUxThemeProc(const char* name, FARPROC fallback)
{
    UxThemeState& state = State();
    if (!state.tried) {
        state.tried = true;
        state.attempts++;
        state.library = ::LoadLibraryW(state.libraryName);
    }
    if (!state.library)
        return fallback;
    return ::GetProcAddress(state.library, name);
}

void ResetUxThemeLibrary(const wchar_t* libraryName)
{
    UxThemeState& state = State();
    if (state.library)
        ::FreeLibrary(state.library);
    state.library = nullptr;
    state.tried = false;
    state.attempts = 0;
    state.libraryName = libraryName;
    for (CachedProc& slot : state.procs) {
        slot.proc = nullptr;
        slot.resolved = false;
    }
}

int UxThemeLoadAttempts() { return State().attempts; }

CVisualTheme::CVisualTheme(HWND window, const wchar_t* classList) { Open(window, classList); }

CVisualTheme::~CVisualTheme() { Close(); }

BOOL CVisualTheme::Open(HWND window, const wchar_t* classList)
{
    Close();
    OpenThemeDataProc open = Resolve(OPEN, &NoOpenThemeData);
    m_hTheme = open ? open(window, classList) : nullptr;
    return m_hTheme != nullptr;
}

HRESULT CVisualTheme::Close()
{
    if (!m_hTheme)
        return 0;
    CloseThemeDataProc close = Resolve(CLOSE, &NoCloseThemeData);
    HRESULT result = close ? close(m_hTheme) : E_FAIL;
    m_hTheme = nullptr;
    return result;
}

HRESULT CVisualTheme::DrawBackground(HDC dc, int part, int state, const RECT* rect, const RECT* clip)
{
    DrawThemeBackgroundProc draw = Resolve(DRAW, &NoDrawThemeBackground);
    if (!draw)
        return -1;
    return draw(m_hTheme, dc, part, state, rect, clip);
}

int CVisualTheme::IsThemeActive() { return Query(ACTIVE); }

int CVisualTheme::IsAppThemed() { return Query(THEMED); }

bool IsVisualThemeActive() { return CVisualTheme::IsThemeActive() > 0 && CVisualTheme::IsAppThemed() > 0; }
