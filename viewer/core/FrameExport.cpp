#include "FrameExport.h"

#include "CrImage.h"
#include "PlayCommands.h"

const wchar_t kFrameFormatRefused[] =
    L"A frame can be saved only as a JPEG (.jpg), PNG (.png) or BMP (.bmp) file. Please choose one of these types.";

int SaveFrameImage(const CrImage& frame, const CString& path, CString& error)
{
    const int format = FrameSaveFormat(path);
    if (format == 0) {
        error = kFrameFormatRefused;
        return -1;
    }
    CrImage copy(frame);
    copy.SetRetrieveAllFrames(false);
    if (copy.IsValid() && copy.IncreaseBpp(24) && copy.Save(path, uint32_t(format)))
        return 0;
    error = CString::FromUtf8(copy.GetLastError());
    if (error.IsEmpty())
        error = L"The frame could not be saved.";
    return -1;
}
