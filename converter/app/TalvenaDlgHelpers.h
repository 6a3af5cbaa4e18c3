#pragma once
// What the main dialog's files share: the system menu's entry, the activity timer, whether
// there is an iTunes to hand over to, and the application's list lock.
#include <windows.h>

#include "AppGlobals.h"
#include "AppPaths.h"
#include "CSync.h"
#include "TalvenaRes.h"

constexpr UINT kSystemAlwaysOnTop = ID_SYSTEM_ALWAYS_ON_TOP;
constexpr UINT_PTR kActivityTimer = 3;

inline bool HasITunes()
{
    return g_pAppPaths && g_pAppPaths->m_iTunes;
}

// The index when it is one of the count, else the first.
inline int ClampIndex(int index, int count)
{
    return index >= 0 && index < count ? index : 0;
}

// The list lock of the application, when there is one (tests may run without).
class ListLockGuard {
public:
    ListLockGuard()
    {
        if (g_pListLock)
            g_pListLock->Lock();
    }
    ~ListLockGuard()
    {
        if (g_pListLock)
            g_pListLock->Unlock();
    }
    ListLockGuard(const ListLockGuard&) = delete;
    ListLockGuard& operator=(const ListLockGuard&) = delete;
};
