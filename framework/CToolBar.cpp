#include "CToolBar.h"

#include "CWinApp.h"
#include "ToolBarTemplate.h"

namespace {

// A button's side of the command-update conversation.
class CToolCmdUI : public CCmdUI {
public:
    CToolBarCtrl* m_pBar = nullptr;

    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        m_pBar->EnableButton(m_nID, on);
    }
    void SetCheck(int check) override { m_pBar->CheckButton(m_nID, check != 0); }
    void SetRadio(BOOL on) override { SetCheck(on ? 1 : 0); }
    void SetText(const wchar_t*) override {}
};

} // namespace

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    if (!CToolBarCtrl::Create(WS_CHILD | style, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    SetButtonStructSize();
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT resourceId)
{
    HINSTANCE instance = FwGetResourceHandle();
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(kToolBarResourceType));
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    ToolBarTemplate bar;
    if (!data || !ParseToolBarTemplate(data, ::SizeofResource(instance, found), bar))
        return FALSE;

    SetBitmapSize(CSize(bar.imageWidth, bar.imageHeight));
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (unsigned command : bar.commands) {
        TBBUTTON button{};
        button.idCommand = static_cast<int>(command);
        button.iString = -1;
        if (command == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(button);
    }
    if (!buttons.empty() && !AddButtons(static_cast<int>(buttons.size()), buttons.data()))
        return FALSE;
    AutoSize();
    return TRUE;
}

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button{};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return 0;
    return static_cast<UINT>(button.idCommand);
}

BOOL CToolBar::SetButtonStyle(UINT id, BYTE style)
{
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE;
    info.fsStyle = style;
    return SetButtonInfo(id, &info);
}

BYTE CToolBar::GetButtonStyle(UINT id) const
{
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE;
    return GetButtonInfo(id, &info) ? info.fsStyle : 0;
}

BOOL CToolBar::SetDropDownButton(UINT id, BOOL whole)
{
    return SetButtonStyle(id, static_cast<BYTE>(GetButtonStyle(id) | (whole ? BTNS_WHOLEDROPDOWN : BTNS_DROPDOWN)));
}

BOOL CToolBar::SetButtonText(UINT id, const wchar_t* text)
{
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_STYLE;
    info.fsStyle = GetButtonStyle(id) | BTNS_SHOWTEXT | BTNS_AUTOSIZE;
    info.pszText = const_cast<wchar_t*>(text ? text : L"");
    BOOL done = SetButtonInfo(id, &info);
    AutoSize();
    return done;
}

CString CToolBar::GetButtonText(UINT id) const
{
    int length = static_cast<int>(SendMessage(TB_GETBUTTONTEXTW, id, 0));
    if (length <= 0)
        return CString();
    CString text;
    SendMessage(TB_GETBUTTONTEXTW, id, reinterpret_cast<LPARAM>(text.GetBuffer(length + 1)));
    text.ReleaseBuffer(length);
    return text;
}

void CToolBar::UpdateButtons(CCmdTarget* target, BOOL disableIfNoHandler)
{
    CToolCmdUI state;
    state.m_pBar = this;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetButtonCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        TBBUTTON button{};
        SendMessage(TB_GETBUTTON, state.m_nIndex, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP)
            continue;
        state.m_nID = static_cast<UINT>(button.idCommand);
        state.DoUpdate(target, disableIfNoHandler);
    }
}
