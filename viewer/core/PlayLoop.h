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

// The stop word is seen at least this often while a frame is shown.
constexpr int kStopPollMs = 10;
// A frame shown later than this after its place starts the timeline anew from itself, so that a
// stall (a busy machine, a moved window) is not made up for by rushing through the next frames.
constexpr int kMaxLateMs = 100;
// How long an item that cannot be played shows why before playback moves on.
constexpr int kProblemShowMs = 2000;

class IPlayLoopHost {
public:
    // The frame at `index` is current: paint it before returning, move the play position.
    virtual void ShowFrame(int index) = 0;
    // The item cannot be played: show why in place of the picture.
    virtual void ShowProblem() = 0;
    // The play position runs over 0 ... last and stands at `position`.
    virtual void SetPositionRange(int last, int position) = 0;
    virtual void ReportPlayState(int state) = 0;
    // Frame 0 is shown again (a forced seek).
    virtual void SeekFirstFrame() = 0;
    virtual void Sleep(int milliseconds) = 0;
    // A steady clock in milliseconds, fine-grained (each frame is timed against it).
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
// Runs the loop; -1 without an item or without frames (unless it cannot be played: then it shows
// why for a while and finishes), else 0. Each frame is due at the place the frames before it give
// (their delays added up from the first one shown), so painting time and the sleeps' lateness
// never add up over the frames.
int RunPlayLoop(CPlaylistItem* item, CPlayPosition& position, const std::atomic<int>& stop, IPlayLoopHost& host);
