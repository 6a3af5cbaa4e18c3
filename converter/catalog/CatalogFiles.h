#pragma once
// The few file operations the catalogue file needs, over std::filesystem.
#include "CString.h"
#include "FsPath.h"

namespace CatalogFiles {

bool Exists(const CString& path);
// 0 when the copy (replacing an older one) was made, else -1.
int Copy(const CString& from, const CString& to);
// Moves a finished file over the target in one step; 0 or -1.
int Replace(const CString& from, const CString& to);
void Remove(const CString& path);

} // namespace CatalogFiles
