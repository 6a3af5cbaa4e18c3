#pragma once
// Where the sibling programs are, and the drawing resources every converter window shares:
// fonts made from the main dialog's font, cursors and image lists.
#include <windows.h>

#include "CDC.h"
#include "CImageList.h"
#include "ModulePaths.h"
#include "SysHelpers.h"
#include "SysImageList.h"

class CAppPaths : public CSysImageList {
public:
    enum { CURSOR_HAND, CURSOR_ARROW, CURSOR_MOVE, CURSOR_REMOVE, CURSOR_COUNT };

    CAppPaths() = default;
    ~CAppPaths() override;

    // The OS version, the system icon lists, the sibling programs under the program folder's
    // "Modules" folder (published for the runners), cursors and image lists; 0 or -1.
    int LocateModules();
    // The five fonts from the dialog's font; 1.
    int CreateFonts(HFONT dialogFont);

    const CString& GetEncoderPath() const { return m_modules.m_encoder; }
    const CString& GetProbePath() const { return m_modules.m_probe; }
    const CString& GetPresetsFolder() const { return m_modules.m_presets; }

    COSVersion m_osVersion;
    int m_visualStyles = 0;
    CFont m_fontNormal;
    CFont m_fontBold;
    CFont m_fontUnderline;
    CFont m_fontLargeBold;
    CFont m_fontHugeLight;
    int m_iTunes = 0;
    CModulePaths m_modules;
    HCURSOR m_cursors[CURSOR_COUNT] = {};
    CImageList m_images12;
    CImageList m_images16;
    CImageList m_images32;

private:
    int CreateImageLists();
};
