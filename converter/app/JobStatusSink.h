#pragma once
// Receives a conversion job's states and progress and shows them in the job's row. The default
// OnStatus and OnProgress turn them into the Set calls, which act on the row being converted
// and do nothing here. Sizes are bytes, times microseconds; -1 leaves a value alone.
#include <windows.h>

#include <cstdint>

#include "CString.h"

class CConvertItem;

class CJobStatusSink {
public:
    virtual void OnStatus(CConvertItem* item);
    virtual void OnProgress(CConvertItem* item);
    virtual ~CJobStatusSink() = default;
    virtual void SetStateImage(int image) {}
    virtual void SetTextColor(COLORREF colour) {}
    virtual void SetOutputText(const CString& text) {}
    virtual void SetSizes(int64_t inputBytes, int64_t outputBytes) {}
    virtual void SetTimes(int64_t inputMicroseconds, int64_t outputMicroseconds) {}
    virtual void SetProgress(int64_t value, int64_t range) {}
    virtual void SetStatusText(const CString& text) {}
};
