// Decoding through the dispatch, which tries BMP, JPEG, ICO, GIF and PNG in turn; icons are also
// asked for their second image.
#include "FuzzInput.h"

namespace {

struct PickImage : CrImage {
    explicit PickImage(int32_t n) { m_info.requestedFrame = n; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes;
    if (!fuzz::Take(data, size, CRIMAGE_FORMAT_UNKNOWN, bytes))
        return 0;
    CrImage image;
    image.SetRetrieveAllFrames(true);
    if (image.Decode(bytes.data(), uint32_t(bytes.size()), CRIMAGE_FORMAT_UNKNOWN))
        fuzz::TouchFrames(image);
    PickImage second(1);
    if (second.Decode(bytes.data(), uint32_t(bytes.size()), CRIMAGE_FORMAT_ICO))
        fuzz::Touch(second);
    return 0;
}
