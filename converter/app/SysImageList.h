#pragma once
// The system's small and large icon lists, borrowed: the system owns them, so they are let go,
// never destroyed.
#include "CImageList.h"

class CSysImageList {
public:
    enum { SMALL_ICONS = 1, LARGE_ICONS = 2 };

    CSysImageList() = default;
    CSysImageList(const CSysImageList&) = delete;
    CSysImageList& operator=(const CSysImageList&) = delete;
    virtual ~CSysImageList();

    // 1 when both lists were had, else 0.
    int Load();
    // SMALL_ICONS or LARGE_ICONS; null for other kinds.
    CImageList* GetList(int kind);

private:
    CImageList m_small;
    CImageList m_large;
};
