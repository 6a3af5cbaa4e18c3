#pragma once
// The main dialog's command ids and when each is enabled, as one table over what the dialog
// knows at that moment (portable, so the rules are tested without a window).

#include "TalvenaRes.h"

// What the enabling rules look at.
struct DialogCommandState {
    bool converting = false;           // a run goes on
    int rows = 0;
    int selected = 0;                  // selected rows
    bool firstSelectedCompleted = false;
    bool firstSelectedIsCurrent = false;   // the first selected row is the one being converted
    bool selectedOtherThanCurrent = false; // a selected row that is not being converted
    bool anyCompleted = false;
    bool sameAsInput = false;
    bool hasFormat = false;
    bool outputFolderEmpty = true;
};

enum class CommandRule { Disabled, Enabled, NotRuled };

// Whether the command is enabled; NotRuled for ids the table does not know.
CommandRule GetCommandRule(unsigned id, const DialogCommandState& state);
// The rows a removal takes away: never the row being converted (-1 when none), which stays
// until its run has ended.
bool IsRowRemovable(int row, int currentRow, bool converting);

// What happens when a run ends. A shut-down stands alone (no play, open or close first) and
// never forces: programs with unsaved work may still ask their users.
struct FinishActions {
    unsigned shutdownFlags = 0;   // ExitWindowsEx flags; 0: no shut-down
    bool playOutputs = false;
    bool openOutputFolder = false;
    bool closeWindow = false;
};
constexpr unsigned kShutdownPowerOff = 0x8;   // EWX_POWEROFF, without EWX_FORCE (0x4)
FinishActions GetFinishActions(bool shutdown, bool autoPlay, bool autoOpen, bool closeWhenDone);
