#pragma once
// The decisions of the converter's controls that need no window: texts split into columns,
// frame sizes typed as "width x height", path comparison, tool-tip texts, skin states and
// gradient bands. Portable, so they are tested natively.
#include <cstdint>

#include "CString.h"

// The tool tip of a command prompt: the part after the first "\n", at most `limit` characters;
// empty when there is no "\n".
CString TipFromPrompt(const CString& prompt, int limit = 79);

// An item text cut into its two columns: at the first tab, else at the two characters "\t"
// (backslash and t); `right` is empty and `hasRight` false when neither is there.
struct ColumnTexts {
    CString left;
    CString right;
    bool hasRight = false;
};
ColumnTexts SplitColumns(const CString& text, bool backslashTToo = true);

// "%d x %d" read back; false (both 0) when the text does not start that way.
bool ParseFrameSize(const CString& text, int& width, int& height);
CString FormatFrameSize(int width, int height);
// What a size edit shows for one number: "Auto" for 0.
CString FrameSizeField(int value);
// A number typed into a size edit: its leading digits, 0 for "Auto" or anything else.
int ReadFrameSizeField(const CString& text);

// Paths compared the way the file system does: case ignored, either slash, one trailing
// separator ignored (but a drive root stays a root).
bool PathsEqual(const CString& a, const CString& b);

// Image strip state index of a skinned button: 4 disabled, 3 selected or checked, 1 hot,
// 2 focused while it has the keyboard focus, 3 checked by BM_GETCHECK, else 0.
enum : unsigned {
    SKIN_SELECTED = 0x1,
    SKIN_DISABLED = 0x4,
    SKIN_CHECKED = 0x8,
    SKIN_FOCUS = 0x10,
    SKIN_HOT = 0x40,
};
int SkinStripIndex(unsigned state, bool hasKeyboardFocus, bool buttonChecked);
// Visual-style state of a push button ("Button", part 1): 3 pressed, 2 hot, 5 defaulted,
// 4 disabled, 1 normal.
int PushButtonThemeState(unsigned state, bool isDefault);
// Visual-style state of a toolbar button ("Toolbar", part 1): 3 pressed, 5 checked, 2 hot,
// 4 disabled, 1 normal.
int ToolbarButtonThemeState(unsigned state);
// Visual-style state of a check box ("Button", part 3): 1..4 unchecked normal, hot, pushed,
// disabled; 5..8 the same checked.
int CheckBoxThemeState(bool checked, bool disabled, bool pushed, bool hot);

// One channel of gradient band i of `bands` drawn `step` wide across `extent` pixels: start +
// scale × (end − start) × (i × step) / extent, clamped to 0…255.
int GradientChannel(int start, int end, int numerator, int denominator, int offset, int extent);
