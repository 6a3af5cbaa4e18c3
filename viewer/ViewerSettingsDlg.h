#pragma once
// The Settings dialog: thumbnail size and the switches the menus do not reach. The caller fills
// the fields from the settings and stores them back on OK.
#include "CDialog.h"

class CSettingsValues;

class CViewerSettingsDlg : public CDialog {
public:
    explicit CViewerSettingsDlg(CWnd* parent = nullptr);

    UINT m_nThumbnailWidth = 0;
    UINT m_nThumbnailHeight = 0;
    int m_bLoadLastPlaylist = 0;
    int m_bAllowDuplicates = 0;
    int m_bAlwaysShowControlBar = 0;
    int m_bAutoCheckUpdate = 0;
    int m_bAssociateGif = 0;

    // The six fields that come from the settings (the .gif option is the caller's).
    void FillFrom(const CSettingsValues& settings);
    // Stores them back; true when either thumbnail side changed.
    bool StoreTo(CSettingsValues& settings) const;

    void DoDataExchange(CDataExchange* dx) override;
};
