#pragma once
// The arithmetic and text rules of the skinned bars, kept free of windows so they can be checked
// on their own: slider channel and value mapping, menu mnemonics, wrapping between menu entries.
#include "CString.h"

// A rectangle in bar client coordinates (right and bottom edges excluded).
struct BarBox {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The slider's channel: half a thumb in from the item's left, room for the rest of the thumb at
// its right, as high as the thumb and centred in the item.
BarBox SliderChannel(const BarBox& item, int thumbWidth, int thumbHeight);

// The channel x of `value` within minimum..maximum (the offset from the minimum is what scales).
int SliderValueToX(const BarBox& channel, int minimum, int maximum, int value);

// The value under x (to the nearest step). A click (not dragging) must hit the item; past either
// end of the channel it gives that end's value. While dragging any x counts, clamped to the
// channel. False when the point gives no value (outside the item, empty or reversed range,
// empty channel); with minimum = maximum the value is the minimum.
bool SliderXToValue(const BarBox& item, const BarBox& channel, int minimum, int maximum, int x, int y, bool dragging,
                    int* value);

// The access key of a menu text: the character after the first single ampersand ("&&" is a
// literal ampersand); without one the first character. An ampersand is never a mnemonic: 0 then,
// as for an empty text.
wchar_t MenuMnemonic(const CString& text);

// The entry `step` (+1 or -1) away from `current` among `count`, wrapping at both ends; from no
// entry (-1) Right gives the first and Left the last.
int WrapMenuIndex(int current, int step, int count);
