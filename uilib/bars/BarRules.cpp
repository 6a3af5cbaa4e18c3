#include "BarRules.h"

#include <algorithm>
#include <cstdint>

BarBox SliderChannel(const BarBox& item, int thumbWidth, int thumbHeight)
{
    BarBox channel;
    channel.left = item.left + thumbWidth / 2;
    channel.right = item.right - thumbWidth + thumbWidth / 2;
    channel.top = item.top + (item.Height() - thumbHeight) / 2;
    channel.bottom = channel.top + thumbHeight;
    return channel;
}

int SliderValueToX(const BarBox& channel, int minimum, int maximum, int value)
{
    if (value <= minimum || maximum <= minimum)
        return channel.left;
    if (value >= maximum)
        return channel.right;
    int64_t offset = static_cast<int64_t>(channel.Width()) * (static_cast<int64_t>(value) - minimum) /
                     (static_cast<int64_t>(maximum) - minimum);
    return channel.left + static_cast<int>(offset);
}

bool SliderXToValue(const BarBox& item, const BarBox& channel, int minimum, int maximum, int x, int y, bool dragging,
                    int* value)
{
    if (maximum < minimum || channel.Width() <= 0)
        return false;
    if (maximum == minimum) {
        *value = minimum;
        return true;
    }
    if (!dragging) {
        if (!item.Contains(x, y))
            return false;
        if (x > channel.right) {
            *value = maximum;
            return true;
        }
        if (x < channel.left) {
            *value = minimum;
            return true;
        }
    }
    x = std::clamp(x, channel.left, channel.right);
    int64_t range = static_cast<int64_t>(maximum) - minimum;
    int64_t halfStep = channel.Width() / (2 * range);
    int64_t steps = range * (x + halfStep - channel.left) / channel.Width();
    *value = static_cast<int>(minimum + std::min(steps, range));
    return true;
}

wchar_t MenuMnemonic(const CString& text)
{
    for (int i = 0; i + 1 < text.GetLength(); i++) {
        if (text[i] != L'&')
            continue;
        if (text[i + 1] != L'&')
            return text[i + 1];
        i++;   // a literal ampersand
    }
    return text.IsEmpty() || text[0] == L'&' ? 0 : text[0];
}

int WrapMenuIndex(int current, int step, int count)
{
    if (count <= 0)
        return -1;
    int next = current + step;
    if (next < 0)
        return count - 1;
    return next >= count ? 0 : next;
}
