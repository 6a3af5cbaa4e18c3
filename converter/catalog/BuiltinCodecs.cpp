#include "BuiltinCodecs.h"


namespace {

template <typename T>
struct List {
    const T* values;
    int count;
    std::vector<T> ToVector() const { return std::vector<T>(values, values + count); }
};

template <typename T, int N>
constexpr List<T> L(const T (&values)[N])
{
    return {values, N};
}

// Audio bit rates, bit/s.
const int32_t A1[] = {0, 16000, 32000, 48000, 56000, 64000, 96000, 112000, 128000, 160000, 192000, 224000,
                      256000, 320000, 384000, 448000, 512000, 640000};
const int32_t A2[] = {32000, 40000, 48000, 56000, 64000, 80000, 96000, 112000, 128000, 160000, 192000, 224000,
                      256000, 320000, 384000, 448000, 512000, 640000, 768000};
const int32_t A3[] = {0};
const int32_t A4[] = {0, 8000, 16000, 20000, 24000, 28000, 32000, 40000, 48000, 56000, 64000, 80000, 96000,
                      112000, 128000, 160000, 192000, 224000, 256000, 320000, 384000, 448000, 512000, 640000};
const int32_t A5[] = {8000, 16000, 20000, 24000, 32000, 40000, 48000, 64000, 96000, 128000, 160000, 192000,
                      224000, 256000};
const int32_t A6[] = {8000, 16000, 20000, 24000, 28000, 32000, 40000, 48000, 56000, 64000, 80000, 96000, 112000,
                      128000, 160000, 192000, 224000, 256000, 320000};
const int32_t A7[] = {0, 32000, 40000, 48000, 56000, 64000, 80000, 96000, 112000, 128000, 160000, 192000, 224000,
                      256000, 320000};
const int32_t A8[] = {32000, 40000, 48000, 56000, 64000, 80000, 96000, 112000, 128000, 160000, 192000, 224000,
                      256000, 320000};
const int32_t A9[] = {0, 16000, 24000, 32000, 40000, 48000, 56000, 64000, 80000, 96000, 112000, 128000, 160000,
                      192000, 224000, 256000, 320000, 512000};
const int32_t A10[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
const int32_t A11[] = {6600, 8850, 12650, 14250, 15850, 18250, 19850, 23050, 23850};
const int32_t A12[] = {0, 16000, 24000, 32000, 40000, 48000, 56000, 64000, 80000, 96000, 112000, 128000, 160000,
                       192000, 224000, 256000, 320000, 384000, 448000, 512000, 640000};
const int32_t A13[] = {0, 24000, 32000, 40000, 48000, 56000, 64000, 80000, 96000, 112000, 128000, 160000, 192000,
                       224000, 256000, 320000, 512000};

// Channel counts.
const int32_t C1[] = {0, 1, 2, 6};
const int32_t C2[] = {0, 1, 2};
const int32_t C3[] = {1};
const int32_t C4[] = {1, 2};

// Sample rates, Hz.
const int32_t R1[] = {0, 8000, 16000, 22050, 24000, 32000, 44100, 48000, 54000, 72000, 96000};
const int32_t R2[] = {32000, 44100, 48000};
const int32_t R3[] = {0, 8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 54000, 72000, 96000};
const int32_t R4[] = {0, 6000, 8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 96000};
const int32_t R5[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
const int32_t R6[] = {0, 8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
const int32_t R7[] = {11025, 22050, 44100};
const int32_t R8[] = {8000};
const int32_t R9[] = {16000};
const int32_t R10[] = {0, 16000, 22050, 24000, 32000, 44100, 48000};
const int32_t R11[] = {44100};
const int32_t R12[] = {48000};
const int32_t R13[] = {0, 8000, 16000, 22050, 32000, 44100, 48000};

// Frame rates, numerator / denominator.
const CIntPair F1[] = {{25, 1}, {30000, 1001}};
const CIntPair F2[] = {{0, 0}, {10, 1}, {11, 1}, {12, 1}, {15, 1}, {20, 1}, {24000, 1001}, {24, 1}, {25, 1},
                       {30000, 1001}, {30, 1}, {50, 1}, {60, 1}};
const CIntPair F3[] = {{0, 0}};
const CIntPair F4[] = {{0, 0}, {8, 1}, {10, 1}, {12, 1}, {15, 1}, {20, 1}, {24000, 1001}, {24, 1}, {25, 1},
                       {30000, 1001}, {30, 1}};
const CIntPair F5[] = {{0, 0}, {12000, 1001}, {125, 10}, {15000, 1001}, {15, 1}, {24000, 1001}, {25, 1},
                       {30000, 1001}, {30, 1}};
const CIntPair F6[] = {{24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}};
const CIntPair F7[] = {{0, 0}, {10, 1}, {12, 1}, {15, 1}, {20, 1}, {24000, 1001}, {24, 1}, {25, 1},
                       {30000, 1001}, {30, 1}, {50, 1}, {60, 1}};
const CIntPair F8[] = {{0, 0}, {8, 1}, {10, 1}, {12, 1}, {15, 1}, {20, 1}, {24000, 1001}, {24, 1}, {25, 1},
                       {30000, 1001}, {30, 1}, {50, 1}, {60, 1}};
const CIntPair F9[] = {{0, 0}, {20, 1}, {24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1}, {60, 1}};
const CIntPair F10[] = {{0, 0}, {10, 1}, {12, 1}, {15, 1}, {20, 1}, {24000, 1001}, {24, 1}, {25, 1},
                        {30000, 1001}, {30, 1}};
const CIntPair F11[] = {{0, 0}, {6000, 1001}, {625, 100}, {75, 10}, {10, 1}, {12000, 1001}, {125, 10},
                        {15000, 1001}, {15, 1}, {24000, 1001}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1}, {60, 1}};
const CIntPair F12[] = {{0, 0}, {12, 1}, {15, 1}, {20, 1}, {24000, 1001}, {24, 1}, {25, 1}, {30000, 1001},
                        {30, 1}, {50, 1}, {60, 1}};

// Sizes, width x height.
const CIntPair S1[] = {{480, 320}, {720, 480}, {720, 576}};
const CIntPair S2[] = {{0, 0}, {128, 96}, {176, 144}, {240, 160}, {320, 240}, {352, 240}, {480, 272},
                       {352, 288}, {384, 288}, {480, 320}, {480, 368}, {512, 384}, {640, 480}, {704, 480},
                       {720, 480}, {704, 576}, {720, 576}, {768, 576}, {1280, 720}, {1920, 1080}};
const CIntPair S3[] = {{0, 0}, {128, 96}, {176, 144}, {240, 160}, {320, 240}, {352, 240}, {480, 272},
                       {352, 288}, {384, 288}, {480, 320}, {480, 368}, {512, 384}, {640, 480}, {704, 480},
                       {720, 480}, {960, 540}, {704, 576}, {720, 576}, {768, 576}, {1024, 576}, {960, 720},
                       {1280, 720}, {1440, 1080}, {1920, 1080}};
const CIntPair S4[] = {{0, 0}, {96, 80}, {128, 96}, {176, 144}, {220, 176}, {240, 192}, {320, 240}, {352, 288},
                       {480, 320}, {704, 576}, {1408, 1152}};
const CIntPair S5[] = {{0, 0}, {96, 80}, {128, 96}, {160, 120}, {176, 144}, {220, 176}, {240, 192}, {288, 224},
                       {320, 240}, {352, 288}, {480, 320}, {480, 368}, {704, 576}, {1408, 1152}};
const CIntPair S6[] = {{0, 0}, {128, 96}, {160, 128}, {176, 144}, {240, 176}, {240, 192}, {320, 176},
                       {320, 240}, {352, 240}, {352, 288}, {368, 208}, {384, 288}, {416, 176}, {480, 272},
                       {480, 320}, {560, 304}, {608, 336}, {624, 352}, {640, 368}, {640, 480}, {704, 480},
                       {704, 576}, {720, 480}, {720, 576}, {768, 576}, {800, 720}, {960, 528}, {960, 720},
                       {1280, 800}, {1440, 1024}, {1920, 1088}};
const CIntPair S7[] = {{0, 0}, {768, 576}};
const CIntPair S8[] = {{0, 0}, {176, 144}, {320, 240}, {352, 240}, {400, 240}, {352, 288}, {480, 320},
                       {544, 320}, {640, 480}, {720, 480}, {800, 480}, {854, 480}, {704, 576}, {720, 576},
                       {1280, 720}, {1920, 1080}};
const CIntPair S9[] = {{0, 0}, {320, 240}, {240, 260}, {480, 320}, {480, 360}, {640, 480}, {720, 480},
                       {720, 576}, {1024, 600}, {1280, 720}, {1920, 1080}};
const CIntPair S10[] = {{960, 540}, {1024, 576}, {960, 720}, {1280, 720}, {1440, 1080}, {1920, 1080}};
const CIntPair S11[] = {{0, 0}, {320, 240}, {480, 320}, {720, 480}, {720, 576}, {800, 480}, {854, 480},
                        {1280, 720}};
const CIntPair S12[] = {{0, 0}, {128, 96}, {176, 144}, {240, 176}, {240, 192}, {320, 176}, {320, 240},
                        {352, 240}, {352, 288}, {368, 208}, {384, 288}, {416, 176}, {480, 272}, {480, 320},
                        {560, 304}, {608, 336}, {624, 352}, {640, 368}, {640, 480}, {704, 480}, {704, 576},
                        {720, 480}, {720, 576}, {768, 576}, {960, 528}, {960, 720}, {1280, 720}};
const CIntPair S13[] = {{352, 240}, {352, 288}, {480, 320}};
const CIntPair S14[] = {{480, 480}, {480, 576}};

// Video bit rates, bit/s.
const int32_t V1[] = {0};
const int32_t V2[] = {96000, 128000, 256000, 320000, 384000, 512000, 640000, 768000, 900000, 1000000, 1500000,
                      2000000, 2500000, 3000000, 3500000, 4000000, 5000000, 6000000, 8000000, 10000000, 20000000};
const int32_t V3[] = {0, 64000, 96000, 128000, 160000, 192000, 256000, 320000, 384000, 448000, 512000, 640000,
                      768000, 800000, 900000, 1000000, 1200000, 1500000, 2000000};
const int32_t V4[] = {64000, 96000, 128000, 192000, 256000, 320000, 384000, 448000, 512000, 640000, 768000,
                      900000, 1000000, 1200000, 1500000};
const int32_t V5[] = {64000, 96000, 128000, 192000, 256000, 320000, 384000, 448000, 512000, 640000, 768000,
                      1000000, 1200000, 1500000};
const int32_t V6[] = {0, 64000, 96000, 128000, 160000, 192000, 256000, 320000, 384000, 448000, 512000, 640000,
                      768000, 800000, 1000000, 1200000, 1500000, 2500000};
const int32_t V7[] = {64000, 96000, 128000, 160000, 192000, 256000, 320000, 384000, 448000, 512000, 640000,
                      768000, 1000000, 1200000, 1500000, 1800000, 2000000, 2200000, 2500000, 2800000, 3000000,
                      3500000, 4000000, 5000000, 6000000, 8000000, 10000000, 20000000};
const int32_t V8[] = {96000, 128000, 256000, 512000, 640000, 768000, 1200000};
const int32_t V9[] = {0, 64000, 96000, 128000, 160000, 192000, 256000, 320000, 384000, 448000, 512000, 572000,
                      640000, 768000, 800000, 900000, 1000000, 1200000, 1500000, 1800000, 2000000, 2200000,
                      2500000, 2800000, 3000000, 3500000, 4000000, 4500000, 4800000, 5000000, 6000000, 7000000,
                      8000000, 9000000, 10000000, 12000000, 15000000, 18000000, 20000000};
const int32_t V10[] = {64000, 96000, 128000, 160000, 192000, 256000, 320000, 384000, 448000, 512000, 640000,
                       768000, 1000000, 1200000, 1500000};
const int32_t V11[] = {320000, 384000, 448000, 450000, 512000, 600000, 640000, 768000, 800000, 1000000, 1200000,
                       1500000, 1700000, 1800000, 2000000, 2500000, 3000000, 3500000, 4000000, 4500000, 5000000,
                       5500000, 6000000};
const int32_t V12[] = {128000, 192000, 256000, 320000, 384000, 400000, 448000, 460000, 500000, 512000, 640000,
                       700000, 768000, 800000, 900000, 1000000, 1200000, 1500000, 1800000, 2000000, 2500000,
                       3000000, 3500000, 4000000, 4500000, 5000000, 6000000, 9000000, 12000000};
const int32_t V13[] = {3000000, 4000000, 5000000, 6000000, 7000000, 8000000, 9000000, 10000000, 12000000,
                       15000000, 18000000, 20000000};
const int32_t V14[] = {768000, 1000000, 1200000, 1500000, 1800000, 2000000, 2500000, 3000000, 3500000, 4000000,
                       4500000, 5000000, 6000000, 7000000, 8000000};
const int32_t V15[] = {64000, 96000, 128000, 160000, 192000, 256000, 320000, 384000, 448000, 512000, 640000,
                       768000, 900000, 1000000, 1200000, 1500000};
const int32_t V16[] = {512000, 800000, 1200000, 1500000, 2500000};
const int32_t V17[] = {0, 320000, 384000, 448000, 512000, 640000, 768000, 1000000, 1200000, 1500000, 1600000,
                       1800000, 2000000, 2200000, 2500000, 2800000, 3000000, 3500000, 4000000, 5000000, 6000000,
                       8000000};
const int32_t V18[] = {1150000};
const int32_t V19[] = {0, 384000, 448000, 512000, 640000, 768000, 1000000, 1200000, 1500000, 1600000, 1800000,
                       2000000, 2200000, 2500000, 2800000, 3000000, 3500000, 4000000, 5000000, 6000000, 8000000,
                       9000000, 9800000, 10000000, 12000000, 15000000, 18000000, 20000000, 30000000};
const int32_t V20[] = {2500000, 3000000, 3500000, 4000000, 5000000, 5500000, 6000000, 6500000, 7000000, 8000000,
                       9000000, 10000000};
const int32_t V21[] = {2415000};
const int32_t V22[] = {3000000, 4000000, 5000000, 6000000, 7000000, 8000000, 9000000, 10000000, 12000000,
                       15000000, 16000000, 18000000, 20000000};
const int32_t V23[] = {1500000, 1800000, 2000000, 2500000, 3000000, 3500000, 4000000, 4500000, 5000000, 6000000,
                       7000000, 8000000};
const int32_t V24[] = {0, 64000, 96000, 128000, 160000, 192000, 256000, 320000, 384000, 448000, 512000, 640000,
                       768000, 800000, 900000, 1000000, 1200000, 1500000, 1800000, 2000000, 2200000, 2500000,
                       2800000, 3000000, 3500000, 4000000, 5000000, 6000000, 8000000, 10000000, 12000000,
                       15000000, 18000000, 21000000};
const int32_t V25[] = {96000, 128000, 160000, 192000, 256000, 320000, 384000, 448000, 512000, 640000, 768000,
                       1000000, 1200000, 1500000, 1800000, 2000000, 2200000, 2500000, 2800000, 3000000, 3500000,
                       4000000};
const int32_t V26[] = {0, 96000, 128000, 160000, 192000, 256000, 319000, 320000, 384000, 448000, 512000, 640000,
                       768000, 900000, 976000, 1000000, 1200000, 1500000, 1800000, 1953000, 2000000, 2200000,
                       2500000, 2800000, 3000000, 3500000, 4000000, 4687000, 5000000, 6000000, 7000000, 8000000,
                       9000000, 10000000, 12000000, 15000000, 18000000, 20000000, 24000000, 27000000, 30000000};

// Aspect choices of the two WMV entries.
const CIntPair WMV_ASPECTS[] = {{0, 0}, {4, 3}, {16, 9}};

// DV at 720x480 needs the 4:1:1 pixel layout; any other DV run carries nothing extra.
int DvVideoOptions(CVideoCodecInfo& entry, CEncodeOptions& options, const CMediaStreamInfo*)
{
    entry.m_extraOptions = options.m_width == 720 && options.m_height == 480 ? L"-pix_fmt yuv411p" : L"";
    return 1;
}

// Xvid gets the picture's own aspect when none is asked for.
int XvidOptions(CVideoCodecInfo&, CEncodeOptions& options, const CMediaStreamInfo*)
{
    if ((options.m_aspectNum == 0 || options.m_aspectDen == 0) && options.m_width > 0 && options.m_height > 0) {
        options.m_aspectNum = options.m_width;
        options.m_aspectDen = options.m_height;
    }
    return 1;
}

enum : uint32_t {
    Z = VIDEO_ANY_SIZE,
    F = VIDEO_ANY_FRAME_RATE,
    B = VIDEO_ANY_BIT_RATE,
    T = CODEC_THREADS,
    AC = AUDIO_ANY_CHANNELS,
    AS = AUDIO_ANY_SAMPLE_RATE,
    AB = AUDIO_ANY_BIT_RATE,
};

struct VideoEntry {
    const wchar_t* id;
    const wchar_t* name;
    const wchar_t* codec;
    uint32_t flags;
    List<CIntPair> sizes;
    CIntPair defaultSize;
    List<CIntPair> rates;
    CIntPair defaultRate;
    List<int32_t> bitRates;
    int32_t defaultBitRate;
    List<CIntPair> aspects;
    const wchar_t* extraOptions;
    CVideoCodecInfo::OptionsHook hook;
};

struct AudioEntry {
    const wchar_t* id;
    const wchar_t* name;
    const wchar_t* codec;
    uint32_t flags;
    List<int32_t> channels;
    int32_t defaultChannels;
    List<int32_t> sampleRates;
    int32_t defaultSampleRate;
    List<int32_t> bitRates;
    int32_t defaultBitRate;
};

constexpr List<CIntPair> NONE = {nullptr, 0};

const VideoEntry kVideoEntries[] = {
    {L"VC_dvvideo", L"DV (Digital Video)", L"dvvideo", B, L(S1), {720, 576}, L(F1), {30000, 1001}, L(V1), 0, NONE, L"", DvVideoOptions},
    {L"VC_flv", L"FLV", L"flv", Z | F | B, L(S2), {0, 0}, L(F2), {0, 0}, L(V2), 512000, NONE, L"", nullptr},
    {L"VC_gif", L"GIF", L"", Z, L(S3), {0, 0}, L(F3), {0, 0}, L(V1), 0, NONE, L"", nullptr},
    {L"VC_h263", L"H.263", L"h263", Z | F | B, L(S4), {0, 0}, L(F4), {0, 0}, L(V3), 0, NONE, L"", nullptr},
    {L"VC_h263.3g2", L"H.263", L"h263", Z | F | B, L(S5), {352, 288}, L(F4), {15, 1}, L(V4), 448000, NONE, L"", nullptr},
    {L"VC_h263.3gp", L"H.263", L"h263", Z | F | B, L(S5), {352, 288}, L(F4), {15, 1}, L(V5), 448000, NONE, L"", nullptr},
    {L"VC_h263p", L"H.263+", L"h263p", Z | F | B, L(S4), {0, 0}, L(F5), {0, 0}, L(V6), 0, NONE, L"", nullptr},
    {L"VC_huffyuv", L"HuffYUV", L"huffyuv", Z | F | B, L(S6), {352, 288}, L(F6), {25, 1}, L(V7), 1150000, NONE, L"", nullptr},
    {L"VC_libtheora", L"THEORA", L"libtheora", Z | F | B, L(S7), {0, 0}, L(F7), {0, 0}, L(V8), 768000, NONE, L"", nullptr},
    {L"VC_libvpx", L"VP8", L"libvpx", Z | F | B | T, L(S3), {0, 0}, L(F8), {0, 0}, L(V9), 0, NONE, L"", nullptr},
    {L"VC_libvpx_vp9", L"VP9", L"libvpx-vp9", Z | F | B | T, L(S3), {0, 0}, L(F8), {0, 0}, L(V9), 0, NONE, L"", nullptr},
    {L"VC_libx264", L"H.264", L"libx264", Z | F | B | T, L(S3), {0, 0}, L(F8), {0, 0}, L(V9), 0, NONE, L"", nullptr},
    {L"VC_libx264.3g2", L"H.264", L"libx264", Z | F | B | T, L(S5), {320, 240}, L(F4), {15, 1}, L(V4), 448000, NONE, L"", nullptr},
    {L"VC_libx264.3gp", L"H.264", L"libx264", Z | F | B | T, L(S5), {320, 240}, L(F4), {15, 1}, L(V10), 448000, NONE, L"", nullptr},
    {L"VC_libx264.Android", L"H.264", L"libx264", Z | F | B | T, L(S8), {0, 0}, L(F8), {0, 0}, L(V11), 800000, NONE, L"", nullptr},
    {L"VC_libx264.Apple", L"H.264", L"libx264", Z | F | B | T, L(S3), {0, 0}, L(F8), {0, 0}, L(V9), 0, NONE, L"", nullptr},
    {L"VC_libx264.BlackBerry", L"H.264", L"libx264", Z | F | B | T, L(S9), {480, 320}, L(F4), {25, 1}, L(V12), 700000, NONE, L"", nullptr},
    {L"VC_libx264.ts", L"H.264", L"libx264", B | T, L(S10), {1280, 720}, L(F9), {0, 0}, L(V13), 10000000, NONE, L"", nullptr},
    {L"VC_libx264.web", L"H.264 for web", L"libx264", Z | F | B | T, L(S3), {0, 0}, L(F8), {0, 0}, L(V9), 0, NONE, L"-movflags +faststart", nullptr},
    {L"VC_libx264.WindowsPhone", L"H.264", L"libx264", Z | F | B | T, L(S11), {800, 480}, L(F10), {30000, 1001}, L(V14), 2000000, NONE, L"", nullptr},
    {L"VC_libx265", L"H.265", L"libx265", Z | F | B | T, L(S3), {0, 0}, L(F8), {0, 0}, L(V9), 0, NONE, L"", nullptr},
    {L"VC_libxvid", L"Xvid", L"libxvid", Z | F | B, L(S3), {0, 0}, L(F8), {0, 0}, L(V9), 0, NONE, L"", XvidOptions},
    {L"VC_libxvid.3g2", L"Xvid", L"libxvid", Z | F | B, L(S5), {320, 240}, L(F4), {15, 1}, L(V15), 448000, NONE, L"", XvidOptions},
    {L"VC_libxvid.3gp", L"Xvid", L"libxvid", Z | F | B, L(S5), {320, 240}, L(F4), {15, 1}, L(V10), 448000, NONE, L"", XvidOptions},
    {L"VC_mjpeg", L"M-JPEG", L"mjpeg", Z | F | B, L(S12), {320, 240}, L(F11), {25, 1}, L(V16), 1200000, NONE, L"", nullptr},
    {L"VC_mpeg1video", L"MPEG1", L"mpeg1video", Z | F | B, L(S3), {0, 0}, L(F12), {0, 0}, L(V17), 0, NONE, L"", nullptr},
    {L"VC_mpeg1video.VCD", L"MPEG1", L"mpeg1video", 0, L(S13), {352, 240}, L(F1), {30000, 1001}, L(V18), 1150000, NONE, L"", nullptr},
    {L"VC_mpeg2video", L"MPEG2", L"mpeg2video", Z | F | B, L(S3), {0, 0}, L(F12), {0, 0}, L(V19), 0, NONE, L"", nullptr},
    {L"VC_mpeg2video.DVD", L"MPEG2", L"mpeg2video", 0, L(S1), {720, 480}, L(F1), {30000, 1001}, L(V20), 5000000, NONE, L"", nullptr},
    {L"VC_mpeg2video.SVCD", L"MPEG2", L"mpeg2video", 0, L(S14), {480, 480}, L(F1), {30000, 1001}, L(V21), 2415000, NONE, L"", nullptr},
    {L"VC_mpeg2video.ts", L"MPEG2", L"mpeg2video", B, L(S10), {1920, 1080}, L(F9), {0, 0}, L(V22), 12000000, NONE, L"", nullptr},
    {L"VC_mpeg4", L"MPEG-4", L"mpeg4", Z | F | B, L(S3), {0, 0}, L(F8), {0, 0}, L(V9), 0, NONE, L"", nullptr},
    {L"VC_mpeg4.3g2", L"MPEG-4", L"mpeg4", Z | F | B, L(S5), {320, 240}, L(F4), {15, 1}, L(V15), 448000, NONE, L"", nullptr},
    {L"VC_mpeg4.3gp", L"MPEG-4", L"mpeg4", Z | F | B, L(S5), {320, 240}, L(F4), {15, 1}, L(V5), 448000, NONE, L"", nullptr},
    {L"VC_mpeg4.Android", L"MPEG-4", L"mpeg4", Z | F | B, L(S8), {0, 0}, L(F8), {0, 0}, L(V11), 1000000, NONE, L"", nullptr},
    {L"VC_mpeg4.Apple", L"MPEG-4", L"mpeg4", Z | F | B, L(S3), {0, 0}, L(F8), {0, 0}, L(V9), 0, NONE, L"", nullptr},
    {L"VC_mpeg4.BlackBerry", L"MPEG-4", L"mpeg4", Z | F | B, L(S9), {320, 240}, L(F4), {15, 1}, L(V12), 640000, NONE, L"", nullptr},
    {L"VC_mpeg4.WindowsPhone", L"MPEG-4", L"mpeg4", Z | F | B, L(S11), {800, 480}, L(F10), {30000, 1001}, L(V23), 2500000, NONE, L"", nullptr},
    {L"VC_msmpeg4", L"MS MPEG-4", L"msmpeg4", Z | F | B, L(S3), {0, 0}, L(F8), {0, 0}, L(V24), 0, NONE, L"", nullptr},
    {L"VC_msmpeg4v1", L"MS MPEG-4 V1", L"msmpeg4v1", Z | F | B, L(S3), {0, 0}, L(F8), {0, 0}, L(V24), 0, NONE, L"", nullptr},
    {L"VC_msmpeg4v2", L"MS MPEG-4 V2", L"msmpeg4v2", Z | F | B, L(S3), {0, 0}, L(F8), {0, 0}, L(V24), 0, NONE, L"", nullptr},
    {L"VC_rawvideo", L"Raw Video", L"rawvideo", Z | F | B, L(S6), {352, 288}, L(F6), {25, 1}, L(V25), 1150000, NONE, L"", nullptr},
    {L"VC_wmv1", L"WMV1", L"wmv1", Z | F | B, L(S3), {0, 0}, L(F8), {0, 0}, L(V26), 0, L(WMV_ASPECTS), L"", nullptr},
    {L"VC_wmv2", L"WMV2", L"wmv2", Z | F | B, L(S3), {0, 0}, L(F8), {0, 0}, L(V26), 0, L(WMV_ASPECTS), L"", nullptr},
};

const AudioEntry kAudioEntries[] = {
    {L"AC_ac3", L"AC3", L"ac3", AC | AS | AB, L(C1), 0, L(R1), 0, L(A1), 0},
    {L"AC_ac3.DVD", L"AC3", L"ac3", AC | AS | AB, L(C1), 2, L(R2), 48000, L(A2), 192000},
    {L"AC_adpcm_ima_wav", L"ADPCM IMA", L"adpcm_ima_wav", AC | AS | AB, L(C1), 0, L(R3), 0, L(A3), 0},
    {L"AC_adpcm_ms", L"ADPCM Microsoft", L"adpcm_ms", AC | AS | AB, L(C1), 0, L(R3), 0, L(A3), 0},
    {L"AC_libfdk_aac", L"AAC", L"libfdk_aac", AC | AS | AB, L(C1), 0, L(R4), 0, L(A4), 0},
    {L"AC_libfdk_aac.3g2", L"AAC", L"libfdk_aac", AC | AS | AB, L(C2), 0, L(R5), 44100, L(A5), 96000},
    {L"AC_libfdk_aac.3gp", L"AAC", L"libfdk_aac", AC | AS | AB, L(C2), 0, L(R5), 44100, L(A6), 96000},
    {L"AC_libfdk_aac.Android", L"AAC", L"libfdk_aac", AC | AS | AB, L(C2), 0, L(R6), 0, L(A7), 0},
    {L"AC_libfdk_aac.Apple", L"AAC", L"libfdk_aac", AC | AS | AB, L(C1), 0, L(R4), 0, L(A4), 0},
    {L"AC_libfdk_aac.BlackBerry", L"AAC", L"libfdk_aac", AC | AS | AB, L(C2), 0, L(R5), 44100, L(A8), 128000},
    {L"AC_libfdk_aac.WindowsPhone", L"AAC", L"libfdk_aac", AC | AS | AB, L(C2), 0, L(R5), 44100, L(A8), 128000},
    {L"AC_libmp3lame", L"MP3", L"libmp3lame", AC | AS | AB, L(C2), 0, L(R6), 0, L(A9), 0},
    {L"AC_libmp3lame.flv", L"MP3", L"libmp3lame", AC | AS | AB, L(C2), 0, L(R7), 44100, L(A8), 128000},
    {L"AC_libopencore_amrnb", L"AMR Narrow-Band", L"libopencore_amrnb", 0, L(C3), 1, L(R8), 8000, L(A10), 6700},
    {L"AC_libvo_amrwbenc", L"AMR Wide-Band", L"libvo_amrwbenc", 0, L(C3), 1, L(R9), 16000, L(A11), 15850},
    {L"AC_libvorbis", L"VORBIS", L"libvorbis", AC | AS | AB, L(C2), 0, L(R6), 0, L(A9), 0},
    {L"AC_mp2", L"MP2", L"mp2", AC | AS | AB, L(C2), 0, L(R10), 0, L(A12), 0},
    {L"AC_mp2.DVD", L"MP2", L"mp2", AC | AS | AB, L(C2), 2, L(R2), 48000, L(A12), 192000},
    {L"AC_mp2.VCD", L"MP2", L"mp2", AC | AS | AB, L(C2), 2, L(R11), 44100, L(A12), 0},
    {L"AC_pcm_alaw", L"PCM A-law", L"pcm_alaw", AC | AS | AB, L(C1), 0, L(R3), 0, L(A3), 0},
    {L"AC_pcm_mulaw", L"PCM mu-law", L"pcm_mulaw", AC | AS | AB, L(C1), 0, L(R3), 0, L(A3), 0},
    {L"AC_pcm_s16le", L"PCM s16le", L"pcm_s16le", AC | AS | AB, L(C1), 0, L(R3), 0, L(A3), 0},
    {L"AC_pcm_s16le.dv", L"PCM s16le", L"pcm_s16le", AC | AS | AB, L(C4), 2, L(R12), 48000, L(A3), 0},
    {L"AC_wmav1", L"WMAV1", L"wmav1", AC | AS | AB, L(C2), 0, L(R13), 0, L(A13), 0},
    {L"AC_wmav2", L"WMAV2", L"wmav2", 0, L(C2), 0, L(R13), 0, L(A13), 0},
};

template <typename Entry, size_t N>
const Entry* FindEntry(const Entry (&entries)[N], const wchar_t* id)
{
    for (const Entry& entry : entries) {
        if (id && CString(entry.id).Compare(id) == 0)
            return &entry;
    }
    return nullptr;
}

template <typename Entry>
void FillCommonFields(CCodecInfo& codec, const Entry& e)
{
    codec.m_id = e.id;
    codec.m_flags = e.flags;
    codec.m_name = e.name;
    codec.m_codecName = e.codec;
    codec.m_bitRates = e.bitRates.ToVector();
    codec.m_defaultBitRate = e.defaultBitRate;
}

} // namespace

std::unique_ptr<CVideoCodecInfo> BuildVideoCodecEntry(const wchar_t* id)
{
    const VideoEntry* e = FindEntry(kVideoEntries, id);
    if (!e)
        return nullptr;
    auto entry = std::make_unique<CVideoCodecInfo>();
    FillCommonFields(*entry, *e);
    entry->m_sizes = e->sizes.ToVector();
    entry->m_defaultSize = e->defaultSize;
    entry->m_aspects = e->aspects.ToVector();
    entry->m_frameRates = e->rates.ToVector();
    entry->m_defaultFrameRate = e->defaultRate;
    entry->m_extraOptions = e->extraOptions;
    entry->m_optionsHook = e->hook;
    return entry;
}

std::unique_ptr<CAudioCodecInfo> BuildAudioCodecEntry(const wchar_t* id)
{
    const AudioEntry* e = FindEntry(kAudioEntries, id);
    if (!e)
        return nullptr;
    auto entry = std::make_unique<CAudioCodecInfo>();
    FillCommonFields(*entry, *e);
    entry->m_channels = e->channels.ToVector();
    entry->m_defaultChannels = e->defaultChannels;
    entry->m_sampleRates = e->sampleRates.ToVector();
    entry->m_defaultSampleRate = e->defaultSampleRate;
    return entry;
}
