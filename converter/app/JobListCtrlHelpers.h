#pragma once
// What the job list's files share: rectangles between the row layout and the window, the
// program's cursors, and the texts of the in-row links.
#include "AppGlobals.h"
#include "AppPaths.h"
#include "CWnd.h"
#include "JobRowLayout.h"

inline CRect ToCRect(const RowRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }
inline RowRect ToRowRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

inline HCURSOR AppCursor(int which)
{
    return g_pAppPaths && g_pAppPaths->m_cursors[which] ? g_pAppPaths->m_cursors[which] : ::LoadCursorW(nullptr, IDC_ARROW);
}

inline const wchar_t kPlayText[] = L"Play";
inline const wchar_t kOpenFolderText[] = L"Open Folder";
