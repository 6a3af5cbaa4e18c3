#pragma once
// What every part of the converter reaches: the paths and shared resources, the settings and
// the format catalogue (published by the application object), the row being converted and the
// lock around removals of job rows.
#include <atomic>

class CAppPaths;
class CAppSettings;
class CAppFormatCatalog;
class CCriticalSection;

extern CAppPaths* g_pAppPaths;
extern CAppSettings* g_pAppSettings;
extern CAppFormatCatalog* g_pFormatCatalog;
extern CCriticalSection* g_pListLock;
// Written by the conversion thread, adjusted by the window thread when rows come and go; -1 idle.
extern std::atomic<int> g_nConvertRow;
