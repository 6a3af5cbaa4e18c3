#pragma once
// The picture options of one conversion item: rotation, flips, grey scale and negation, which
// the job turns into the encoder's video filters. Cancel leaves the item as it was.
#include "CDialog.h"
#include "Controls.h"

class CConvertItem;

class CAdvancedOptionsDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    explicit CAdvancedOptionsDlg(CConvertItem* item, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    int m_hflip = 0;
    int m_vflip = 0;
    int m_grey = 0;
    int m_negate = 0;
    int m_rotate = 0;
    int m_rotation = 0;  // index into 90, 180, 270

private:
    void OnRotateClicked();

    CConvertItem* m_item;
};
