#pragma once
// The frame-size combo box: a list of "width x height" sizes whose edit part is two number
// fields with an "x" between them. The combo's own edit stays hidden and holds the text.
#include "CDialog.h"
#include "ColorStatic.h"
#include "Controls.h"
#include "MediaCatalogItem.h"

class CSizeComboBox;

// A number field that hands Tab and Shift+Tab to its combo box.
class CSizeFieldEdit : public CEdit {
    FW_DECLARE_MESSAGE_MAP()
public:
    CSizeComboBox* m_pOwner = nullptr;

protected:
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT key, UINT repeat, UINT flags);
};

class CSizeComboBox : public CComboBox {
    FW_DECLARE_MESSAGE_MAP()
public:
    enum { ID_WIDTH_EDIT = 59648, ID_HEIGHT_EDIT = 59649, ID_COMBO_EDIT = 1001 };

    // Each field shows its number, "Auto" for 0; the fields' change notices are ignored meanwhile.
    void SetFrameSize(int width, int height);
    // What the two fields hold now (0 for "Auto").
    CIntPair GetFrameSize() const;
    // Tab from the width field goes to the height field, Shift+Tab from the height field back.
    void OnFieldTab(CSizeFieldEdit* field, bool shift);

    CSizeFieldEdit m_widthEdit;
    CSizeFieldEdit m_heightEdit;
    CColorStatic m_separator;
    CString m_separatorText = L"x";

protected:
    void PreSubclassWindow() override;
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM wParam, LPARAM);
    void OnFieldChanged();
    BOOL OnSelChange();

private:
    void CreateFields();
    void Layout();
    HWND ComboEdit() const { return ::GetDlgItem(m_hWnd, ID_COMBO_EDIT); }

    bool m_settingSize = false;
};

// Saving reads the combo's text as "%d x %d"; loading writes it and shows it in the fields.
void DDX_FrameSize(CDataExchange* dx, int id, CIntPair& size);
