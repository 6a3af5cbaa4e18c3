#include "PlaylistItem.h"

#include "NumberFormat.h"
#include "SettingsValues.h"
#include "ViewerFiles.h"
#include "ViewGeometry.h"

void CFrameArray::DeleteAll()
{
    for (CFrameSlot* slot : m_slots)
        delete slot;
    m_slots.clear();
}

void CFrameArray::ResetSlots()
{
    for (CFrameSlot* slot : m_slots) {
        if (slot->m_pFiltered) {
            delete slot->m_pFiltered;
            slot->m_pFiltered = nullptr;
            slot->m_nState = SLOT_NONE;
        }
    }
}

void NormaliseFrame(CrImage& frame)
{
    if (!(frame.IsIndexed() && frame.IsGrayScale())) {
        frame.IncreaseBpp(24);
        frame.SetTransIndex(-1);
    }
    if (frame.GetFrameDelay() == 0)
        frame.SetFrameDelay(10);
}

void ApplyImageFilters(CrImage& image, bool flipHorz, bool flipVert, bool rotateLeft, bool rotateRight, bool negate,
                       bool grayScale)
{
    if (flipHorz)
        image.Mirror();
    if (flipVert)
        image.Flip();
    // Both turns ticked mean a half turn (one after the other would undo each other).
    if (rotateLeft && rotateRight) {
        image.Mirror();
        image.Flip();
    } else if (rotateLeft) {
        image.RotateLeft();
    } else if (rotateRight) {
        image.RotateRight();
    }
    if (negate)
        image.Negative();
    if (grayScale)
        image.GrayScale();
}

CPlaylistItem::CPlaylistItem() = default;

CPlaylistItem::~CPlaylistItem()
{
    CancelLoading();
    m_slots.DeleteAll();
}

int CPlaylistItem::Open(const CString& path)
{
    if (!ViewerFiles::FileExists(path))
        return -1;
    m_strPath = path;
    return LoadInfo(true);
}

int CPlaylistItem::OpenOrExplain(const CString& path)
{
    if (Open(path) == 0)
        return 0;
    if (m_strPath.IsEmpty()) {
        m_strPath = path;
        MarkUnreadable();
    }
    return -1;
}

void CPlaylistItem::MarkUnreadable()
{
    // The entry still says which file it is and what is wrong with it.
    m_strName = ViewerFiles::FileNamePart(m_strPath);
    m_nProblem = DiagnoseUnplayableFile(m_strPath);
    State = ITEM_UNREADABLE;
}

int CPlaylistItem::LoadInfo(bool force)
{
    // An unreadable file keeps the empty texts that the failed read left.
    if (ReadInfo(force) < 0)
        return -1;
    UpdateDescription();
    return 0;
}

bool CPlaylistItem::HasImplausibleFacts() const
{
    return Width < 0 || Height < 0 || Width > kMaxStoredSide || Height > kMaxStoredSide || FrameCount < 0 ||
           FrameCount > kMaxStoredFrameCount || Size < 0 || Duration < 0;
}

int CPlaylistItem::ReadInfo(bool force)
{
    // Facts taken from a playlist file count only while they are plausible and the file still has
    // the size they were read with; otherwise the GIF itself is read again.
    if (State == ITEM_READY && !force && !HasImplausibleFacts() && ViewerFiles::FileSize(m_strPath) == Size)
        return 1;
    Reset();
    State = ITEM_READING;

    CrImage image;
    if (image.Load(m_strPath, CRIMAGE_FORMAT_GIF) || image.Load(m_strPath, CRIMAGE_FORMAT_UNKNOWN)) {
        Size = ViewerFiles::FileSize(m_strPath);
        if (Size > 0) {
            Width = image.GetWidth();
            Height = image.GetHeight();
            if (Width > 0 && Height > 0) {
                FrameCount = image.GetNumFrames();
                if (FrameCount > 0) {
                    if (image.IsTransparent()) {
                        CrRgbQuad c = image.GetTransColor();
                        m_nBackColor = int(uint32_t(c.rgbRed) | uint32_t(c.rgbGreen) << 8 | uint32_t(c.rgbBlue) << 16);
                    }
                    if (!(image.IsIndexed() && image.IsGrayScale())) {
                        image.IncreaseBpp(24);
                        image.SetTransIndex(-1);
                    }
                    ScaleToThumbnailSize(image, m_thumbnail);
                    State = ITEM_READY;
                    return 0;
                }
            }
        }
    }
    MarkUnreadable();
    return -1;
}

void CPlaylistItem::ScaleToThumbnailSize(CrImage& source, CrImage& target) const
{
    const CSettingsValues& settings = ViewerSettings();
    ViewSize box{settings.ThumbnailCx, settings.ThumbnailCy};
    ViewSize size{source.GetWidth(), source.GetHeight()};
    if (box.cx < size.cx || box.cy < size.cy) {
        ViewSize fitted = FitThumbnail(size, box);
        source.Thumbnail(fitted.cx, fitted.cy, CrRgbQuad{0, 0, 0, 0}, &target);
    } else if (&source != &target) {
        target.Transfer(source, false);
    }
}

