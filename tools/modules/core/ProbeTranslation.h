#pragma once
// Turns ffprobe's XML description (-show_format -show_streams -count_packets) into the probe's
// "MediaInfo" document: file facts, streams and tags, times in microseconds.
//
// Type of the file: 1 when it has a picture stream, 2 when it has only sound, else 0; its Flags
// have bit 0 for picture and bit 1 for sound. Stream types: 1 video, 2 audio, 3 subtitles,
// 4 data, 5 attachment, 0 anything else; stream Flags: bit 0 the default stream, bit 1 an
// attached picture (cover art).
#include <string>

// false when the text is not an ffprobe document with a "format" element.
bool TranslateProbeXml(const std::string& ffprobeXml, std::string& mediaInfoXml);

// "12.345678" seconds as microseconds; 0 when it is no time ("N/A", empty).
long long SecondsToMicroseconds(const char* text);
