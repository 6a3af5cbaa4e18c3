// BMP decoding, with and without the file header, through the codec and through the dispatch.
#include "CrImageBMP.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes;
    if (!fuzz::Take(data, size, CRIMAGE_FORMAT_BMP, bytes))
        return 0;
    CrImageBMP bmp;
    CrMemFile file(bytes.data(), uint32_t(bytes.size()));
    if (bmp.Decode(&file))
        fuzz::Touch(bmp);
    return 0;
}
