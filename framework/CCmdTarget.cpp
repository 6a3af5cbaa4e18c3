#include "CCmdTarget.h"

const FwMessageMap* CCmdTarget::GetThisMessageMap()
{
    static const FwMessageMap map{nullptr, {}};
    return &map;
}

bool CCmdTarget::DispatchEntry(FwDispatch& call, const std::function<bool(const FwMessageEntry&)>& match)
{
    for (const FwMessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const FwMessageEntry& entry : map->entries) {
            if (!match(entry))
                continue;
            call.handled = true;
            entry.call(this, call);
            return call.handled;
        }
    }
    return false;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, bool probe)
{
    auto inRange = [id](const FwMessageEntry& e) { return id >= e.firstId && id <= e.lastId; };
    std::function<bool(const FwMessageEntry&)> match;
    if (code == CN_UPDATE_COMMAND_UI) {
        match = [&](const FwMessageEntry& e) { return e.kind == FwEntryKind::UpdateCommand && inRange(e); };
    } else {
        // A button click (code 0) is also a command of the button's id.
        match = [&](const FwMessageEntry& e) {
            return ((e.kind == FwEntryKind::Command && code == CN_COMMAND) ||
                    (e.kind == FwEntryKind::Control && e.code == static_cast<UINT>(code))) && inRange(e);
        };
    }
    if (probe) {
        for (const FwMessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr)
            for (const FwMessageEntry& entry : map->entries)
                if (match(entry))
                    return TRUE;
        return FALSE;
    }
    FwDispatch call;
    call.id = id;
    call.cmdUI = code == CN_UPDATE_COMMAND_UI ? static_cast<CCmdUI*>(extra) : nullptr;
    if (call.cmdUI)
        call.cmdUI->m_bContinueRouting = FALSE;
    if (!DispatchEntry(call, match))
        return FALSE;
    // An update handler that asked to continue routing did not answer.
    return !(call.cmdUI && call.cmdUI->m_bContinueRouting);
}
