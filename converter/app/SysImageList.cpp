#include "SysImageList.h"

#include <shellapi.h>

namespace {

HIMAGELIST SystemList(UINT flags)
{
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | flags));
}

} // namespace

CSysImageList::~CSysImageList()
{
    m_small.Detach();
    m_large.Detach();
}

int CSysImageList::Load()
{
    const HIMAGELIST small = SystemList(SHGFI_SMALLICON);
    const HIMAGELIST large = SystemList(0);
    if (!small || !large)
        return 0;
    m_small.Detach();
    m_large.Detach();
    m_small.Attach(small);
    m_large.Attach(large);
    return 1;
}

CImageList* CSysImageList::GetList(int kind)
{
    switch (kind) {
    case SMALL_ICONS:
        return &m_small;
    case LARGE_ICONS:
        return &m_large;
    default:
        return nullptr;
    }
}
