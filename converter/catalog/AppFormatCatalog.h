#pragma once
// The converter's catalogue: the video group and the device group with their built-in formats.
#include "MediaFormatCatalog.h"

class CAppFormatCatalog : public CMediaFormatCatalog {
public:
    // Loads as the base does, then turns audio off (and locks it) in every preset of the preset
    // lists: conversions from GIF carry no sound. Custom presets keep their own audio flags.
    int Load(const CString& path) override;
    void Clear() override;
    int Build() override;
    virtual int BuildVideoGroup();
    virtual int BuildDeviceGroup();
    // Loads "MediaFormats.xml" from the given per-user data folder.
    virtual int LoadDefault(const CString& dataFolder);

    static CString FileName() { return L"MediaFormats.xml"; }
};
