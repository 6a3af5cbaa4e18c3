#include "ViewerSettingsDlg.h"

#include "SettingsValues.h"
#include "resource.h"

CViewerSettingsDlg::CViewerSettingsDlg(CWnd* parent) : CDialog(IDD_VIEWER_SETTINGS, parent) {}

void CViewerSettingsDlg::FillFrom(const CSettingsValues& settings)
{
    m_nThumbnailWidth = UINT(settings.ThumbnailCx);
    m_nThumbnailHeight = UINT(settings.ThumbnailCy);
    m_bLoadLastPlaylist = settings.LoadLastPlaylist;
    m_bAllowDuplicates = settings.AllowDuplicates;
    m_bAlwaysShowControlBar = settings.AlwaysShowControlBar;
    m_bAutoCheckUpdate = settings.AutoCheckUpdate;
}

bool CViewerSettingsDlg::StoreTo(CSettingsValues& settings) const
{
    settings.LoadLastPlaylist = m_bLoadLastPlaylist;
    settings.AllowDuplicates = m_bAllowDuplicates;
    settings.AlwaysShowControlBar = m_bAlwaysShowControlBar;
    settings.AutoCheckUpdate = m_bAutoCheckUpdate;
    const bool sizeChanged = settings.ThumbnailCx != int(m_nThumbnailWidth) || settings.ThumbnailCy != int(m_nThumbnailHeight);
    settings.ThumbnailCx = int(m_nThumbnailWidth);
    settings.ThumbnailCy = int(m_nThumbnailHeight);
    return sizeChanged;
}

void CViewerSettingsDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    // The bounds the settings are read back with: a size accepted here survives the next start.
    DDX_Text(dx, IDC_THUMBNAIL_WIDTH, m_nThumbnailWidth);
    DDV_MinMaxUInt(dx, m_nThumbnailWidth, kThumbnailWidthMin, kThumbnailWidthMax);
    DDX_Text(dx, IDC_THUMBNAIL_HEIGHT, m_nThumbnailHeight);
    DDV_MinMaxUInt(dx, m_nThumbnailHeight, kThumbnailHeightMin, kThumbnailHeightMax);
    DDX_Check(dx, IDC_RELOAD_LAST_PLAYLIST, m_bLoadLastPlaylist);
    DDX_Check(dx, IDC_ALLOW_DUPLICATES, m_bAllowDuplicates);
    DDX_Check(dx, IDC_SHOW_BAR_IN_FULL_SCREEN, m_bAlwaysShowControlBar);
    DDX_Check(dx, IDC_AUTO_CHECK_UPDATES, m_bAutoCheckUpdate);
    DDX_Check(dx, IDC_ASSOCIATE_GIF, m_bAssociateGif);
}
