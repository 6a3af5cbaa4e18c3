#pragma once
// What the library's windows borrow from the program that uses them: the hand cursor of its links
// and buttons and the font of its drawn menu bar. Each program hands over its own once at start-up;
// until it does (tests, a library build without them) the library falls back on resources of its own.
#include <windows.h>

void SetLibHandCursor(HCURSOR cursor);
HCURSOR GetLibHandCursor();

void SetLibMenuFont(HFONT font);
HFONT GetLibMenuFont();
