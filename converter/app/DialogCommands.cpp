#include "DialogCommands.h"

namespace {

CommandRule Rule(bool enabled)
{
    return enabled ? CommandRule::Enabled : CommandRule::Disabled;
}

} // namespace

CommandRule GetCommandRule(unsigned id, const DialogCommandState& s)
{
    // Rows other than the one under conversion: what Remove All can take away.
    const bool removableRows = s.converting ? s.rows > 1 : s.rows > 0;
    switch (id) {
    case ID_CONVERT_MENU:
        return Rule(!s.converting && s.rows > 0);
    case ID_STOP_MENU:
        return Rule(s.converting);
    case ID_ADVANCED_BUTTON:
        return Rule(s.hasFormat && !s.converting);
    case ID_BROWSE_BUTTON:
        return Rule(!s.converting && !s.sameAsInput);
    case ID_OPEN_BUTTON:
        return Rule(!s.outputFolderEmpty);
    case ID_SAME_AS_INPUT_CHECK:
        return Rule(!s.converting);
    // The run reads the chosen format's presets: they are not edited, deleted or reset under it.
    case ID_FORMAT_MANAGER:
        return Rule(!s.converting);
    case ID_REMOVE:
        return Rule(s.selectedOtherThanCurrent);
    case ID_REMOVE_ALL:
        return Rule(removableRows);
    case ID_PLAY_OUTPUT:
    case ID_COPY_OUTPUT:
    case ID_ADD_TO_ITUNES_ROW:
        return Rule(s.firstSelectedCompleted);
    case ID_RENAME_OUTPUT:
        return Rule(s.firstSelectedCompleted && !s.firstSelectedIsCurrent);
    case ID_PLAY_ALL_OUTPUTS:
    case ID_COPY_ALL_OUTPUTS:
    case ID_ADD_ALL_TO_ITUNES:
        return Rule(s.anyCompleted);
    // The item under conversion is being written by the run: not edited, nor read for display.
    case ID_ADVANCED_OPTIONS:
    case ID_MEDIA_INFO:
        return Rule(s.selected > 0 && !s.firstSelectedIsCurrent);
    case ID_PLAY_INPUT:
    case ID_OPEN_INPUT_FOLDER:
    case ID_OPEN_OUTPUT_FOLDER:
        return Rule(s.selected > 0);
    case ID_CLOSE_CHECK:
    case ID_ITUNES_CHECK:
    case ID_AUTO_PLAY:
    case ID_AUTO_OPEN:
    case ID_SHUTDOWN_WHEN_DONE:
    case ID_ADD_GIF:
    case ID_ADD_FOLDER:
    case ID_EDIT_PASTE_FILES:
    case ID_SELECT_ALL_ROWS:
    case ID_MINIMIZE_RESTORE:
    case ID_MORE:
    case ID_MENU:
        return CommandRule::Enabled;
    default:
        return CommandRule::NotRuled;
    }
}

bool IsRowRemovable(int row, int currentRow, bool converting)
{
    return !converting || row != currentRow;
}
