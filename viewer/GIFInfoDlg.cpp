#include "GIFInfoDlg.h"

#include "GifInfo.h"
#include "PlaylistItem.h"
#include "resource.h"

CGIFInfoDlg::CGIFInfoDlg(CPlaylistItem* item, CWnd* parent) : CDialog(IDD_GIF_INFO, parent), m_pItem(item) {}

void CGIFInfoDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_GIF_INFO_LIST, m_list);
}

BOOL CGIFInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, L"", LVCFMT_LEFT, 100);
    m_list.InsertColumn(1, L"", LVCFMT_LEFT, client.Width() - ::GetSystemMetrics(SM_CXVSCROLL) - 100);
    if (m_pItem)
        SetWindowText(m_pItem->m_strName);
    FillInfo();
    return TRUE;
}

void CGIFInfoDlg::FillInfo()
{
    m_list.DeleteAllItems();
    if (!m_pItem)
        return;
    SetDlgItemText(IDC_GIF_INFO_PATH, m_pItem->m_strPath);
    const std::vector<GifInfoRow> rows = GifInfoRows(*m_pItem);
    for (size_t i = 0; i < rows.size(); i++) {
        const int row = m_list.InsertItem(int(i), rows[i].name);
        m_list.SetItemText(row, 1, rows[i].value);
    }
    m_list.EnsureVisible(0, FALSE);
}
