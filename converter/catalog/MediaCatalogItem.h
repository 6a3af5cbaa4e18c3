#pragma once
// The base of every catalogue object: its kind, its flags and its catalogue key.
#include <cstdint>

#include "CString.h"

enum : int32_t {
    MEDIA_CATEGORY_VIDEO = 1,
    MEDIA_CATEGORY_AUDIO = 2,
    MEDIA_CATEGORY_DEVICE_GROUP = 10,
    MEDIA_CATEGORY_DEVICE = 11,
};

enum : uint32_t {
    MEDIA_ITEM_GROUP = 0x20000000,   // a group heading wherever groups and formats share a list
    MEDIA_ITEM_HIDDEN = 0x40000000,  // left out of the format lists
};

class CMediaCatalogItem {
public:
    virtual ~CMediaCatalogItem() = default;

    int32_t m_category = -1;
    uint32_t m_flags = 0;
    CString m_id;
};

// A value pair: width x height, numerator / denominator.
struct CIntPair {
    int32_t first = 0;
    int32_t second = 0;
};

inline bool operator==(const CIntPair& a, const CIntPair& b) { return a.first == b.first && a.second == b.second; }
inline bool operator!=(const CIntPair& a, const CIntPair& b) { return !(a == b); }
