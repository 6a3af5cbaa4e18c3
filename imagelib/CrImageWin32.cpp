// The Windows-only pieces of CrImage.
#include "CrImage.h"

#include <windows.h>

#include <cstring>

void* CrImage::CopyToHandle() const
{
    if (!m_pDib)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GHND, GetSize());
    if (!block)
        return nullptr;
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return nullptr;
    }
    memcpy(target, m_pDib, GetSize());
    GlobalUnlock(block);
    return block;
}
