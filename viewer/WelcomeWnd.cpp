#include "WelcomeWnd.h"

#include "CWinApp.h"
#include "PlaylistLayout.h"
#include "resource.h"

namespace {
const COLORREF kBackground = RGB(32, 32, 32);
}

FW_BEGIN_MESSAGE_MAP(CWelcomeWnd, CWnd)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnSize(&ThisClass::OnSize),
    FwOnCommand(ID_OPEN_FILES_BUTTON, &ThisClass::OnOpenFiles),
    FwOnCommand(ID_OPEN_FOLDER_BUTTON, &ThisClass::OnOpenFolder),
FW_END_MESSAGE_MAP()

BOOL CWelcomeWnd::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, nullptr, nullptr, style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, rect, parent, id);
}

bool CWelcomeWnd::LoadPicture(CrImage& image, UINT id)
{
    HINSTANCE instance = FwGetResourceHandle();
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(id), L"PNG");
    return found && image.LoadResource(found, CRIMAGE_FORMAT_PNG, instance);
}

bool CWelcomeWnd::MakeButton(CImageButton& button, const wchar_t* text, UINT id, CrImage* images, const wchar_t* tip)
{
    if (!button.Create(text, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 96, 96), this, id))
        return false;
    button.m_crBackground = kBackground;
    button.SetImage(&images[0], &images[1]);
    m_toolTip.AddTool(&button, tip);
    return true;
}

int CWelcomeWnd::OnCreate(LPCREATESTRUCTW)
{
    Default();
    if (!m_toolTip.Create(this, TTS_ALWAYSTIP | TTS_NOPREFIX))
        return -1;
    m_toolTip.SetMaxTipWidth(65535);
    if (!LoadPicture(m_openFilesImages[0], IDP_WELCOME_FILE) || !LoadPicture(m_openFilesImages[1], IDP_WELCOME_FILE_HOVER) ||
        !LoadPicture(m_openFolderImages[0], IDP_WELCOME_FOLDER) ||
        !LoadPicture(m_openFolderImages[1], IDP_WELCOME_FOLDER_HOVER))
        return -1;
    if (!MakeButton(m_openFiles, L"Open Files", ID_OPEN_FILES_BUTTON, m_openFilesImages, L"Open GIF file") ||
        !MakeButton(m_openFolder, L"Open Folder", ID_OPEN_FOLDER_BUTTON, m_openFolderImages, L"Open folder"))
        return -1;
    return 0;
}

BOOL CWelcomeWnd::OnEraseBkgnd(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(client, kBackground);
    return TRUE;
}

void CWelcomeWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type == SIZE_MINIMIZED || cx <= 0 || cy <= 0 || !m_openFiles.GetSafeHwnd() || !m_openFolder.GetSafeHwnd())
        return;
    for (int i = 0; i < 2; i++) {
        const ViewRect r = WelcomeButtonRect(i, cx, cy);
        (i ? m_openFolder : m_openFiles).MoveWindow(r.left, r.top, r.Width(), r.Height());
    }
}

void CWelcomeWnd::OnOpenFiles()
{
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_COMMAND, ID_FILE_OPEN_FILES);
}

void CWelcomeWnd::OnOpenFolder()
{
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_COMMAND, ID_FILE_OPEN_FOLDER);
}

BOOL CWelcomeWnd::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(msg);
    return CWnd::PreTranslateMessage(msg);
}
