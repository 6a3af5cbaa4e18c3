#include "FormatManagerDlg.h"

#include <algorithm>
#include <vector>

#include "AppFormatCatalog.h"
#include "AppGlobals.h"
#include "MediaFormatCatalog.h"
#include "MediaFormatInfo.h"
#include "PresetSettingsDlg.h"
#include "TalvenaRes.h"

namespace {

constexpr int kGap = 6;
constexpr int kMargin = 10;
constexpr int kCorner = 12;
constexpr UINT kDefaultState = INDEXTOSTATEIMAGEMASK(1);
const int kButtons[] = {IDC_MANAGER_ADD, IDC_MANAGER_DELETE, IDC_MANAGER_EDIT, IDC_MANAGER_DEFAULT, IDC_MANAGER_UP,
                        IDC_MANAGER_DOWN, IDC_MANAGER_RESET, IDC_MANAGER_RESET_ALL};

bool IsGroup(const CMediaCatalogItem* entry) { return entry && (entry->m_flags & MEDIA_ITEM_GROUP) != 0; }

// The preset's place in its format's array, or the end.
std::vector<std::unique_ptr<CMediaPreset>>::iterator FindPreset(CMediaFormatInfo& format, const CMediaPreset* preset)
{
    return std::find_if(format.m_presets.begin(), format.m_presets.end(),
                        [preset](const std::unique_ptr<CMediaPreset>& p) { return p.get() == preset; });
}

} // namespace

FW_BEGIN_MESSAGE_MAP(CFormatManagerDlg, CDialog)
    FwOnNotify(TVN_SELCHANGEDW, IDC_MANAGER_TREE, &ThisClass::OnTreeSelChanged),
    FwOnNotify(LVN_ITEMCHANGED, IDC_MANAGER_LIST, &ThisClass::OnListChanged),
    FwOnNotify(NM_DBLCLK, IDC_MANAGER_LIST, &ThisClass::OnListDblClk),
    FwOnCommand(IDC_MANAGER_ADD, &ThisClass::OnAddPreset),
    FwOnCommand(IDC_MANAGER_DELETE, &ThisClass::OnDelete),
    FwOnCommand(IDC_MANAGER_EDIT, &ThisClass::OnEdit),
    FwOnCommand(IDC_MANAGER_DEFAULT, &ThisClass::OnDefault),
    FwOnCommand(IDC_MANAGER_UP, &ThisClass::OnMoveUp),
    FwOnCommand(IDC_MANAGER_DOWN, &ThisClass::OnMoveDown),
    FwOnCommand(IDC_MANAGER_RESET, &ThisClass::OnReset),
    FwOnCommand(IDC_MANAGER_RESET_ALL, &ThisClass::OnResetAll),
    FwOnSize(&ThisClass::OnSize),
    FwOnMessage(WM_GETMINMAXINFO, &ThisClass::OnGetMinMaxInfo),
    FwOnMouse(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
FW_END_MESSAGE_MAP()

CFormatManagerDlg::CFormatManagerDlg(CWnd* parent) : CDialog(IDD_FORMAT_MANAGER, parent) {}

void CFormatManagerDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_MANAGER_TREE, m_tree);
    DDX_Control(dx, IDC_MANAGER_LIST, m_list);
}

BOOL CFormatManagerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_tree.ModifyStyle(0, TVS_CHECKBOXES);
    if (m_defaultMark.Create(IDB_DEFAULT_PRESET, 16, 1, RGB(255, 255, 255)))
        m_list.SetImageList(m_defaultMark, LVSIL_STATE);
    if (m_tips.Create(this)) {
        m_tips.SetMaxTipWidth(0xFFFF);
        m_tips.AddTool(&m_tree, L"Formats\n- Check formats that are frequently used\n- Uncheck formats that are rarely or never used");
        m_tips.AddTool(GetDlgItem(IDC_MANAGER_DEFAULT), L"Set as default");
        m_tips.AddTool(GetDlgItem(IDC_MANAGER_ADD), L"Add a new preset");
        m_tips.AddTool(GetDlgItem(IDC_MANAGER_DELETE), L"Delete selected preset(s)");
        m_tips.AddTool(GetDlgItem(IDC_MANAGER_EDIT), L"Edit selected preset");
        m_tips.Activate(TRUE);
    }
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_INFOTIP);
    m_list.InsertColumn(0, L"Name", LVCFMT_LEFT, 140);
    m_list.InsertColumn(1, L"Settings", LVCFMT_LEFT, 820);
    FillTree();
    CRect client;
    GetClientRect(&client);
    Layout(client.Width(), client.Height());
    return TRUE;
}

