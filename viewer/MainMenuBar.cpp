#include "MainMenuBar.h"

#include "FrameRules.h"
#include "Settings.h"
#include "ViewerGlobals.h"

CMainMenuBar::CMainMenuBar()
{
    m_crText = RGB(0xC0, 0xC0, 0xC0);
    m_crHotText = RGB(0xFF, 0xFF, 0xFF);
    m_crHighlight = RGB(0x40, 0x40, 0x40);
}

void CMainMenuBar::SetFileCount(int count)
{
    m_strFileCount = FileCountText(count);
    if (!GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    client.left = client.right - 160;
    InvalidateRect(client, TRUE);
}

void CMainMenuBar::DrawBackground(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(client, RGB(0x20, 0x20, 0x20));
    if (m_strFileCount.IsEmpty())
        return;
    CRect text(client.left, client.top, client.right - 4, client.bottom - 1);
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColour = dc->SetTextColor(RGB(0xC0, 0xC0, 0xC0));
    HGDIOBJ oldFont = g_pUIResources ? dc->SelectObject(&g_pUIResources->m_fontNormal) : nullptr;
    dc->DrawText(m_strFileCount, text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (oldFont)
        dc->SelectObject(oldFont);
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
}
