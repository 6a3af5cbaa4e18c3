#include "FwTestSupport.h"

namespace {
CWinApp g_app(L"FwTests");
}

CWinApp& TestApp() { return g_app; }

const wchar_t* TestMakerKey()
{
    static const CString key = [] {
        wchar_t path[MAX_PATH] = L"";
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        CString name(path);
        name = name.Mid(name.ReverseFind(L'\\') + 1);
        int dot = name.ReverseFind(L'.');
        return CString(L"FwTestMaker-") + (dot > 0 ? name.Left(dot) : name);
    }();
    return key;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, bool* quit)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        if (done())
            return true;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                if (quit)
                    *quit = true;
                return done();
            }
            if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (done())
                return true;
        }
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}
