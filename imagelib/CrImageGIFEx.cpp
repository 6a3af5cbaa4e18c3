#include "CrImageGIFEx.h"

#include "CrIOFile.h"

int CrImageGIFEx::LoadFrames(const wchar_t* path, ILoadCallback* callback)
{
    CrIOFile file;
    if (!path || !file.Open(path, L"rb"))
        return -1;
    return DecodeFrames(&file, callback);
}

int CrImageGIFEx::DecodeFrames(CrFile* file, ILoadCallback* callback)
{
    return DecodeStream(file, callback).answer;
}
