// The encoder's reading of times, on any text: the "-ss" and "-t" values of its command line and
// the "Duration:" line of ffmpeg's log.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CString.h"
#include "EncoderPlan.h"
#include "FfmpegProgress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (ParseEncoderTime(CString::FromUtf8(bytes.c_str())) < -1)
        std::abort();
    const int64_t duration = ParseInputDuration("  Duration: " + bytes);
    if (duration < -1)
        std::abort();
    ExpectedOutputDuration(duration, ParseEncoderTime(CString::FromUtf8(bytes.c_str())), duration);
    return 0;
}
