#pragma once
// What the probe found in a row's source GIF and in its output video, side by side. It reads the
// item only: nothing is probed here.
#include "CDialog.h"
#include "Controls.h"

class CConvertItem;
class CMediaInfo;

class CMediaInfoDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    explicit CMediaInfoDlg(const CConvertItem* item, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    CListCtrl m_inputList;
    CListCtrl m_outputList;

private:
    void SetUpList(CListCtrl& list, const wchar_t* title);
    void FillList(CListCtrl& list, int pathId, const CString& path, const CMediaInfo* info);
    void OnListCustomDraw(NMHDR* header, LRESULT* result);

    const CConvertItem* m_item;
};
