#include "ShellMenuRegistrar.h"

#include <windows.h>
#include <shellapi.h>

#include "ConverterInfo.h"
#include "SysHelpers.h"

namespace {

const wchar_t* const kHandlerParents[] = {L"*\\ShellEx\\ContextMenuHandlers", L"Folder\\ShellEx\\ContextMenuHandlers"};

CString HandlerName()
{
    CString name;
    name.Format(L"%s.%s", kMakerName, kProgramName);
    return name;
}

} // namespace

int CShellMenuRegistrar::Register(bool on)
{
    if (on)
        return RegisterDll();
    UnregisterShellMenu();
    return 0;
}

int CShellMenuRegistrar::RegisterDll()
{
    CString path;
    path.Format(L"%s\\%s", GetAppFolder().GetString(), m_library.GetString());
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return -1;
    CString parameters;
    parameters.Format(L"/s /c \"%s\"", path.GetString());
    ShellExecuteW(nullptr, nullptr, L"regsvr32.exe", parameters, nullptr, SW_HIDE);
    return 0;
}

int UnregisterShellMenu()
{
    int removed = 0;
    for (const wchar_t* parent : kHandlerParents) {
        HKEY key;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, parent, 0, KEY_WRITE, &key) != ERROR_SUCCESS)
            continue;
        if (RegDeleteKeyW(key, HandlerName()) == ERROR_SUCCESS)
            ++removed;
        RegCloseKey(key);
    }
    return removed;
}

int IsShellMenuRegistered()
{
    int found = 0;
    for (const wchar_t* parent : kHandlerParents) {
        CString path;
        path.Format(L"%s\\%s", parent, HandlerName().GetString());
        HKEY key;
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            ++found;
            RegCloseKey(key);
        }
    }
    return found;
}
