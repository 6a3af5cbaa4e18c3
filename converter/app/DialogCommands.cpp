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
    case IDC_ADVANCED:
        return Rule(s.hasFormat && !s.converting);
    case IDC_BROWSE:
        return Rule(!s.converting && !s.sameAsInput);
    case IDC_OPEN_FOLDER:
        return Rule(!s.outputFolderEmpty);
    case IDC_SAME_AS_INPUT:
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
    case IDC_CLOSE_WHEN_DONE:
    case IDC_ADD_TO_ITUNES:
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

FinishActions GetFinishActions(bool shutdown, bool autoPlay, bool autoOpen, bool closeWhenDone)
{
    FinishActions actions;
    if (shutdown) {
        actions.shutdownFlags = kShutdownPowerOff;
        return actions;
    }
    actions.playOutputs = autoPlay;
    actions.openOutputFolder = autoOpen;
    actions.closeWindow = closeWhenDone;
    return actions;
}
