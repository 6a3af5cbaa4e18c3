#include "ThumbnailBox.h"

int BoundThumbnailSide(int side)
{
    if (side < kMinThumbnailSide)
        return kMinThumbnailSide;
    return side > kMaxThumbnailSide ? kMaxThumbnailSide : side;
}

bool FitThumbnailSize(int width, int height, int boxWidth, int boxHeight, int& fitWidth, int& fitHeight)
{
    fitWidth = width;
    fitHeight = height;
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return false;
    if (width <= boxWidth && height <= boxHeight)
        return false;
    if (static_cast<double>(width) / height >= static_cast<double>(boxWidth) / boxHeight) {
        fitWidth = boxWidth;
        fitHeight = static_cast<int>(static_cast<double>(height) * boxWidth / width);
    } else {
        fitHeight = boxHeight;
        fitWidth = static_cast<int>(static_cast<double>(width) * boxHeight / height);
    }
    if (fitWidth < 1)
        fitWidth = 1;
    if (fitHeight < 1)
        fitHeight = 1;
    return true;
}

int ThumbnailGrabTimeMs(int64_t sourceDurationUs, int64_t sourceFrames)
{
    constexpr int kGrabMs = 100;
    if (sourceFrames == 1 || sourceDurationUs < 2 * kGrabMs * 1000)
        return 0;
    return kGrabMs;
}
