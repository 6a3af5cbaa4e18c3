#pragma once
// What the encoder sends back while it runs: a WM_COPYDATA block with identifier 1010 and size
// 1136 whose payload is laid out below (little-endian). The encoder writes it and the converter
// reads it, so both include this one definition.
#include <cstddef>
#include <cstdint>

constexpr uint32_t kEncoderMessageId = 1010;
constexpr uint32_t kEncoderMessageSize = 1136;

enum : int32_t {
    ENCODER_MESSAGE_START = 2,
    ENCODER_MESSAGE_PROGRESS = 3,
    ENCODER_MESSAGE_FINISH = 5,
};

// Answers to a message: go on, stop, or refused (not ours, unknown task, bad block).
enum : int32_t {
    ENCODER_ANSWER_CONTINUE = 0,
    ENCODER_ANSWER_STOP = 1,
    ENCODER_ANSWER_REFUSED = -1,
};

// The progress of one run. The converter reads the duration, the time done and the size, and
// keeps the whole record as it came.
struct CEncoderProgress {
    int64_t m_frames;      // frames written so far
    int64_t m_duration;    // microseconds the output will last (0 when unknown)
    int64_t m_time;        // microseconds encoded so far
    int64_t m_reserved1[2];
    int64_t m_size;        // bytes written so far
    int64_t m_reserved2[3];
};

struct CEncoderMessage {
    uint32_t m_context;  // low 32 bits of the value given after " -context "
    int32_t m_kind;
    uint8_t m_reserved[1056];
    CEncoderProgress m_progress;
};

static_assert(sizeof(CEncoderProgress) == 72, "progress record layout");
static_assert(offsetof(CEncoderProgress, m_duration) == 8 && offsetof(CEncoderProgress, m_time) == 16 &&
                  offsetof(CEncoderProgress, m_size) == 40,
              "progress record layout");
static_assert(sizeof(CEncoderMessage) == kEncoderMessageSize && offsetof(CEncoderMessage, m_kind) == 4 &&
                  offsetof(CEncoderMessage, m_progress) == 1064,
              "encoder message layout");
