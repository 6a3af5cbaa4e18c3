#include "PathRules.h"

CString MakeLongPath(const CString& path)
{
    if (path.GetLength() < kLongPathThreshold || path.Left(4) == L"\\\\?\\")
        return path;
    CString normal = path;
    normal.Replace(L'/', L'\\');
    if (normal.Left(2) == L"\\\\")
        return L"\\\\?\\UNC\\" + normal.Mid(2);
    return L"\\\\?\\" + normal;
}
