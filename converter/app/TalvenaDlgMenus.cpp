// The main dialog's menus: the toolbars' drop-downs, the right-click menus of the window, the
// list and a row, and the system menu's "Always On Top" tick.

#include "TalvenaDlg.h"

#include "CMenu.h"
#include "ConvertListItem.h"
#include "JobStates.h"
#include "TalvenaDlgHelpers.h"
#include "TalvenaRes.h"

namespace {

enum Popup { POPUP_MAIN, POPUP_MORE, POPUP_DIALOG, POPUP_LIST, POPUP_ROW };

} // namespace

LRESULT CTalvenaDlg::OnInitMenuPopupMessage(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CFrameDlg::OnInitMenuPopup(wParam, lParam);
    if (HIWORD(lParam))
        CheckMenuItem(reinterpret_cast<HMENU>(wParam), kSystemAlwaysOnTop, m_alwaysOnTop ? MF_CHECKED : MF_UNCHECKED);
    return result;
}

void CTalvenaDlg::ShowMenu(int popup, UINT flags, CPoint point, UINT defaultCommand, const RECT* exclude)
{
    CMenu menus;
    if (!menus.LoadMenu(IDR_DIALOG_MENUS))
        return;
    CMenu* menu = menus.GetSubMenu(popup);
    if (!menu)
        return;
    if (!HasITunes()) {
        menu->DeleteMenu(ID_ADD_ALL_TO_ITUNES, MF_BYCOMMAND);
        menu->DeleteMenu(ID_ADD_TO_ITUNES_ROW, MF_BYCOMMAND);
    }
    if (defaultCommand)
        menu->SetDefaultItem(defaultCommand);
    TPMPARAMS params{};
    params.cbSize = sizeof(params);
    if (exclude)
        params.rcExclude = *exclude;
    menu->TrackPopupMenuEx(flags | TPM_RIGHTBUTTON, point.x, point.y, this, exclude ? &params : nullptr);
}

void CTalvenaDlg::OnToolbarDropDown(UINT id, NMHDR* header, LRESULT* result)
{
    const auto* drop = reinterpret_cast<const NMTOOLBARW*>(header);
    CToolBar& bar = id == IDW_MENU_TOOLBAR ? m_menuToolBar : m_listToolBar;
    CRect button;
    bar.GetItemRect(bar.CommandToIndex(static_cast<UINT>(drop->iItem)), &button);
    bar.ClientToScreen(&button);
    if (drop->iItem == ID_MORE) {
        ShowMenu(POPUP_MORE, TPM_LEFTALIGN | TPM_VERTICAL, CPoint(button.left, button.bottom), 0, &button);
    } else if (drop->iItem == ID_MENU) {
        bar.PressButton(ID_MENU, TRUE);
        ShowMenu(POPUP_MAIN, TPM_RIGHTALIGN | TPM_VERTICAL, CPoint(button.right, button.bottom), 0, &button);
        bar.PressButton(ID_MENU, FALSE);
    }
    *result = 0;
}

void CTalvenaDlg::OnContextMenu(CWnd* wnd, CPoint point)
{
    const bool keyboard = point.x == -1 && point.y == -1;
    if (FwHwnd(wnd) != m_list.m_hWnd) {
        if (keyboard) {
            point = CPoint(0, 0);
            ClientToScreen(&point);
        }
        ShowMenu(POPUP_DIALOG, TPM_LEFTALIGN, point, 0, nullptr);
        return;
    }
    int row = -1;
    if (keyboard) {
        row = m_list.GetFirstSelected();
        CRect list;
        m_list.GetClientRect(&list);
        CRect bounds;
        if (row >= 0 && m_list.GetItemRect(row, &bounds, LVIR_BOUNDS) && list.PtInRect(bounds.CenterPoint()))
            point = bounds.CenterPoint();
        else
            point = CPoint(0, 0);
        m_list.ClientToScreen(&point);
    } else {
        CPoint inList = point;
        m_list.ScreenToClient(&inList);
        row = m_list.HitTest(inList);
        if (row >= 0 && !IsRowSelected(row))
            m_list.SelectItem(row, TRUE, TRUE);
    }
    if (row < 0) {
        ShowMenu(POPUP_LIST, TPM_LEFTALIGN, point, ID_ADD_GIF, nullptr);
        return;
    }
    const CConvertListItem* item = GetItem(row);
    const bool completed = item && item->m_state == JOB_COMPLETED;
    ShowMenu(POPUP_ROW, TPM_LEFTALIGN, point, completed ? ID_PLAY_OUTPUT : ID_ADVANCED_OPTIONS, nullptr);
}
