#pragma once
// Turns the encoder's command line (the options the converter writes, in its order) into the
// arguments of a run of ffmpeg: Windows paths become Unix ones, the callback items are taken
// out, "same quality" gets a meaning ffmpeg knows, and what an animated GIF source needs is
// added where the command line leaves it open: every frame for its own delay, a 4:2:0 picture,
// even sizes that keep every source pixel, and the index of MP4-like files in front.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CString.h"
#include "GifTiming.h"

struct CEncoderPlan {
    std::vector<std::string> m_arguments;  // ffmpeg's, after the program name
    std::vector<CString> m_outputs;        // the output files as the command line names them
    std::vector<std::string> m_unixOutputs;
    int64_t m_callbackWindow = 0;
    int64_t m_context = 0;
    int64_t m_startUs = 0;  // "-ss"
    int64_t m_limitUs = 0;  // "-t", 0 when not given
    CString m_error;
};

// A Windows path as a Unix one; false when it cannot be had.
using UnixPathMapper = std::function<bool(const CString& path, std::string& unixPath)>;
// The Unix path of a preset file for the name, or empty when the presets folder has none.
using PresetFileFinder = std::function<std::string(const CString& name)>;

// The timing of the input file when it is a GIF; false for any other file.
using GifTimingReader = std::function<bool(const CString& path, CGifTiming& timing)>;

// 0, or -1 with the reason in the plan's error text.
int PlanEncoderRun(const std::vector<CString>& args, const UnixPathMapper& mapPath, const PresetFileFinder& findPreset,
                   const GifTimingReader& readTiming, CEncoderPlan& plan);

// The filters that give a picture even sizes by repeating its last column or row.
CString EvenSizeFilter();

// A constant frame rate for the codec at which every delay (hundredths of a second) is a whole
// number of frames: 100/gcd of the delays, or for a codec limited to its standard's rates the
// lowest of them that divides the delays (50 when none does).
CString ChooseFrameRate(const CString& codec, const std::vector<int>& delays);

// "h:mm:ss.fff", "mm:ss" or plain seconds, as microseconds; -1 when it is not a time.
int64_t ParseEncoderTime(const CString& text);
