#include "ModulePaths.h"

namespace {

CModulePaths g_modulePaths;

} // namespace

CModulePaths CModulePaths::Locate(const CString& appFolder)
{
    CModulePaths paths;
    paths.m_encoder.Format(L"%s\\Modules\\Tollwick.exe", appFolder.GetString());
    paths.m_presets.Format(L"%s\\Modules\\Presets", appFolder.GetString());
    paths.m_probe.Format(L"%s\\Modules\\Harrowin.exe", appFolder.GetString());
    return paths;
}

void SetModulePaths(const CModulePaths& paths)
{
    g_modulePaths = paths;
}

const CModulePaths& GetModulePaths()
{
    return g_modulePaths;
}
