#pragma once
// A device context that collects one paint pass in a memory bitmap and copies it to the target
// in one block transfer when it goes out of scope. Callers draw with the target's logical
// coordinates. Against a printing context it draws straight to the target.
#include "CDC.h"

class COffscreenDC : public CDC {
public:
    // Without a rectangle the target's clip box is buffered.
    explicit COffscreenDC(CDC* target, const RECT* rect = nullptr);
    ~COffscreenDC() override;

private:
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    CDC* m_pTarget;
    CRect m_rect;
    BOOL m_bDirect;
};
