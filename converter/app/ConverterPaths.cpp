#include "ConverterPaths.h"

#include <filesystem>
#include <system_error>

#include "CatalogFiles.h"

namespace fs = std::filesystem;

namespace {

bool IsSeparator(wchar_t ch)
{
    return ch == L'/' || (kPathSeparator == L'\\' && ch == L'\\');
}

int LastSeparator(const CString& path)
{
    for (int i = path.GetLength() - 1; i >= 0; --i)
        if (IsSeparator(path[i]))
            return i;
    return -1;
}

} // namespace

CString JoinOutputPath(const CString& folder, const CString& title, const CString& extension)
{
    CString path;
    path.Format(L"%s%c%s%s", folder.GetString(), kPathSeparator, title.GetString(), extension.GetString());
    return path;
}

CString MakeUniqueFileName(const CString& folder, const CString& title, const CString& extension)
{
    CString candidate = title;
    for (int n = 1; PathExists(JoinOutputPath(folder, candidate, extension)); ++n)
        candidate.Format(L"%s (%d)", title.GetString(), n);
    return candidate;
}

CString MakeUniqueFilePath(const CString& folder, const CString& title, const CString& extension)
{
    return JoinOutputPath(folder, MakeUniqueFileName(folder, title, extension), extension);
}

void SplitOutputPath(const CString& path, CString& folder, CString& title, CString& extension)
{
    const int separator = LastSeparator(path);
    folder = separator >= 0 ? path.Left(separator) : CString();
    const CString name = path.Mid(separator + 1);
    const int dot = name.ReverseFind(L'.');
    title = dot >= 0 ? name.Left(dot) : name;
    extension = dot >= 0 ? name.Mid(dot) : CString();
}

CString GetOutputTitle(const CString& path)
{
    CString folder, title, extension;
    SplitOutputPath(path, folder, title, extension);
    return title;
}

CString GetFileNamePart(const CString& path)
{
    return path.Mid(LastSeparator(path) + 1);
}

bool PathExists(const CString& path)
{
    std::error_code error;
    return !path.IsEmpty() && fs::exists(ToFsPath(path), error);
}

bool IsSameFile(const CString& a, const CString& b)
{
    if (!PathExists(a) || !PathExists(b))
        return false;
    std::error_code error;
    const bool same = fs::equivalent(ToFsPath(a), ToFsPath(b), error);
    if (!error)
        return same;
#ifdef _WIN32
    return a.CompareNoCase(b) == 0;
#else
    return a == b;
#endif
}

bool IsAcceptableNewTitle(const CString& title)
{
    CString trimmed = title;
    if (trimmed.Trim().IsEmpty())
        return false;
    for (int i = 0; i < title.GetLength(); ++i) {
        const wchar_t ch = title[i];
        if (ch < 32 || ch == 127 || CString(L"\\/:*?\"<>|").Find(ch) >= 0)
            return false;
    }
    return true;
}

CString GetGifFilter(int full)
{
    return full ? L"Animated GIF Files (*.gif)|*.gif|All Files (*.*)|*.*||" : L"*.gif|*.*";
}
