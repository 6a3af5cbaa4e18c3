#include "PlayLoop.h"

#include "PlaylistItem.h"

int FrameDelayMs(uint32_t hundredths)
{
    uint64_t ms = uint64_t(hundredths) * 10;
    return ms < 50 ? 100 : int(ms);
}

int FinalPlayState(int stopWord, int current)
{
    switch (stopWord) {
    case STOP_RUN:
        return PLAY_FINISHED;
    case STOP_PAUSE:
        return PLAY_PAUSED;
    case STOP_STOP:
        return PLAY_STOPPED;
    case STOP_CLOSE:
    case STOP_DESTROY:
        return PLAY_CLOSED;
    default:
        return current;
    }
}

namespace {

// Moves to the next frame; false when the frames have ended and the item does not repeat.
bool Advance(const CPlaylistItem& item, CPlayPosition& position, IPlayLoopHost& host)
{
    int next = position.frameIndex.load() + 1;
    if (next < item.FrameCount) {
        position.frameIndex = next;
        return true;
    }
    if (host.RepeatMode() == 1) {
        position.repeatCounter++;
        position.frameIndex = 0;
        return true;
    }
    position.frameIndex = next;
    return false;
}

// Sleeps until the clock reaches `due`, never longer than the stop word may go unseen.
void WaitUntil(uint32_t due, const std::atomic<int>& stop, IPlayLoopHost& host)
{
    while (stop == STOP_RUN) {
        const int32_t left = int32_t(due - host.TickCount());
        if (left <= 0)
            return;
        host.Sleep(left < kStopPollMs ? int(left) : kStopPollMs);
    }
}

} // namespace

int RunPlayLoop(CPlaylistItem* item, CPlayPosition& position, const std::atomic<int>& stop, IPlayLoopHost& host)
{
    if (!item || (item->FrameCount <= 0 && !item->IsUnplayable()))
        return -1;
    const int count = item->FrameCount;
    if (position.frameIndex >= count || position.frameIndex < 0)
        position.frameIndex = 0;
    host.SetPositionRange(count - 1, position.frameIndex);
    position.playState = PLAY_PLAYING;
    host.ReportPlayState(PLAY_PLAYING);

    bool timed = false;   // `due` carries the timeline of the frames shown so far
    uint32_t due = 0;
    while (stop == STOP_RUN) {
        if (item->IsUnplayable()) {
            host.ShowProblem();
            WaitUntil(host.TickCount() + kProblemShowMs, stop, host);
            break;
        }
        const int index = position.frameIndex;
        if (index >= count)
            break;
        CFrameSlot* slot = item->m_slots.GetAt(index);
        int state = slot ? slot->m_nState.load() : SLOT_BAD;
        if (state == SLOT_NONE || state == SLOT_PENDING) {
            int load = item->m_nLoadStatus;
            if (load == LOAD_FAILED)
                continue;   // nothing will be decoded: the loop tells why instead of waiting
            host.Sleep(100);
            timed = false;
            if (load == LOAD_LOADING)
                continue;
            if (!Advance(*item, position, host))
                break;
            continue;
        }
        CrImage* frame = state == SLOT_BAD ? nullptr : item->GetSourceFrame(index);
        if (!frame) {
            host.Sleep(100);
            timed = false;
            if (!Advance(*item, position, host))
                break;
            continue;
        }
        host.ShowFrame(index);
        const uint32_t shown = host.TickCount();
        // A timeline starts when its first frame is on the screen: that paint (all of the window
        // at the start of a playback) must not come off the first frame's own time.
        if (!timed || int32_t(shown - due) > kMaxLateMs)
            due = shown;
        timed = true;
        due += uint32_t(FrameDelayMs(frame->GetFrameDelay()));
        WaitUntil(due, stop, host);
        if (stop != STOP_RUN)
            break;
        if (!Advance(*item, position, host))
            break;
    }

    const int word = stop;
    const int final = FinalPlayState(word, position.playState);
    position.playState = final;
    host.ReportPlayState(final);
    if (word == STOP_RUN || word == STOP_STOP || word == STOP_CLOSE || word == STOP_DESTROY)
        host.SeekFirstFrame();
    return 0;
}
