#pragma once
// The main dialog's command ids and when each is enabled, as one table over what the dialog
// knows at that moment (portable, so the rules are tested without a window).
#include <cstdint>

enum : unsigned {
    ID_CONVERT_MENU = 32826,
    ID_STOP_MENU = 32827,
    ID_AUTO_PLAY = 32773,
    ID_AUTO_OPEN = 32774,
    ID_ADD_GIF = 32781,
    ID_ADD_FOLDER = 32786,
    ID_REMOVE = 32791,
    ID_RENAME_OUTPUT = 32794,
    ID_COPY_OUTPUT = 32796,
    ID_REMOVE_ALL = 32801,
    ID_COPY_ALL_OUTPUTS = 32802,
    ID_ADD_TO_ITUNES_ROW = 32805,
    ID_ADD_ALL_TO_ITUNES = 32807,
    ID_PLAY_OUTPUT = 32808,
    ID_PLAY_ALL_OUTPUTS = 32810,
    ID_FORMAT_MANAGER = 32818,
    ID_ADVANCED_OPTIONS = 32819,
    ID_PLAY_INPUT = 32820,
    ID_SHUTDOWN_WHEN_DONE = 32821,
    ID_MINIMIZE_RESTORE = 32824,
    ID_LIST_TOOL_SPARE = 32828,
    ID_MORE = 32829,
    ID_MENU = 32830,
    ID_OPEN_INPUT_FOLDER = 32832,
    ID_OPEN_OUTPUT_FOLDER = 32833,
    ID_MEDIA_INFO = 32835,
    ID_EDIT_PASTE_FILES = 57637,
    ID_SELECT_ALL_ROWS = 57642,
    ID_SYSTEM_ALWAYS_ON_TOP = 16,
    // Dialog controls that are commands too.
    ID_CONVERT_BUTTON = 1000,
    ID_STOP_BUTTON = 1003,
    ID_ADVANCED_BUTTON = 1021,
    ID_BROWSE_BUTTON = 1023,
    ID_OPEN_BUTTON = 1024,
    ID_ITUNES_CHECK = 1038,
    ID_CLOSE_CHECK = 1043,
    ID_SAME_AS_INPUT_CHECK = 1063,
};

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