// ---- the tree of formats ------------------------------------------------------------------------

void CFormatManagerDlg::FillTree()
{
    m_tree.DeleteAllItems();
    if (!g_pFormatCatalog)
        return;
    HTREEITEM first = nullptr;
    for (const auto& group : g_pFormatCatalog->m_groups) {
        const HTREEITEM groupItem = m_tree.InsertItem(group->m_name);
        m_tree.SetItemData(groupItem, reinterpret_cast<DWORD_PTR>(static_cast<CMediaCatalogItem*>(group.get())));
        TreeView_SetCheckState(m_tree.m_hWnd, groupItem, !(group->m_flags & MEDIA_ITEM_HIDDEN));
        for (const auto& format : group->m_formats) {
            const HTREEITEM item = m_tree.InsertItem(format->m_name + L" (" + format->m_formatName + L")", groupItem);
            m_tree.SetItemData(item, reinterpret_cast<DWORD_PTR>(static_cast<CMediaCatalogItem*>(format.get())));
            TreeView_SetCheckState(m_tree.m_hWnd, item, !(format->m_flags & MEDIA_ITEM_HIDDEN));
            if (!first)
                first = item;
        }
        m_tree.Expand(groupItem, TVE_EXPAND);
    }
    if (first)
        m_tree.SelectItem(first);
    else
        FillList();
}

CMediaFormatInfo* CFormatManagerDlg::SelectedFormat() const
{
    const HTREEITEM item = m_tree.GetSelectedItem();
    auto* entry = item ? reinterpret_cast<CMediaCatalogItem*>(m_tree.GetItemData(item)) : nullptr;
    return entry && !IsGroup(entry) ? static_cast<CMediaFormatInfo*>(entry) : nullptr;
}

void CFormatManagerDlg::OnTreeSelChanged(NMHDR*, LRESULT* result)
{
    StoreList();
    FillList();
    *result = 0;
}

// ---- the preset list ------------------------------------------------------------------------------

CMediaPreset* CFormatManagerDlg::RowPreset(int row) const
{
    return row >= 0 && row < m_list.GetItemCount() ? reinterpret_cast<CMediaPreset*>(m_list.GetItemData(row)) : nullptr;
}

void CFormatManagerDlg::SetRow(int row, const CMediaPreset& preset)
{
    CString summary;
    preset.GetSummary(summary);
    m_list.SetItemText(row, 0, preset.m_settings.name);
    m_list.SetItemText(row, 1, summary);
}

void CFormatManagerDlg::FillList()
{
    m_list.DeleteAllItems();
    m_listed = SelectedFormat();
    m_list.EnableWindow(m_listed != nullptr);
    if (m_listed) {
        for (const auto& preset : m_listed->m_presets) {
            const int row = m_list.InsertItem(m_list.GetItemCount(), preset->m_settings.name);
            m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(preset.get()));
            SetRow(row, *preset);
        }
        MarkDefault(m_listed->m_defaultPreset);
    }
    UpdateButtons();
}

// The list's order and mark become the format's preset order and default.
void CFormatManagerDlg::StoreList()
{
    if (!m_listed)
        return;
    std::vector<std::unique_ptr<CMediaPreset>> ordered;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        auto found = FindPreset(*m_listed, RowPreset(row));
        if (found != m_listed->m_presets.end())
            ordered.push_back(std::move(*found));
    }
    for (auto& rest : m_listed->m_presets)
        if (rest)
            ordered.push_back(std::move(rest));
    m_listed->m_presets.assign(std::make_move_iterator(ordered.begin()), std::make_move_iterator(ordered.end()));
    const int marked = MarkedRow();
    m_listed->m_defaultPreset = marked >= 0 ? marked : 0;
}

void CFormatManagerDlg::MarkDefault(int row)
{
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        m_list.SetItemState(i, i == row ? kDefaultState : 0, LVIS_STATEIMAGEMASK);
}

int CFormatManagerDlg::MarkedRow() const
{
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (m_list.GetItemState(row, LVIS_STATEIMAGEMASK) == kDefaultState)
            return row;
    return -1;
}

