// Decoding an image from a module resource.
#include "CrImage.h"

#include "CrMemFile.h"

#include <windows.h>

bool CrImage::LoadResource(void* resource, uint32_t formatId, void* module)
{
    HMODULE instance = static_cast<HMODULE>(module);
    HRSRC found = static_cast<HRSRC>(resource);
    DWORD size = ::SizeofResource(instance, found);
    HGLOBAL loaded = ::LoadResource(instance, found);
    if (!loaded) {
        SetLastError("Unable to load resource!");
        return false;
    }
    void* bytes = ::LockResource(loaded);
    if (!bytes)
        return false;
    CrMemFile file(static_cast<uint8_t*>(bytes), uint32_t(size));
    return Decode(&file, formatId);
}