int CPlaylistItem::EnsureThumbnail()
{
    if (m_thumbnail.IsValid())
        return 1;
    if (!ThumbnailFile.IsEmpty() && ViewerFiles::FileExists(ThumbnailFile) &&
        (m_thumbnail.Load(ThumbnailFile, CRIMAGE_FORMAT_BMP) || m_thumbnail.Load(ThumbnailFile, CRIMAGE_FORMAT_UNKNOWN))) {
        m_display.Copy(m_thumbnail);
        return 0;
    }
    return LoadInfo(true);
}

void CPlaylistItem::SetResolutionText()
{
    bool turned = (RotateLeft != 0) != (RotateRight != 0);
    m_strResolution.Format(L"%dx%d", turned ? Height : Width, turned ? Width : Height);
}

int CPlaylistItem::UpdateDescription()
{
    m_strName = ViewerFiles::FileNamePart(m_strPath);
    m_strSize.Format(L"%s KB", FormatInt64Grouped(Size / 1024).GetString());
    m_strFrameCount.Format(L"%d frames", FrameCount);
    m_strResolution.Format(L"%dx%d", Width, Height);
    m_strDuration = Duration > 0 ? FormatDuration(Duration, false, false, false) : CString();
    m_display.Copy(m_thumbnail);
    m_icon.Destroy();
    m_slots.DeleteAll();
    int slots = FrameCount > 0 && FrameCount <= kMaxStoredFrameCount ? FrameCount : 0;
    for (int i = 0; i < slots; i++)
        m_slots.Add(new CFrameSlot);
    return 0;
}

void CPlaylistItem::Reset()
{
    // The path, the thumbnail file and the filters the user chose stay: a re-read must not lose them.
    Width = Height = FrameCount = Duration = LoopCount = 0;
    Size = 0;
    m_nBackColor = -1;
    Comment.Empty();
    m_thumbnail.Destroy();
    m_display.Destroy();
    m_icon.Destroy();
    m_strName.Empty();
    m_strResolution.Empty();
    m_strFrameCount.Empty();
    m_strDuration.Empty();
    m_strSize.Empty();
    m_frames.Destroy();
    m_frames.DestroyFrames();
    m_slots.DeleteAll();
    State = ITEM_NEW;
    m_nLoadStatus = LOAD_IDLE;
    m_nProblem = PROBLEM_NONE;
}

void CPlaylistItem::OnFramesFound()
{
    for (int i = 0; i < m_slots.GetSize(); i++)
        m_slots.GetAt(i)->m_nState = SLOT_PENDING;
}

void CPlaylistItem::OnFrameDecoded(int index)
{
    // A report past the slots (the file changed after its info was read) is ignored.
    CFrameSlot* slot = m_slots.GetAt(index);
    CrImage* frame = m_frames.GetFrame(index);
    if (!slot)
        return;
    // The frame is prepared before its slot says "decoded", so painting never sees it change.
    if (frame)
        NormaliseFrame(*frame);
    slot->m_nState = SLOT_DECODED;
}

void CPlaylistItem::OnLoadFinished(bool cancelled)
{
    for (int i = 0; i < m_slots.GetSize(); i++) {
        CFrameSlot* slot = m_slots.GetAt(i);
        if (slot->m_nState != SLOT_DECODED)
            slot->m_nState = cancelled ? SLOT_CANCELLED : SLOT_BAD;
    }
}

int CPlaylistItem::LoadFrames(ILoadCallback* callback, const std::atomic<int>* cancel)
{
    FreeFrames(true);
    m_nLoadStatus = LOAD_LOADING;
    m_frames.SetRetrieveAllFrames(true);
    int result = m_frames.LoadFrames(m_strPath, callback);
    bool cancelled = cancel && *cancel != 0;
    if (result == 0 && cancelled)
        result = 1;
    if (result == 0 && m_frames.GetFrame(0) == nullptr)
        result = -1;   // no frame at all: the load failed, playing must not wait for it
    if (result != 0) {
        if (result <= 0)
            m_nProblem = DiagnoseUnplayableFile(m_strPath);
        m_nLoadStatus = result <= 0 ? LOAD_FAILED : LOAD_CANCELLED;
        if (result < 0)
            OnLoadFinished(false);
        m_frames.Destroy();
        m_frames.DestroyFrames();
        return result;
    }
    LoopCount = m_frames.GetLoops();
    char comment[256] = "";
    m_frames.GetComment(comment);
    Comment = ViewerFiles::FromSystemCodePage(comment);

    int64_t total = 0;
    for (int i = 0; i < FrameCount; i++) {
        if (cancel && *cancel != 0) {
            m_nLoadStatus = LOAD_CANCELLED;
            return 1;
        }
        CrImage* frame = m_frames.GetFrame(i);
        total += frame ? frame->GetFrameDelay() : 10;
    }
    total *= 10;
    Duration = total > 0x7FFFFFFF ? 0x7FFFFFFF : int(total);
    if (Duration > 0)
        m_strDuration = FormatDuration(Duration, false, false, false);
    m_nProblem = PROBLEM_NONE;
    m_nLoadStatus = LOAD_DONE;
    return 0;
}

