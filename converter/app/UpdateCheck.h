#pragma once
// The converter's update check: its own descriptor and product page on the maker's site (the
// site is the profile's "Settings"/"UpdateSite"). The "Check for Updates..." command runs it by
// hand; the main dialog runs it automatically on WM_CHECK_UPDATE, which it posts to itself at
// start when "AutoCheckUpdate" is set.
#include <windows.h>

constexpr UINT WM_CHECK_UPDATE = 0x59A;   // wParam 0, lParam 1: automatic

void TalvenaCheckForUpdates(int automatic);
