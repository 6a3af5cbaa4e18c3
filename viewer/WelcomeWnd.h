#pragma once
// What the main window shows while the playlist is empty: two large picture buttons, Open Files
// and Open Folder, centred on the dark background.
#include "CDC.h"
#include "Controls.h"
#include "CrImage.h"
#include "ImageButton.h"

class CWelcomeWnd : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    enum { ID_OPEN_FILES_BUTTON = 10, ID_OPEN_FOLDER_BUTTON = 11 };

    CToolTipCtrl m_toolTip;
    CImageButton m_openFiles;
    CImageButton m_openFolder;
    CrImage m_openFilesImages[2];    // normal, hover
    CrImage m_openFolderImages[2];

    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnOpenFiles();
    void OnOpenFolder();

private:
    bool LoadPicture(CrImage& image, UINT id);
    bool MakeButton(CImageButton& button, const wchar_t* text, UINT id, CrImage* images, const wchar_t* tip);
};
