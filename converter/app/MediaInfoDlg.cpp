#include "MediaInfoDlg.h"

#include "AppGlobals.h"
#include "AppPaths.h"
#include "ConvertItem.h"
#include "MediaInfoRows.h"
#include "TalvenaRes.h"

namespace {

constexpr int kLabelWidth = 80;
constexpr COLORREF kHeadingBackground = 0xF0F0F0;

} // namespace

FW_BEGIN_MESSAGE_MAP(CMediaInfoDlg, CDialog)
    FwOnNotify(NM_CUSTOMDRAW, IDC_INFO_INPUT_LIST, &ThisClass::OnListCustomDraw),
    FwOnNotify(NM_CUSTOMDRAW, IDC_INFO_OUTPUT_LIST, &ThisClass::OnListCustomDraw),
FW_END_MESSAGE_MAP()

CMediaInfoDlg::CMediaInfoDlg(const CConvertItem* item, CWnd* parent) : CDialog(IDD_MEDIA_INFO, parent), m_item(item) {}

void CMediaInfoDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_INFO_INPUT_LIST, m_inputList);
    DDX_Control(dx, IDC_INFO_OUTPUT_LIST, m_outputList);
}

BOOL CMediaInfoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpList(m_inputList, L"Input");
    SetUpList(m_outputList, L"Output");
    if (m_item) {
        FillList(m_inputList, IDC_INFO_INPUT_PATH, m_item->m_settings.m_source,
                 (m_item->m_flags & ITEM_SOURCE_PROBED) ? &m_item->m_inputInfo : nullptr);
        FillList(m_outputList, IDC_INFO_OUTPUT_PATH, m_item->m_outputPath,
                 (m_item->m_flags & ITEM_OUTPUT_PROBED) ? &m_item->m_outputInfo : nullptr);
    }
    return TRUE;
}

void CMediaInfoDlg::SetUpList(CListCtrl& list, const wchar_t* title)
{
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    CRect client;
    list.GetClientRect(&client);
    list.InsertColumn(0, L"", LVCFMT_LEFT, kLabelWidth);
    list.InsertColumn(1, title, LVCFMT_LEFT, client.Width() - kLabelWidth);
}

void CMediaInfoDlg::FillList(CListCtrl& list, int pathId, const CString& path, const CMediaInfo* info)
{
    SetDlgItemText(pathId, path);
    if (!info)
        return;
    for (const MediaInfoRow& row : MediaInfoRows(path, *info)) {
        const int index = list.InsertItem(list.GetItemCount(), row.label);
        list.SetItemText(index, 1, row.value);
    }
    list.EnsureVisible(0, FALSE);
}

void CMediaInfoDlg::OnListCustomDraw(NMHDR* header, LRESULT* result)
{
    auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
    *result = CDRF_DODEFAULT;
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        *result = CDRF_NOTIFYITEMDRAW;
    } else if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && IsMediaInfoHeading(static_cast<int>(draw->nmcd.dwItemSpec))) {
        if (g_pAppPaths && g_pAppPaths->m_fontBold.GetSafeHandle())
            ::SelectObject(draw->nmcd.hdc, g_pAppPaths->m_fontBold.GetSafeHandle());
        draw->clrTextBk = kHeadingBackground;
        *result = CDRF_NEWFONT;
    }
}
