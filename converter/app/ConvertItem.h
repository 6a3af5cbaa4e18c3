#pragma once
// One GIF to convert: what the user chose for it, and what the conversion made of it.
#include <cstdint>
#include <vector>

#include "CString.h"
#include "Collections.h"
#include "EncoderMessage.h"
#include "MediaInfo.h"
#include "StopFlag.h"

class CMediaPreset;

enum : uint32_t {
    ITEM_SOURCE_PROBED = 0x10000,
    ITEM_OUTPUT_PROBED = 0x100000,
    ITEM_OUTPUT_THUMBNAIL = 0x200000,
    ITEM_IN_ITUNES = 0x1000000,   // the output was handed to iTunes
};

enum : int32_t {
    CONVERT_SAME_FOLDER = 0x1,  // the output goes beside the source
    CONVERT_ADD_TO_ITUNES = 0x2, // the finished output goes to iTunes
};

enum : int16_t {
    JOB_NAME_CHOSEN = 0x1,
    JOB_OUTPUT_DONE = 0x2,
};

struct CConvertSettings {
    void Reset() { *this = CConvertSettings(); }

    int32_t m_options = 0;
    CString m_source;
    CString m_outputFolder;  // when not beside the source
    CString m_outputName;    // empty: the source's title
    CMediaPreset* m_preset = nullptr;
    int32_t m_startTime = 0;   // ms
    int32_t m_endTime = -1;    // ms; -1 to the end
    int32_t m_volumePercent = 100;
    int32_t m_rotation = 0;    // 0, 90, 180, 270
    int32_t m_hflip = 0;
    int32_t m_vflip = 0;
    int32_t m_grey = 0;
    int32_t m_negate = 0;
};

class CConvertItem {
public:
    CConvertItem() = default;
    CConvertItem(const CConvertItem&) = delete;
    CConvertItem& operator=(const CConvertItem&) = delete;
    virtual ~CConvertItem() = default;

    // Forgets what the last conversion made; the user's settings too when asked.
    virtual void Reset(int resetSettings);
    virtual int SetSource(const CString& path);
    // After a completed conversion: the output described (once), and handed to iTunes when
    // the item asks for it.
    virtual int Finish();
    // A completed output to iTunes, once: 0 done (or done before), -1 not completed or iTunes
    // could not take it (then a later call tries again).
    int AddToITunes();

    void SetState(int state) { m_state = static_cast<int16_t>(state); }
    int ProbeSource(CStopFlag* stop = nullptr);
    int ProbeOutput(CStopFlag* stop = nullptr);

    uint32_t m_flags = 0;
    CConvertSettings m_settings;
    CString m_outputPath;
    int64_t m_outputSize = -1;
    int16_t m_state = 0;
    int16_t m_jobFlags = 0;
    CMediaInfo m_inputInfo;
    CMediaInfo m_outputInfo;
    CEncoderProgress m_progress{};
};

// The outputs of the completed items whose files exist, in the items' order.
CStringArray CompletedOutputPaths(const std::vector<const CConvertItem*>& items);
// Those outputs to iTunes in one call, quitting an iTunes that was not running: 0 done or
// nothing to hand over, -1 when iTunes could not take them.
int AddCompletedToITunes(const std::vector<const CConvertItem*>& items);
