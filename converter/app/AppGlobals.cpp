#include "AppGlobals.h"

CAppPaths* g_pAppPaths = nullptr;
CAppSettings* g_pAppSettings = nullptr;
CAppFormatCatalog* g_pFormatCatalog = nullptr;
CCriticalSection* g_pListLock = nullptr;
std::atomic<int> g_nConvertRow{-1};
