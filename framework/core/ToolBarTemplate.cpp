#include "ToolBarTemplate.h"

#include <cstring>

namespace {

uint16_t WordAt(const unsigned char* data, size_t index)
{
    return static_cast<uint16_t>(data[index * 2] | (data[index * 2 + 1] << 8));
}

} // namespace

bool ParseToolBarTemplate(const void* data, size_t bytes, ToolBarTemplate& out)
{
    out = ToolBarTemplate();
    const auto* words = static_cast<const unsigned char*>(data);
    const size_t available = data ? bytes / 2 : 0;
    if (available < 4 || WordAt(words, 0) != 1)
        return false;
    const size_t count = WordAt(words, 3);
    if (available < 4 + count)
        return false;
    out.imageWidth = WordAt(words, 1);
    out.imageHeight = WordAt(words, 2);
    for (size_t i = 0; i < count; i++)
        out.commands.push_back(WordAt(words, 4 + i));
    return true;
}
