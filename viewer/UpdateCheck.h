#pragma once
// The viewer's update check: its own descriptor and product page on the maker's site (the site
// is the profile's "Settings"/"UpdateSite"). The "Check for Updates..." command runs it by hand;
// the main frame runs it automatically when start-up posts WM_CHECK_UPDATE.
void SorvikCheckForUpdates(int automatic);
