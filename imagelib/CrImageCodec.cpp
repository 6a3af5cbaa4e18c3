// Loading and saving by format id: each attempt runs a fresh codec object, whose result moves into
// this image. Codecs this build does not have answer as unknown formats.
#include "CrImage.h"

#include "CrIOFile.h"
#include "CrImageBMP.h"
#include "CrImageGIF.h"
#include "CrImageICO.h"
#include "CrImageJPG.h"
#include "CrImagePNG.h"
#include "CrMemFile.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

const char kUnknownDecode[] = "Decode: Unknown or wrong format";

} // namespace

int CrImage::DecodeAs(uint32_t formatId, CrFile* file, int32_t start)
{
    std::unique_ptr<CrImage> codec;
    bool ok = false;
    auto run = [&](auto* typed) {
        codec.reset(typed);
        typed->CopyInfo(*this);
        ok = typed->Decode(file);
    };
    switch (formatId) {
    case CRIMAGE_FORMAT_BMP: run(new CrImageBMP); break;
    case CRIMAGE_FORMAT_GIF: run(new CrImageGIF); break;
    case CRIMAGE_FORMAT_JPG: run(new CrImageJPG); break;
    case CRIMAGE_FORMAT_PNG: run(new CrImagePNG); break;
    case CRIMAGE_FORMAT_ICO: run(new CrImageICO(0)); break;
    default:
        return -1;
    }
    if (ok) {
        Transfer(*codec, true);
        return 1;
    }
    SetLastError(codec->GetLastError());
    if (formatId == CRIMAGE_FORMAT_GIF || formatId == CRIMAGE_FORMAT_ICO)
        m_info.frameCount = codec->GetNumFrames();
    file->Seek(start, 0);
    return 0;
}

bool CrImage::Decode(CrFile* file, uint32_t formatId)
{
    if (!file) {
        SetLastError("null file handler");
        return false;
    }
    const int32_t start = file->Tell();
    if (formatId == CRIMAGE_FORMAT_UNKNOWN) {
        static const uint32_t kChain[] = {CRIMAGE_FORMAT_BMP, CRIMAGE_FORMAT_JPG, CRIMAGE_FORMAT_ICO,
                                          CRIMAGE_FORMAT_GIF, CRIMAGE_FORMAT_PNG};
        for (uint32_t id : kChain)
            if (DecodeAs(id, file, start) == 1)
                return true;
        SetLastError(kUnknownDecode);
        return false;
    }
    int result = formatId <= CRIMAGE_FORMAT_ICO ? DecodeAs(formatId, file, start) : -1;
    if (result < 0)
        SetLastError(kUnknownDecode);
    return result == 1;
}

bool CrImage::Decode(FILE* stream, uint32_t formatId)
{
    CrIOFile file(stream);
    return Decode(&file, formatId);
}

bool CrImage::Decode(uint8_t* buffer, uint32_t size, uint32_t formatId)
{
    CrMemFile file(buffer, size);
    return Decode(&file, formatId);
}

bool CrImage::Load(const wchar_t* path, uint32_t formatId)
{
    if (formatId >= CRIMAGE_FORMAT_BMP && formatId <= CRIMAGE_FORMAT_ICO) {
        CrIOFile file;
        if (!file.Open(path, L"rb"))
            return false;
        if (Decode(&file, formatId))
            return true;
    }
    // Another codec may know the file; when none does, the error of the asked format stands.
    const std::string kept = GetLastError();
    CrIOFile file;
    if (!file.Open(path, L"rb"))
        return false;
    bool ok = Decode(&file, CRIMAGE_FORMAT_UNKNOWN);
    if (!ok && formatId != CRIMAGE_FORMAT_UNKNOWN)
        SetLastError(kept.c_str());
    return ok;
}

bool CrImage::CheckEncodeArgs(CrFile* file)
{
    if (!file) {
        SetLastError("null file handler");
        return true;
    }
    if (!m_pDib) {
        SetLastError("null image!!!");
        return true;
    }
    return false;
}

int CrImage::EncodeAs(uint32_t formatId, CrFile* file)
{
    auto run = [&](auto&& codec) {
        codec.Ghost(*this);
        if (codec.Encode(file))
            return 1;
        SetLastError(codec.GetLastError());
        return 0;
    };
    switch (formatId) {
    case CRIMAGE_FORMAT_BMP: return run(CrImageBMP());
    case CRIMAGE_FORMAT_ICO: return run(CrImageICO(0));
    case CRIMAGE_FORMAT_JPG: return run(CrImageJPG());
    case CRIMAGE_FORMAT_GIF: return run(CrImageGIF());
    case CRIMAGE_FORMAT_PNG: return run(CrImagePNG());
    default:
        return -1;
    }
}

bool CrImage::Encode(CrFile* file, uint32_t formatId)
{
    int result = EncodeAs(formatId, file);
    if (result < 0)
        SetLastError("Encode: Unknown format");
    return result == 1;
}

bool CrImage::Encode(FILE* stream, uint32_t formatId)
{
    CrIOFile file(stream);
    return Encode(&file, formatId);
}

bool CrImage::Encode(uint8_t** buffer, int32_t* size, uint32_t formatId)
{
    if (!buffer || !size || *buffer) {
        SetLastError("the buffer must be empty");
        return false;
    }
    CrMemFile file;
    if (!file.Open() || !Encode(&file, formatId)) {
        file.Close();
        return false;
    }
    *size = file.Size();
    *buffer = file.GetBuffer(true);
    return true;
}

bool CrImage::Save(const wchar_t* path, uint32_t formatId)
{
    // The image goes to a temporary file beside the target, which replaces the target only once it
    // is complete: a failed save leaves an existing file as it was.
    if (!path)
        return false;
    const std::wstring temp = std::wstring(path) + L".~save";
    CrIOFile file;
    if (!file.Open(temp.c_str(), L"wb"))
        return false;
    bool ok = Encode(&file, formatId);
    ok = file.Close() && ok;
    if (ok && CrIOFile::Replace(temp.c_str(), path))
        return true;
    CrIOFile::Remove(temp.c_str());
    return false;
}
