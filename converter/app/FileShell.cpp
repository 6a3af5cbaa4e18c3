#include "FileShell.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "SysHelpers.h"

namespace {

// The shell's path lists end in two NULs; texts longer than its 1023-character buffers are
// refused rather than cut.
bool ToShellList(const CString& paths, std::vector<wchar_t>& list)
{
    if (paths.GetLength() > 1023)
        return false;
    list.assign(paths.GetString(), paths.GetString() + paths.GetLength());
    for (wchar_t& ch : list)
        if (ch == L'|')
            ch = L'\0';
    list.push_back(L'\0');
    list.push_back(L'\0');
    return true;
}

// 0 when the shell carried the operation out and the user did not abort it.
int ShellOperation(UINT function, const CString& from, const CString& to, FILEOP_FLAGS flags, HWND owner)
{
    std::vector<wchar_t> fromList, toList;
    if (!ToShellList(from, fromList) || !ToShellList(to, toList))
        return -1;
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = function;
    operation.pFrom = fromList.data();
    operation.pTo = toList.data();
    operation.fFlags = flags;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted ? 0 : -1;
}

CString SpecialFolder(int folder, bool create)
{
    wchar_t path[MAX_PATH] = L"";
    if (!SHGetSpecialFolderPathW(nullptr, path, folder, create))
        return CString();
    return path;
}

} // namespace

bool CopyFilesTo(const CString& sources, const CString& destination, bool destinationIsFolder, FILEOP_FLAGS flags,
                 HWND owner)
{
    const CString folder = destinationIsFolder ? destination : GetFileDirectory(destination);
    if (!CreateDirectoryTree(folder))
        return false;
    return ShellOperation(FO_COPY, sources, destination, flags, owner) == 0;
}

int RenameFileShell(const CString& from, const CString& to, FILEOP_FLAGS flags, HWND owner)
{
    if (from.Find(L'|') >= 0 || to.Find(L'|') >= 0)
        return 0;
    return ShellOperation(FO_RENAME, from, to, flags, owner) == 0 ? 1 : 0;
}

int DeleteFileIfExists(const CString& path)
{
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return 1;
    return DeleteFileW(path) ? 0 : -1;
}

int MoveFileReplace(const CString& from, const CString& to)
{
    // In one step, so the file at the target goes only when the new one takes its place.
    return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) ? 0 : -1;
}

CString GetPathTitle(const CString& path)
{
    const size_t size = static_cast<size_t>(path.GetLength()) + 4;
    std::vector<wchar_t> drive(size), folder(size), name(size), extension(size);
    if (_wsplitpath_s(path, drive.data(), size, folder.data(), size, name.data(), size, extension.data(), size) != 0)
        return CString();
    return name.data();
}

int GetSysIconIndex(const CString& path, UINT extraFlags)
{
    const DWORD attributes = PathIsDirectoryW(path) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(path, attributes, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | extraFlags))
        return -1;
    return info.iIcon;
}

CString GetMyVideosFolder(bool create)
{
    return SpecialFolder(CSIDL_MYVIDEO, create);
}

CString GetMyMusicFolder(bool create)
{
    return SpecialFolder(CSIDL_MYMUSIC, create);
}
