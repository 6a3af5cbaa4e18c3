#pragma once
// The states a conversion job moves through, and how each shows in its row: status text,
// colour and state image. Portable.
#include <cstdint>

enum : int {
    JOB_STARTED = 1,
    JOB_PREPARING = 10,
    JOB_OUTPUT_NAMED = 11,
    JOB_CONVERTING = 20,
    JOB_OUTPUT_WRITTEN = 21,
    JOB_COMPLETED = 100,
    JOB_CANCELED = 120,
    JOB_SKIPPED_EXISTS = 121,
    JOB_FAILED = 140,
    JOB_SOURCE_MISSING = 141,
    JOB_SOURCE_UNSUPPORTED = 142,
    JOB_FOLDER_FAILED = 143,
    JOB_ENCODE_FAILED = 144,
};

// What a state changes in its row; null text, colour -1 and image -1 leave the row as it was.
struct JobStateLook {
    const wchar_t* text;
    int32_t colour;  // 0x00BBGGRR
    int image;
};

JobStateLook GetJobStateLook(int state);
