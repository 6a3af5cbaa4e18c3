#include "PlayCommands.h"

#include "PlayLoop.h"

bool IsPlaying(const PlayStatus& s) { return s.playState == PLAY_PLAYING; }

bool CanPlay(const PlayStatus& s)
{
    return !s.hasPlayThread || s.playState == PLAY_PLAYING || s.playState == PLAY_PAUSED;
}

bool CanStop(const PlayStatus& s) { return s.playState == PLAY_PLAYING || s.playState == PLAY_PAUSED; }

bool CanStepBack(const PlayStatus& s) { return s.hasItem && s.frameCount > 0 && s.frameIndex > 0; }

bool CanStepForward(const PlayStatus& s) { return s.hasItem && s.frameCount > 0 && s.frameIndex < s.frameCount - 1; }

bool CanExportFrame(const PlayStatus& s) { return s.hasItem && s.frameCount > 0; }

int StepFrame(const PlayStatus& s, int delta)
{
    int target = s.frameIndex + delta;
    if (target > s.frameCount - 1)
        target = s.frameCount - 1;
    return target < 0 ? 0 : target;
}

PlayAction ChoosePlayAction(int itemCount, int playState)
{
    if (itemCount == 0)
        return PlayAction::OpenFile;
    if (playState == PLAY_PLAYING)
        return PlayAction::Pause;
    if (playState == PLAY_PAUSED)
        return PlayAction::Resume;
    return PlayAction::PlaySelected;
}

PauseAction ChoosePauseAction(int playState)
{
    if (playState == PLAY_PLAYING)
        return PauseAction::Pause;
    if (playState == PLAY_PAUSED)
        return PauseAction::Resume;
    return PauseAction::None;
}

bool ArrowKeyBelongsToPlaylist(unsigned key, bool ctrl, bool alt, bool focusInPlaylist)
{
    const unsigned left = 0x25, down = 0x28;
    return key >= left && key <= down && !ctrl && !alt && focusInPlaylist;
}

int NextZoom(int zoom)
{
    if (zoom == 100)
        return 200;
    if (zoom == 200)
        return 50;
    return 100;
}

int ToggleRepeatAll(int repeat) { return repeat == 2 ? 0 : 2; }

int ToggleRepeatCurrent(int repeat) { return repeat != 1 ? 1 : 0; }

int FrameSaveFormat(const CString& path)
{
    const int dot = path.ReverseFind(L'.');
    const int backslash = path.ReverseFind(L'\\'), slash = path.ReverseFind(L'/');
    const int folderEnd = backslash > slash ? backslash : slash;
    if (dot < 0 || dot < folderEnd)
        return 0;
    CString extension = path.Mid(dot + 1);
    extension.MakeLower();
    if (extension == L"jpg" || extension == L"jpeg")
        return 3;
    if (extension == L"png")
        return 4;
    if (extension == L"bmp")
        return 1;
    return 0;
}

bool WantsNextItem(const PlayEnd& end)
{
    return end.stopCode != STOP_STOP && end.playState == PLAY_FINISHED && end.autoAdvance;
}

AfterPlay ChooseAfterPlay(const PlayEnd& end)
{
    if (end.playState == PLAY_FINISHED && end.stopCode == STOP_RUN) {
        if (end.shutdownAfter)
            return AfterPlay::ShutDown;
        if (end.autoClose)
            return AfterPlay::CloseWindow;
        if (end.unplayable)
            return AfterPlay::Nothing;
    }
    if (end.playState != PLAY_PAUSED && end.stopCode != STOP_STOP &&
        (end.playState == PLAY_FINISHED || end.playState == PLAY_CLOSED))
        return AfterPlay::ShowPlaylist;
    return AfterPlay::Nothing;
}
