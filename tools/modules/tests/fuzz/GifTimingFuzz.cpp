// The encoder's reading of a GIF's sizes and delays, on any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "GifTiming.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CGifTiming timing;
    if (ReadGifTiming(data, size, timing) && timing.m_delays.empty())
        std::abort();
    for (int delay : timing.m_delays)
        if (delay < kGifMinDelay || delay > 65535)
            std::abort();
    return 0;
}
