#include "EncodeOptions.h"

int CEncodeOptions::MakeEvenSize()
{
    if (m_width > 0 && (m_width & 1))
        --m_width;
    if (m_height > 0 && (m_height & 1))
        --m_height;
    return 0;
}

void CEncodeOptions::AddExtraOptions(const wchar_t* text)
{
    if (!text || !*text)
        return;
    if (!m_extraOptions.IsEmpty())
        m_extraOptions += L' ';
    m_extraOptions += text;
}
