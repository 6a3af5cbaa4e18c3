#include "FileAssociation.h"

#include <shellapi.h>

#include "SysHelpers.h"

namespace {

bool ReadDefault(HKEY root, const CString& path, CString& value)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    wchar_t buffer[512] = L"";
    DWORD size = sizeof(buffer) - sizeof(wchar_t), type = 0;
    LONG rc = ::RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    buffer[size / sizeof(wchar_t)] = 0;
    value = buffer;
    return true;
}

bool WriteDefault(HKEY root, const CString& path, const CString& value)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    DWORD bytes = static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t));
    LONG rc = ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()), bytes);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool HasSubkeys(HKEY root, const CString& path, bool& exists)
{
    HKEY key = nullptr;
    exists = ::RegOpenKeyExW(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!exists)
        return false;
    DWORD subkeys = 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    return subkeys > 0;
}

// Deletes the key and then each parent left without subkeys, never above `floor` characters
// of the path (the classes root itself).
void DeleteKeyChain(HKEY root, CString path, int floor)
{
    while (path.GetLength() > floor) {
        bool exists = false;
        if (HasSubkeys(root, path, exists) || !exists)
            return;
        if (::RegDeleteKeyW(root, path) != ERROR_SUCCESS)
            return;
        int slash = path.ReverseFind(L'\\');
        if (slash < 0)
            return;
        path = path.Left(slash);
    }
}

// The length of the classes root in front of `name` in `path`.
int ClassesFloor(const CString& path, const wchar_t* name) { return path.GetLength() - ::lstrlenW(name); }

} // namespace

CFileAssociation::CFileAssociation(const wchar_t* extension, const wchar_t* typeKey, const wchar_t* description, int iconIndex)
    : m_strExtension(extension ? extension : L""), m_strTypeKey(typeKey ? typeKey : L""),
      m_strDescription(description ? description : L""), m_nIconIndex(iconIndex)
{
}

void CFileAssociation::GetClassesKey(const wchar_t* name, HKEY& root, CString& path)
{
    COSVersion version;
    version.Query();
    if (version.IsVistaOrLater()) {
        root = HKEY_CURRENT_USER;
        path.Format(L"Software\\Classes\\%s", name);
    } else {
        root = HKEY_CLASSES_ROOT;
        path = name;
    }
}

bool CFileAssociation::DefaultIs(const CString& name, const CString& expected)
{
    if (!Usable())
        return false;
    HKEY root;
    CString path, value;
    GetClassesKey(name, root, path);
    return ReadDefault(root, path, value) && value == expected;
}

bool CFileAssociation::IsAssociated() { return DefaultIs(m_strExtension, m_strTypeKey); }

bool CFileAssociation::GetAssociation(CString& previous)
{
    previous.Empty();
    if (!Usable())
        return false;
    HKEY root;
    CString path;
    GetClassesKey(m_strExtension, root, path);
    ReadDefault(root, path, previous);
    SetAssociation(nullptr);
    return WriteDefault(root, path, m_strTypeKey);
}

bool CFileAssociation::SetAssociation(const wchar_t* previous)
{
    if (!Usable() || !IsAssociated())
        return false;
    HKEY root;
    CString path;
    GetClassesKey(m_strExtension, root, path);
    CString restore(previous ? previous : L"");
    if (!restore.IsEmpty() && restore != m_strTypeKey)
        return WriteDefault(root, path, restore);
    DeleteKeyChain(root, path, ClassesFloor(path, m_strExtension));
    // A key kept for its subkeys (other programs' entries) still loses the binding.
    bool exists = false;
    HasSubkeys(root, path, exists);
    if (exists) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(root, path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            ::RegDeleteValueW(key, nullptr);
            ::RegCloseKey(key);
        }
    }
    return true;
}

bool CFileAssociation::IsTypeRegistered() { return DefaultIs(m_strTypeKey, m_strDescription); }

bool CFileAssociation::RegisterType(const wchar_t* programPath)
{
    if (!Usable() || !programPath)
        return false;
    HKEY root;
    CString typePath;
    GetClassesKey(m_strTypeKey, root, typePath);
    CString iconText;
    if (m_nIconIndex != -1) {
        HICON icon = nullptr;
        UINT found = ::ExtractIconExW(programPath, m_nIconIndex, &icon, nullptr, 1);
        if (icon)
            ::DestroyIcon(icon);
        iconText.Format(L"%s,%d", programPath, found > 0 && icon ? m_nIconIndex : 0);
    }
    if (!WriteDefault(root, typePath, m_strDescription))
        return false;
    if (m_nIconIndex != -1 && !WriteDefault(root, typePath + L"\\DefaultIcon", iconText))
        return false;
    CString command;
    command.Format(L"\"%s\" \"%%1\"", programPath);
    CString commandKey;
    commandKey.Format(L"%s\\shell\\open\\%s", typePath.GetString(), L"command");
    return WriteDefault(root, commandKey, command);
}

bool CFileAssociation::UnregisterType()
{
    if (!Usable())
        return false;
    HKEY root;
    CString typePath;
    GetClassesKey(m_strTypeKey, root, typePath);
    int floor = ClassesFloor(typePath, m_strTypeKey);
    DeleteKeyChain(root, typePath + L"\\DefaultIcon", floor);
    DeleteKeyChain(root, typePath + L"\\shell\\open\\command", floor);
    DeleteKeyChain(root, typePath, floor);
    return true;
}
