#pragma once
// The box that thumbnails are fitted into ("Thumbnail.Width" x "Thumbnail.Height"). Portable.
#include <cstdint>

constexpr int kDefaultThumbnailSide = 100;
// Sides read from the settings are kept within these, so a stray value can neither make the
// rows vanish nor ask for huge pictures.
constexpr int kMinThumbnailSide = 16;
constexpr int kMaxThumbnailSide = 512;

int BoundThumbnailSide(int side);

// Whether a width x height picture must shrink to fit the box (it is never enlarged), and the
// size it then gets: the box's width or height, the other side in proportion, at least 1.
bool FitThumbnailSize(int width, int height, int boxWidth, int boxHeight, int& fitWidth, int& fitHeight);

// When the output's frame is grabbed for its thumbnail: 100 ms in, past a dark first frame,
// but at the start of an output too short to have a frame there (a one-frame GIF).
int ThumbnailGrabTimeMs(int64_t sourceDurationUs, int64_t sourceFrames);
