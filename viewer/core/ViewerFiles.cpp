#include "ViewerFiles.h"

#include "FsPath.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include "SysHelpers.h"
#endif

namespace fs = std::filesystem;

namespace ViewerFiles {
namespace {

int LastSeparator(const CString& path)
{
    int slash = path.ReverseFind(L'/');
    int backslash = path.ReverseFind(L'\\');
    return slash > backslash ? slash : backslash;
}

} // namespace

bool FileExists(const CString& path)
{
    std::error_code error;
    return !path.IsEmpty() && fs::is_regular_file(ToFsPath(path), error);
}

bool FolderExists(const CString& path)
{
    std::error_code error;
    return !path.IsEmpty() && fs::is_directory(ToFsPath(path), error);
}

bool PathExists(const CString& path)
{
    std::error_code error;
    return !path.IsEmpty() && fs::exists(ToFsPath(path), error);
}

int64_t FileSize(const CString& path)
{
#ifdef _WIN32
    return GetFileSize64(path);
#else
    std::error_code error;
    uintmax_t size = fs::file_size(ToFsPath(path), error);
    return error ? -1 : static_cast<int64_t>(size);
#endif
}

CString FileNamePart(const CString& path) { return path.Mid(LastSeparator(path) + 1); }

CString FolderPart(const CString& path)
{
    int at = LastSeparator(path);
    return at < 0 ? CString() : path.Left(at);
}

CString JoinPath(const CString& folder, const CString& name)
{
    if (folder.IsEmpty())
        return name;
    wchar_t last = folder[folder.GetLength() - 1];
    if (last == L'\\' || last == L'/')
        return folder + name;
    return folder + kSeparator + name;
}

CString LowerExtension(const CString& path)
{
    CString name = FileNamePart(path);
    int dot = name.ReverseFind(L'.');
    if (dot < 0)
        return CString();
    CString extension = name.Mid(dot);
    return extension.MakeLower();
}

bool CreateFolderTree(const CString& path)
{
#ifdef _WIN32
    CString native = path;
    native.Replace(L'/', L'\\');
    return CreateDirectoryTree(native);
#else
    std::error_code error;
    fs::create_directories(ToFsPath(path), error);
    return FolderExists(path);
#endif
}

bool RemoveFile(const CString& path)
{
    std::error_code error;
    return fs::is_regular_file(ToFsPath(path), error) && fs::remove(ToFsPath(path), error);
}

bool RemoveEmptyFolder(const CString& path)
{
    std::error_code error;
    return fs::is_directory(ToFsPath(path), error) && fs::is_empty(ToFsPath(path), error) && fs::remove(ToFsPath(path), error);
}

std::vector<CString> FileNames(const CString& folder)
{
    std::vector<CString> names;
    std::error_code error;
    for (fs::directory_iterator it(ToFsPath(folder), error), end; !error && it != end; it.increment(error)) {
        std::error_code kind;
        if (it->is_regular_file(kind))
            names.push_back(FromFsPath(it->path().filename()));
    }
    return names;
}

FILE* Open(const CString& path, const char* mode)
{
#ifdef _WIN32
    return _wfopen(path, CString(mode));
#else
    return fopen(path.ToUtf8().c_str(), mode);
#endif
}

bool ReadAll(const CString& path, std::string& bytes)
{
    bytes.clear();
    FILE* file = Open(path, "rb");
    if (!file)
        return false;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    bool ok = !ferror(file);
    fclose(file);
    return ok;
}

int WriteReplacing(const CString& path, const std::string& bytes)
{
    CString temporary = path + L".saving";
    FILE* file = Open(temporary, "wb");
    if (!file)
        return -1;
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = fflush(file) == 0 && written;
    written = fclose(file) == 0 && written;
    std::error_code error;
    if (written)
        fs::rename(ToFsPath(temporary), ToFsPath(path), error);
    if (!written || error) {
        fs::remove(ToFsPath(temporary), error);
        return -1;
    }
    return 0;
}

std::string ToSystemCodePage(const CString& text)
{
#ifdef _WIN32
    std::string out;
    if (WideToAnsi(text, out) < 0)
        return std::string();
    return out;
#else
    return text.ToUtf8();
#endif
}

CString FromSystemCodePage(const std::string& text)
{
#ifdef _WIN32
    CString out;
    AnsiToWide(text.c_str(), out);
    return out;
#else
    return CString::FromUtf8(text.c_str());
#endif
}

} // namespace ViewerFiles
