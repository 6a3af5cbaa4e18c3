#include "JobStates.h"

namespace {

struct StateRow {
    int state;
    JobStateLook look;
};

const StateRow kStates[] = {
    {JOB_STARTED, {nullptr, -1, 0}},
    {JOB_PREPARING, {L"Preparing...", 0x0080FF, 0}},
    {JOB_CONVERTING, {L"Converting...", 0xFFA000, 0}},
    {JOB_COMPLETED, {L"Completed.", -1, 1}},
    {JOB_CANCELED, {L"Canceled.", -1, 4}},
    {JOB_SKIPPED_EXISTS, {L"Canceled: file already exists.", -1, 2}},
    {JOB_FAILED, {L"Failed!", -1, 3}},
    {JOB_SOURCE_MISSING, {L"Failed: source file not exists.", -1, 3}},
    {JOB_SOURCE_UNSUPPORTED, {L"Failed: source file not supported.", -1, 3}},
    {JOB_FOLDER_FAILED, {L"Failed: can't create output folder.", -1, 3}},
    {JOB_ENCODE_FAILED, {L"Failed: can't convert to the specified format.", -1, 3}},
};

} // namespace

JobStateLook GetJobStateLook(int state)
{
    for (const StateRow& row : kStates)
        if (row.state == state)
            return row.look;
    return {nullptr, -1, -1};
}
