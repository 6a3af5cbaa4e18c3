#include "ConvertListItem.h"

#include <future>

#include "AppGlobals.h"
#include "AppSettings.h"
#include "CrIOFile.h"
#include "EncodeTask.h"
#include "JobStates.h"
#include "MediaFormatting.h"
#include "NumberFormat.h"
#include "SysHelpers.h"
#include "TempFileGuard.h"
#include "ThumbnailBox.h"

namespace {


CString FormatFrames(int64_t frames)
{
    CString text;
    text.Format(L"%d frames", static_cast<int>(frames));
    return text;
}

CString FormatResolution(int width, int height)
{
    CString text;
    text.Format(L"%dx%d", width, height);
    return text;
}

} // namespace

CString FormatKilobytes(int64_t bytes)
{
    CString text;
    text.Format(L"%s KB", FormatInt64Grouped(bytes / 1024).GetString());
    return text;
}

bool FitIntoThumbnailBox(CrImage& picture, CrImage& thumbnail)
{
    if (!picture.IncreaseBpp(24))
        return false;
    const int boxWidth = g_pAppSettings ? g_pAppSettings->ThumbnailWidth() : kDefaultThumbnailSide;
    const int boxHeight = g_pAppSettings ? g_pAppSettings->ThumbnailHeight() : kDefaultThumbnailSide;
    int width = 0, height = 0;
    if (FitThumbnailSize(picture.GetWidth(), picture.GetHeight(), boxWidth, boxHeight, width, height))
        return picture.Resample(width, height, CRIMAGE_RESAMPLE_AUTO, &thumbnail);
    return thumbnail.Copy(picture);
}

void CConvertListItem::Reset(int resetSettings)
{
    CConvertItem::Reset(resetSettings);
    auto lock = LockDisplay();
    m_outputThumbnail.Destroy();
    for (CString& text : m_outputTexts)
        text.Empty();
}

int CConvertListItem::SetSource(const CString& path)
{
    // The path is kept even when it is no source, so its row can say why.
    CConvertItem::SetSource(path);
    m_sourceFailure = JOB_SOURCE_MISSING;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return -1;
    m_sourceFailure = JOB_SOURCE_UNSUPPORTED;
    CrImage picture;
    CrIOFile file;
    if (!file.Open(path, L"rb") || !picture.Decode(&file, CRIMAGE_FORMAT_GIF))
        return -1;
    m_sourceFailure = 0;
    file.Close();
    CrImage thumbnail;
    FitIntoThumbnailBox(picture, thumbnail);

    auto lock = LockDisplay();
    m_sourceTexts[TEXT_SIZE] = FormatKilobytes(GetFileSize64(path));
    m_sourceTexts[TEXT_FRAMES] = FormatFrames(picture.GetNumFrames());
    m_sourceTexts[TEXT_RESOLUTION] = FormatResolution(picture.GetWidth(), picture.GetHeight());
    m_sourceThumbnail.Transfer(thumbnail);
    return 0;
}

int CConvertListItem::GrabTimeMs() const
{
    const CMediaStreamInfo* video = m_inputInfo.GetFirstVideoStream();
    return ThumbnailGrabTimeMs(m_inputInfo.m_duration, video ? video->m_frames : 0);
}

int CConvertListItem::MakeOutputThumbnail(CStopFlag* stop)
{
    CTempFileGuard image(GetTempFilePath(), 1);
    if (image.GetPath().IsEmpty() ||
        GrabVideoFrame(m_outputPath, image.GetPath(), GrabTimeMs(), 0, 0, L"image2", stop) != 0)
        return -1;
    CrImage picture, thumbnail;
    if (!picture.Load(image.GetPath(), CRIMAGE_FORMAT_UNKNOWN) || !FitIntoThumbnailBox(picture, thumbnail))
        return -1;
    auto lock = LockDisplay();
    m_outputThumbnail.Transfer(thumbnail);
    return 0;
}

int CConvertListItem::Finish()
{
    if (m_state != JOB_COMPLETED)
        return CConvertItem::Finish();
    // The frame grab and the output's probe are sibling runs of their own, so they go side by
    // side; the grab touches nothing of the item but the output thumbnail.
    std::future<int> thumbnail;
    if (!(m_flags & ITEM_OUTPUT_THUMBNAIL))
        thumbnail = std::async(std::launch::async, [this] { return MakeOutputThumbnail(nullptr); });
    const int result = CConvertItem::Finish();
    if (thumbnail.valid() && thumbnail.get() == 0)
        m_flags |= ITEM_OUTPUT_THUMBNAIL;

    auto lock = LockDisplay();
    if (m_outputInfo.m_size >= 0 && (m_flags & ITEM_OUTPUT_PROBED))
        m_outputTexts[TEXT_SIZE] = FormatKilobytes(m_outputInfo.m_size);
    if (m_outputInfo.m_duration >= 0 && (m_flags & ITEM_OUTPUT_PROBED))
        m_outputTexts[TEXT_DURATION] = FormatDuration64(m_outputInfo.m_duration, false, false, false);
    const CMediaStreamInfo* video = m_outputInfo.GetFirstVideoStream();
    if (video && video->m_frames > 0)
        m_outputTexts[TEXT_FRAMES] = FormatFrames(video->m_frames);
    if (m_outputThumbnail.IsValid())
        m_outputTexts[TEXT_RESOLUTION] = video && video->m_width > 0 && video->m_height > 0
                                             ? FormatResolution(video->m_width, video->m_height)
                                             : FormatResolution(m_outputThumbnail.GetWidth(), m_outputThumbnail.GetHeight());
    return result;
}

CString CConvertListItem::GetSourceText(Text which) const
{
    auto lock = LockDisplay();
    return m_sourceTexts[which];
}

CString CConvertListItem::GetOutputText(Text which) const
{
    auto lock = LockDisplay();
    return m_outputTexts[which];
}

void CConvertListItem::SetOutputText(Text which, const CString& text)
{
    auto lock = LockDisplay();
    m_outputTexts[which] = text;
}
