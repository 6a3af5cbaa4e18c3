#pragma once
// The frame's drawn menu bar on the dark look, with the playlist's file count at its right end.
#include "MenuBar.h"

class CMainMenuBar : public CMenuBar {
public:
    CMainMenuBar();

    void SetFileCount(int count);
    void DrawBackground(CDC* dc) override;

private:
    CString m_strFileCount;
};
