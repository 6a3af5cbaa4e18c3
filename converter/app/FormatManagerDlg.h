#pragma once
// "Video/Audio Format Settings": which formats the format lists show, and each format's presets
// (add, edit, delete, default, order, reset). Closing stores everything into the catalogue and
// saves it.
#include <functional>

#include "CDialog.h"
#include "CImageList.h"
#include "Controls.h"

class CMediaCatalogItem;
class CMediaFormatInfo;
class CMediaPreset;

class CFormatManagerDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    explicit CFormatManagerDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override { Close(); }
    void OnCancel() override { Close(); }

    // Presets that others hold (the main dialog's choice, a run): they are neither deleted nor
    // reset here. Set by the caller; none when empty.
    std::function<bool(const CMediaPreset*)> m_isPresetInUse;

    CTreeCtrl m_tree;
    CListCtrl m_list;
    int m_modified = 0;

private:
    CMediaFormatInfo* SelectedFormat() const;
    CMediaPreset* RowPreset(int row) const;
    void FillTree();
    void FillList();
    void StoreList();
    void SetRow(int row, const CMediaPreset& preset);
    void MarkDefault(int row);
    int MarkedRow() const;
    void SwapRows(int a, int b);
    bool InUse(const CMediaPreset* preset) const;
    bool FormatInUse(const CMediaFormatInfo& format) const;
    void UpdateButtons();
    void Layout(int width, int height);
    void Close();

    void OnTreeSelChanged(NMHDR*, LRESULT*);
    void OnListChanged(NMHDR*, LRESULT*) { UpdateButtons(); }
    void OnListDblClk(NMHDR*, LRESULT*) { OnEdit(); }
    void OnAddPreset();
    void OnDelete();
    void OnEdit();
    void OnDefault();
    void OnMoveUp();
    void OnMoveDown();
    void OnReset();
    void OnResetAll();
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnGetMinMaxInfo(WPARAM, LPARAM lParam);
    void OnLButtonDown(UINT flags, CPoint point);

    CImageList m_defaultMark;
    CToolTipCtrl m_tips;
    CMediaFormatInfo* m_listed = nullptr;
};