bool CFormatManagerDlg::InUse(const CMediaPreset* preset) const
{
    return preset && m_isPresetInUse && m_isPresetInUse(preset);
}

bool CFormatManagerDlg::FormatInUse(const CMediaFormatInfo& format) const
{
    for (const auto& preset : format.m_presets)
        if (InUse(preset.get()))
            return true;
    return InUse(format.m_customPreset.get());
}

void CFormatManagerDlg::UpdateButtons()
{
    const int first = m_list.GetNextItem(-1, LVNI_SELECTED);
    const int count = m_list.GetItemCount();
    bool deletable = false;
    for (int row = first; row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED))
        deletable = deletable || !InUse(RowPreset(row));
    bool anyInUse = false;
    if (g_pFormatCatalog)
        for (const auto& group : g_pFormatCatalog->m_groups)
            for (const auto& format : group->m_formats)
                anyInUse = anyInUse || FormatInUse(*format);
    GetDlgItem(IDC_MANAGER_EDIT)->EnableWindow(first >= 0);
    GetDlgItem(IDC_MANAGER_DEFAULT)->EnableWindow(first >= 0);
    GetDlgItem(IDC_MANAGER_DELETE)->EnableWindow(deletable);
    GetDlgItem(IDC_MANAGER_UP)->EnableWindow(first > 0);
    GetDlgItem(IDC_MANAGER_DOWN)->EnableWindow(first >= 0 && first < count - 1);
    GetDlgItem(IDC_MANAGER_ADD)->EnableWindow(m_listed != nullptr);
    GetDlgItem(IDC_MANAGER_RESET)->EnableWindow(m_listed != nullptr && !FormatInUse(*m_listed));
    GetDlgItem(IDC_MANAGER_RESET_ALL)->EnableWindow(!anyInUse);
}

// ---- the buttons ------------------------------------------------------------------------------------

void CFormatManagerDlg::OnAddPreset()
{
    if (!m_listed)
        return;
    const int selected = m_list.GetNextItem(-1, LVNI_SELECTED);
    const CMediaPreset* source = RowPreset(selected);
    if (!source && m_listed->m_defaultPreset >= 0 && m_listed->m_defaultPreset < static_cast<int>(m_listed->m_presets.size()))
        source = m_listed->m_presets[static_cast<size_t>(m_listed->m_defaultPreset)].get();
    auto preset = std::make_unique<CMediaPreset>(m_listed);
    MEDIA_PRESET_SETTINGS values = source ? source->m_settings : MEDIA_PRESET_SETTINGS{};
    SetPresetText(values.name, L"New Preset");
    preset->SetSettings(values);
    CPresetSettingsDlg edit(preset.get(), this);
    if (edit.DoModal() != IDOK)
        return;
    const int row = m_list.InsertItem(selected >= 0 ? selected + 1 : m_list.GetItemCount(), preset->m_settings.name);
    m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(preset.get()));
    SetRow(row, *preset);
    m_listed->m_presets.push_back(std::move(preset));
    m_list.SetItemState(-1, 0, LVIS_SELECTED);
    m_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_modified = 1;
    UpdateButtons();
}

void CFormatManagerDlg::OnEdit()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    CMediaPreset* preset = RowPreset(row);
    if (!preset)
        return;
    CPresetSettingsDlg edit(preset, this);
    if (edit.DoModal() != IDOK)
        return;
    SetRow(row, *preset);
    m_modified = 1;
}

void CFormatManagerDlg::OnDelete()
{
    if (!m_listed)
        return;
    std::vector<int> rows;
    for (int row = m_list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = m_list.GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    const int marked = MarkedRow();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        CMediaPreset* preset = RowPreset(*it);
        if (InUse(preset))
            continue;
        m_list.DeleteItem(*it);
        auto found = FindPreset(*m_listed, preset);
        if (found != m_listed->m_presets.end())
            m_listed->m_presets.erase(found);
        m_modified = 1;
    }
    if (MarkedRow() < 0 && marked >= 0)
        MarkDefault(0);
    UpdateButtons();
}

void CFormatManagerDlg::OnDefault()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return;
    MarkDefault(row);
    m_modified = 1;
}

