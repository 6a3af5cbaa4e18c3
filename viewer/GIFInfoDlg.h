#pragma once
// The facts of one playlist item: its full path and a two-column list of named values.
#include "CDialog.h"
#include "Controls.h"

class CPlaylistItem;

class CGIFInfoDlg : public CDialog {
public:
    CGIFInfoDlg(CPlaylistItem* item, CWnd* parent);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void FillInfo();

private:
    CPlaylistItem* m_pItem;   // not owned
    CListCtrl m_list;
};