void CPlaylistItem::FreeFrames(bool force)
{
    if (ViewerSettings().CacheFrames && !force)
        return;
    m_slots.ResetSlots();
    m_frames.Destroy();
    m_frames.DestroyFrames();
}

CrImage* CPlaylistItem::GetSourceFrame(int index) const
{
    if (index < 0 || index >= FrameCount)
        return nullptr;
    return m_frames.GetFrame(Reverse ? FrameCount - 1 - index : index);
}

CrImage* CPlaylistItem::GetFrame(int index)
{
    CrImage* source = GetSourceFrame(index);
    if (index < 0 || index >= FrameCount)
        return nullptr;
    if (!HasFilters())
        return source;
    CFrameSlot* slot = m_slots.GetAt(index);
    if (!slot || !source)
        return nullptr;
    if (slot->m_pFiltered && slot->m_pFiltered->IsValid())
        return slot->m_pFiltered;
    if (slot->m_pFiltered) {
        slot->m_pFiltered->Copy(*source);
    } else {
        slot->m_pFiltered = new CrImage(*source);
        slot->m_pFiltered->SetRetrieveAllFrames(false);
    }
    ApplyFilters(*slot->m_pFiltered);
    return slot->m_pFiltered;
}

void CPlaylistItem::ApplyFilters(CrImage& image) const
{
    ApplyImageFilters(image, FlipHorz, FlipVert, RotateLeft, RotateRight, Negate, GrayScale);
}

CrImage* CPlaylistItem::GetImage(int type)
{
    switch (type) {
    case 0:
        return &m_thumbnail;
    case 1:
        if (!m_display.IsValid() && m_thumbnail.IsValid()) {
            const CSettingsValues& settings = ViewerSettings();
            if (settings.ThumbnailCx < m_thumbnail.GetWidth() || settings.ThumbnailCy < m_thumbnail.GetHeight()) {
                CrImage copy(m_thumbnail);
                ScaleToThumbnailSize(copy, m_display);
            }
            if (HasFilters()) {
                if (!m_display.IsValid())
                    m_display.Copy(m_thumbnail);
                ApplyFilters(m_display);
            }
        }
        return m_display.IsValid() ? &m_display : &m_thumbnail;
    case 2:
        if (!m_icon.IsValid()) {
            CrImage& source = m_display.IsValid() ? m_display : m_thumbnail;
            if (!source.IsValid())
                return &m_icon;
            if (source.GetWidth() > 24 || source.GetHeight() > 24) {
                ViewSize fitted = FitIcon(ViewSize{source.GetWidth(), source.GetHeight()}, 24);
                source.Thumbnail(fitted.cx, fitted.cy, CrRgbQuad{0, 0, 0, 0}, &m_icon);
            } else {
                m_icon.Copy(source);
            }
        }
        return &m_icon;
    default:
        return nullptr;
    }
}

void CPlaylistItem::ResetFilters()
{
    if (FrameCount == 0)
        return;
    for (int i = 0; i < m_slots.GetSize(); i++) {
        CFrameSlot* slot = m_slots.GetAt(i);
        delete slot->m_pFiltered;
        slot->m_pFiltered = nullptr;
    }
    m_display.Destroy();
    m_icon.Destroy();
    SetResolutionText();
}

int CFrameLoadCallback::OnFramesFound(CrImageGIF*, GifLoadInfo*)
{
    m_pItem->OnFramesFound();
    return m_nCancel;
}

int CFrameLoadCallback::OnFrameDecoded(CrImageGIF*, GifLoadInfo* info)
{
    m_pItem->OnFrameDecoded(info->frameIndex);
    return m_nCancel;
}

int CFrameLoadCallback::OnLoadFinished(CrImageGIF*, GifLoadInfo*)
{
    m_pItem->OnLoadFinished(m_nCancel != 0);
    return m_nCancel;
}

int CPlaylistItem::StopLoading()
{
    CancelLoading();
    FreeFrames(false);
    m_nLoadStatus = LOAD_IDLE;
    return 0;
}

#ifndef _WIN32
// The native build has no load thread: frames are loaded by calling LoadFrames directly.
int CPlaylistItem::StartLoadThread() { return -1; }
int CPlaylistItem::CancelLoading() { return 1; }
int CPlaylistItem::WaitLoadThread() { return 0; }
#endif