void CFormatManagerDlg::SwapRows(int a, int b)
{
    const DWORD_PTR dataA = m_list.GetItemData(a), dataB = m_list.GetItemData(b);
    const UINT stateA = m_list.GetItemState(a, LVIS_STATEIMAGEMASK), stateB = m_list.GetItemState(b, LVIS_STATEIMAGEMASK);
    m_list.SetItemData(a, dataB);
    m_list.SetItemData(b, dataA);
    m_list.SetItemState(a, stateB, LVIS_STATEIMAGEMASK);
    m_list.SetItemState(b, stateA, LVIS_STATEIMAGEMASK);
    SetRow(a, *RowPreset(a));
    SetRow(b, *RowPreset(b));
    m_list.SetItemState(a, 0, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.SetItemState(b, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(b, FALSE);
    m_modified = 1;
}

void CFormatManagerDlg::OnMoveUp()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row > 0)
        SwapRows(row, row - 1);
}

void CFormatManagerDlg::OnMoveDown()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row >= 0 && row < m_list.GetItemCount() - 1)
        SwapRows(row, row + 1);
}

void CFormatManagerDlg::OnReset()
{
    if (!m_listed || FormatInUse(*m_listed))
        return;
    m_listed->Reset();
    FillList();
    m_modified = 1;
}

void CFormatManagerDlg::OnResetAll()
{
    if (!g_pFormatCatalog)
        return;
    StoreList();
    for (const auto& group : g_pFormatCatalog->m_groups)
        for (const auto& format : group->m_formats)
            if (FormatInUse(*format))
                return;
    for (const auto& group : g_pFormatCatalog->m_groups)
        for (const auto& format : group->m_formats)
            format->Reset();
    FillList();
    m_modified = 1;
}

// ---- window -------------------------------------------------------------------------------------------

void CFormatManagerDlg::Layout(int width, int height)
{
    CWnd* close = GetDlgItem(IDOK);
    if (!close || !m_tree.m_hWnd)
        return;
    CRect button;
    close->GetWindowRect(&button);
    const int buttonWidth = button.Width(), buttonHeight = button.Height();
    const int buttonsLeft = width - kMargin - buttonWidth;
    const int listsBottom = height - kMargin;
    const int treeWidth = std::max(120, (buttonsLeft - 3 * kGap) / 3);
    m_tree.MoveWindow(kMargin, kMargin + 14, treeWidth, listsBottom - kMargin - 14);
    const int listLeft = kMargin + treeWidth + kGap;
    m_list.MoveWindow(listLeft, kMargin + 14, buttonsLeft - kGap - listLeft, listsBottom - kMargin - 14);
    if (CWnd* label = GetDlgItem(IDC_MANAGER_PRESETS_LABEL))
        label->MoveWindow(listLeft, kMargin, 100, 12);
    int y = kMargin + 14;
    for (int id : kButtons) {
        GetDlgItem(id)->MoveWindow(buttonsLeft, y, buttonWidth, buttonHeight);
        y += buttonHeight + kGap;
    }
    close->MoveWindow(buttonsLeft, height - kMargin - buttonHeight, buttonWidth, buttonHeight);
    Invalidate();
}

void CFormatManagerDlg::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED)
        Layout(cx, cy);
}

LRESULT CFormatManagerDlg::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize.x = 600;
    info->ptMinTrackSize.y = 400;
    return 0;
}

void CFormatManagerDlg::OnLButtonDown(UINT, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    const bool corner = point.x >= client.right - kCorner && point.y >= client.bottom - kCorner;
    ReleaseCapture();
    SendMessage(WM_NCLBUTTONDOWN, corner ? HTBOTTOMRIGHT : HTCAPTION, MAKELPARAM(point.x, point.y));
}

void CFormatManagerDlg::Close()
{
    StoreList();
    for (HTREEITEM group = m_tree.GetChildItem(TVI_ROOT); group; group = m_tree.GetNextSiblingItem(group)) {
        for (HTREEITEM item = group; item; item = item == group ? m_tree.GetChildItem(group) : m_tree.GetNextSiblingItem(item)) {
            auto* entry = reinterpret_cast<CMediaCatalogItem*>(m_tree.GetItemData(item));
            if (!entry)
                continue;
            if (TreeView_GetCheckState(m_tree.m_hWnd, item) == 1)
                entry->m_flags &= ~MEDIA_ITEM_HIDDEN;
            else
                entry->m_flags |= MEDIA_ITEM_HIDDEN;
        }
    }
    if (g_pFormatCatalog) {
        g_pFormatCatalog->m_modified = 1;
        g_pFormatCatalog->Save();
    }
    EndDialog(IDOK);
}
