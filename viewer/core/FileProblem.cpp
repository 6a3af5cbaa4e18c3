#include "FileProblem.h"

#include <cstring>

#include "ViewerFiles.h"

int DiagnoseUnplayableFile(const CString& path)
{
    if (!ViewerFiles::FileExists(path))
        return ViewerFiles::FolderExists(path) ? PROBLEM_NOT_GIF : PROBLEM_MISSING;
    FILE* file = ViewerFiles::Open(path, "rb");
    if (!file)
        return PROBLEM_UNREADABLE;
    unsigned char head[8] = {};
    size_t got = fread(head, 1, sizeof head, file);
    bool failed = ferror(file) != 0;
    fclose(file);
    if (failed)
        return PROBLEM_UNREADABLE;
    if (got == 0)
        return PROBLEM_EMPTY;
    auto startsWith = [&](const char* magic, size_t length) { return got >= length && memcmp(head, magic, length) == 0; };
    if (startsWith("GIF8", 4))
        return PROBLEM_DAMAGED_GIF;
    if (startsWith("\x89PNG", 4))
        return PROBLEM_PNG;
    if (startsWith("\xFF\xD8\xFF", 3))
        return PROBLEM_JPEG;
    if (startsWith("BM", 2))
        return PROBLEM_BMP;
    if (startsWith("\0\0\1\0", 4))
        return PROBLEM_ICO;
    return PROBLEM_NOT_GIF;
}

const wchar_t* ProblemText(int problem)
{
    switch (problem) {
    case PROBLEM_MISSING:
        return L"The file does not exist.";
    case PROBLEM_UNREADABLE:
        return L"The file cannot be read.";
    case PROBLEM_EMPTY:
        return L"The file is empty.";
    case PROBLEM_DAMAGED_GIF:
        return L"The GIF data is damaged.";
    case PROBLEM_PNG:
        return L"This is a PNG picture, not a GIF animation.";
    case PROBLEM_JPEG:
        return L"This is a JPEG picture, not a GIF animation.";
    case PROBLEM_BMP:
        return L"This is a BMP picture, not a GIF animation.";
    case PROBLEM_ICO:
        return L"This is an icon, not a GIF animation.";
    case PROBLEM_NOT_GIF:
        return L"This is not a GIF file.";
    default:
        return L"The file cannot be played.";
    }
}
