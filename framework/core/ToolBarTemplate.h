#pragma once
// A toolbar resource (type 241): version 1, the button image width and height, the number of
// entries and one command id per entry, 0 for a separator; 16-bit words. Portable.
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint16_t kToolBarResourceType = 241;

struct ToolBarTemplate {
    int imageWidth = 0;
    int imageHeight = 0;
    std::vector<unsigned> commands;   // 0: separator
};

// False for a wrong version or entries past the end of the data.
bool ParseToolBarTemplate(const void* data, size_t bytes, ToolBarTemplate& out);
