#pragma once
// The play loop of the canvas: shows frame after frame with each frame's own delay, waits for
// frames still being decoded, repeats the item when asked and ends in a play state (portable;
// the canvas supplies painting, the control bar and the clock).
#include <atomic>
#include <cstdint>

class CPlaylistItem;

enum : int {
    PLAY_IDLE = 0,
    PLAY_PLAYING = 1,
    PLAY_FINISHED = 2,
    PLAY_PAUSED = 3,
    PLAY_STOPPED = 4,
    PLAY_CLOSED = 5,
};

// Stop codes, the values of a play thread's stop word.
enum : int {
    STOP_RUN = 0,
    STOP_PAUSE = 1,
    STOP_STOP = 2,
    STOP_CLOSE = 3,
    STOP_DESTROY = 4,
};

class IPlayLoopHost {
public:
    // The frame at `index` is current: paint it before returning, move the play position.
    virtual void ShowFrame(int index) = 0;
    // The play position runs over 0 ... last and stands at `position`.
    virtual void SetPositionRange(int last, int position) = 0;
    virtual void ReportPlayState(int state) = 0;
    // Frame 0 is shown again (a forced seek).
    virtual void SeekFirstFrame() = 0;
    virtual void Sleep(int milliseconds) = 0;
    virtual uint32_t TickCount() = 0;
    // The Repeat setting: 1 repeats the current item.
    virtual int RepeatMode() = 0;

protected:
    ~IPlayLoopHost() = default;
};

// What the canvas keeps of one playback; the index is also written by seeking on the window thread.
struct CPlayPosition {
    std::atomic<int> frameIndex{0};
    std::atomic<int> repeatCounter{0};
    std::atomic<int> playState{PLAY_IDLE};
};

// A frame delay in hundredths of a second as the wait in milliseconds: under 50 ms waits 100 ms.
int FrameDelayMs(uint32_t hundredths);
// The play state a loop ends in for its stop word; `current` for an unknown word.
int FinalPlayState(int stopWord, int current);
// Runs the loop; -1 without an item or frames, else 0.
int RunPlayLoop(CPlaylistItem* item, CPlayPosition& position, const std::atomic<int>& stop, IPlayLoopHost& host);
