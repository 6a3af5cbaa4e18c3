#pragma once
// The word through which the window thread asks a worker, and the sibling program it waits
// for, to stop: 0 run, 2 stop (3 is taken as stop as well). Written by one thread and read by
// others, so it is atomic.
#include <atomic>

using CStopFlag = std::atomic<int>;

inline bool IsStopRequest(int flag)
{
    return flag == 2 || flag == 3;
}

inline bool IsStopRequested(const CStopFlag* flag)
{
    return flag && IsStopRequest(flag->load());
}
