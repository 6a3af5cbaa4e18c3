#include "RecentList.h"

#include <windows.h>

#include "CMenu.h"
#include "CWinApp.h"

namespace {

// Menu texts treat "&" as a mnemonic mark: a file name's own ampersands are doubled.
CString MenuText(const CString& text)
{
    CString out = text;
    out.Replace(L"&", L"&&");
    return out;
}

CString FileNamePart(const CString& path)
{
    int slash = -1;
    for (int i = 0; i < path.GetLength(); i++)
        if (path[i] == L'\\' || path[i] == L'/')
            slash = i;
    return path.Mid(slash + 1);
}

} // namespace

CString CRecentListBase::EntryName(int number) const
{
    CString name;
    name.Format(m_strEntryFormat, number);
    return name;
}

void CRecentListBase::CutToMaximum()
{
    int keep = m_nMaxCount > 0 ? m_nMaxCount : 0;
    if (m_items.GetSize() > keep)
        m_items.RemoveAt(keep, m_items.GetSize() - keep);
}

void CRecentListBase::Add(const wchar_t* text)
{
    CString item(text ? text : L"");
    item.Trim();
    if (item.IsEmpty())
        return;
    for (int i = 0; i < m_items.GetSize(); i++) {
        if (Compare(m_items[i], item)) {
            m_items.RemoveAt(i);
            break;
        }
    }
    m_items.InsertAt(0, item);
    CutToMaximum();
}

void CRecentListBase::Remove(int index)
{
    if (index >= 0 && index < m_items.GetSize())
        m_items.RemoveAt(index);
}

void CRecentListBase::Load()
{
    CWinApp* app = FwGetApp();
    if (!app || m_strSection.IsEmpty() || m_strEntryFormat.IsEmpty())
        return;
    for (int i = 1; i <= m_nMaxCount; i++) {
        CString item = app->GetProfileString(m_strSection, EntryName(i));
        item.Trim();
        if (!item.IsEmpty())
            m_items.Add(item);
    }
    CutToMaximum();
}

void CRecentListBase::Save()
{
    CWinApp* app = FwGetApp();
    if (!app || m_strSection.IsEmpty() || m_strEntryFormat.IsEmpty())
        return;
    app->DeleteProfileSection(m_strSection);
    for (int i = 0; i < m_items.GetSize(); i++)
        app->WriteProfileString(m_strSection, EntryName(i + 1), m_items[i]);
}

bool CRecentList::Compare(const CString& a, const CString& b) const { return ::lstrcmpiW(a, b) == 0; }

int CRecentList::UpdateMenu(CCmdUI* ui, int insertPos)
{
    CMenu* menu = ui->m_pSubMenu ? ui->m_pSubMenu : ui->m_pMenu;
    if (!menu)
        return -1;
    UINT first = ui->m_nID;
    if (m_strEmptyText.IsEmpty())
        m_strEmptyText = menu->GetMenuString(first, MF_BYCOMMAND);
    int maximum = m_nMaxCount > 0 ? m_nMaxCount : 0;
    int count = m_items.GetSize() < maximum ? m_items.GetSize() : maximum;
    if (count == 0) {
        for (int i = 1; i < maximum; i++)
            menu->DeleteMenu(first + static_cast<UINT>(i), MF_BYCOMMAND);
        if (!m_strEmptyText.IsEmpty())
            menu->ModifyMenu(first, MF_BYCOMMAND | MF_STRING, first, m_strEmptyText);
        menu->EnableMenuItem(first, MF_BYCOMMAND | MF_GRAYED);
        return 0;
    }
    for (int i = 0; i < maximum; i++)
        menu->DeleteMenu(first + static_cast<UINT>(i), MF_BYCOMMAND);
    if (insertPos == -1)
        insertPos = static_cast<int>(ui->m_nIndex);
    for (int j = 0; j < count; j++) {
        CString text = m_bFullPath ? m_items[j] : FileNamePart(m_items[j]);
        menu->InsertMenu(static_cast<UINT>(insertPos + j), MF_BYPOSITION | MF_STRING, first + static_cast<UINT>(j),
                         MenuText(text));
        ui->m_nIndex++;
    }
    ui->m_nIndex--;
    ui->m_nIndexMax = static_cast<UINT>(menu->GetMenuItemCount());
    ui->m_bEnableChanged = TRUE;
    return count;
}
