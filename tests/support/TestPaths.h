#pragma once
// Paths of test inputs and scratch files, the same on both configurations.
// Under Wine the Unix root is drive Z:, so source-tree paths get that drive.
#include <string>

inline std::string SourcePath(const std::string& relative)
{
#ifdef _WIN32
    return std::string("Z:") + SUITE_SOURCE_DIR + "/" + relative;
#else
    return std::string(SUITE_SOURCE_DIR) + "/" + relative;
#endif
}
