#include "AppPaths.h"

#include "CWinApp.h"
#include "ITunes.h"
#include "TalvenaRes.h"
#include "VisualTheme.h"

namespace {

constexpr COLORREF kMaskColour = RGB(255, 0, 255);

bool CreateList(CImageList& list, UINT bitmapId, int side, UINT depth, int grow)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(bitmapId) || !list.Create(side, side, depth | ILC_MASK, 0, grow))
        return false;
    return list.Add(&bitmap, kMaskColour) >= 0;
}

void CreateVariant(CFont& font, LOGFONTW face, LONG weight, BOOL underline, LONG height)
{
    face.lfWeight = weight;
    face.lfUnderline = static_cast<BYTE>(underline);
    face.lfHeight = height;
    font.DeleteObject();
    font.CreateFontIndirect(&face);
}

} // namespace

CAppPaths::~CAppPaths()
{
    for (HCURSOR& cursor : m_cursors) {
        if (cursor)
            DestroyCursor(cursor);
        cursor = nullptr;
    }
}

int CAppPaths::LocateModules()
{
    m_osVersion.Query();
    m_visualStyles = IsVisualThemeActive() ? 1 : 0;
    if (!Load())
        return -1;
    m_iTunes = IsITunesInstalled() ? 1 : 0;
    // Full paths whether or not the programs are there: a missing one fails when it is run.
    m_modules = CModulePaths::Locate(GetAppFolder());
    SetModulePaths(m_modules);

    HINSTANCE instance = FwGetResourceHandle();
    m_cursors[CURSOR_HAND] = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_CURSOR_HAND));
    m_cursors[CURSOR_ARROW] = static_cast<HCURSOR>(CopyImage(LoadCursorW(nullptr, IDC_ARROW), IMAGE_CURSOR, 0, 0, 0));
    m_cursors[CURSOR_MOVE] = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_CURSOR_MOVE));
    m_cursors[CURSOR_REMOVE] = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_CURSOR_REMOVE));
    return CreateImageLists();
}

int CAppPaths::CreateImageLists()
{
    if (!CreateList(m_images12, IDB_ICONS12, 12, ILC_COLOR24, 1) ||
        !CreateList(m_images16, IDB_ICONS16, 16, ILC_COLOR32, 2) ||
        !CreateList(m_images32, IDB_ICONS32, 32, ILC_COLOR32, 2))
        return -1;
    return 0;
}

int CAppPaths::CreateFonts(HFONT dialogFont)
{
    LOGFONTW face{};
    if (!dialogFont)
        dialogFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    GetObjectW(dialogFont, sizeof(face), &face);
    const LONG height = face.lfHeight;
    CreateVariant(m_fontNormal, face, face.lfWeight, face.lfUnderline, height);
    CreateVariant(m_fontBold, face, FW_BOLD, FALSE, height);
    CreateVariant(m_fontUnderline, face, face.lfWeight, TRUE, height);
    CreateVariant(m_fontLargeBold, face, FW_BOLD, FALSE, height + height / 3);
    CreateVariant(m_fontHugeLight, face, FW_THIN, FALSE, height * 2);
    return 1;
}
