#include "GifInfo.h"

#include "NumberFormat.h"
#include "PlaylistItem.h"
#include "ViewerFiles.h"

CString LoopingText(int loopCount)
{
    if (loopCount == 0)
        return L"Infinite loop";
    if (loopCount == 1)
        return L"Play once";
    CString text;
    text.Format(L"Play %d times", loopCount);
    return text;
}

std::vector<GifInfoRow> GifInfoRows(const CPlaylistItem& item)
{
    if (item.State != ITEM_READY)
        return {};
    CString frames;
    if (item.FrameCount > 0)
        frames.Format(L"%d", item.FrameCount);
    return {
        {L"File Name", ViewerFiles::FileNamePart(item.m_strPath)},
        {L"File Size", FormatInt64Grouped(item.Size)},
        {L"Resolution", item.m_strResolution},
        {L"Frame Count", frames},
        {L"Duration", item.m_strDuration},
        {L"Looping", LoopingText(item.LoopCount)},
        {L"Comment", item.Comment},
    };
}
