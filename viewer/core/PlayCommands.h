#pragma once
// The decisions behind the play view's commands, apart from the windows (portable): when a
// command is offered, where a step or a zoom goes, which format a saved frame takes and what
// follows when a play thread ends.
#include "CString.h"

// What the play view knows of the canvas when it answers a command.
struct PlayStatus {
    bool hasItem = false;
    int frameCount = 0;
    int frameIndex = 0;
    int playState = 0;          // the canvas's play state
    bool hasPlayThread = false;
};

// Play (and its menu text) is enabled always, except that while a play thread runs it is
// offered only to pause a playing or resume a paused canvas.
bool CanPlay(const PlayStatus& s);
bool IsPlaying(const PlayStatus& s);
// Stop acts on a playing or paused canvas.
bool CanStop(const PlayStatus& s);
bool CanStepBack(const PlayStatus& s);
bool CanStepForward(const PlayStatus& s);
// Copy and save of the current frame.
bool CanExportFrame(const PlayStatus& s);
// The frame a step of `delta` goes to, kept inside the item's frames.
int StepFrame(const PlayStatus& s, int delta);

// What Play does: nothing to play yet, pause, resume, or play the selected (else first) item.
enum class PlayAction { OpenFile, Pause, Resume, PlaySelected };
PlayAction ChoosePlayAction(int itemCount, int playState);
// Space: pause a playing canvas, resume a paused one, else nothing.
enum class PauseAction { None, Pause, Resume };
PauseAction ChoosePauseAction(int playState);

// The arrow keys (virtual-key codes 0x25 to 0x28) are the play view's keys for stepping frames
// and files, except while the playlist has the focus: there they move its selection. With Ctrl
// or Alt they are never the playlist's plain moves.
bool ArrowKeyBelongsToPlaylist(unsigned key, bool ctrl, bool alt, bool focusInPlaylist);

// The zoom button's cycle: 100 to 200, 200 to 50, anything else (fit, 50) to 100.
int NextZoom(int zoom);
// Repeat All and Repeat Current as toggles of the one Repeat value (0 off, 1 current, 2 all).
int ToggleRepeatAll(int repeat);
int ToggleRepeatCurrent(int repeat);

// The image format a frame saved under `path` takes, by its extension (any case): 3 JPEG for
// "jpg" and "jpeg", 4 PNG, 1 BMP; 0 for any other extension or none, which the viewer refuses
// rather than write one format's bytes under another's name.
int FrameSaveFormat(const CString& path);

// What follows the end of a play thread, given how it ended.
struct PlayEnd {
    int stopCode = 0;        // the stop word the thread ended with
    int playState = 0;       // the canvas's state afterwards
    bool autoAdvance = false;
    bool autoClose = false;
    bool shutdownAfter = false;
    bool unplayable = false;  // the item could not be played: the canvas says why
};
// The next item is wanted: the item finished by itself (or was closed) and AutoAdvance is on.
bool WantsNextItem(const PlayEnd& end);
enum class AfterPlay { Nothing, ShutDown, CloseWindow, ShowPlaylist };
// When no next item plays: the after-playback actions only for a playback that finished by
// itself; else back to the playlist when it finished or was closed (not paused, not stopped).
// An item that could not be played keeps its words on the screen instead.
AfterPlay ChooseAfterPlay(const PlayEnd& end);
