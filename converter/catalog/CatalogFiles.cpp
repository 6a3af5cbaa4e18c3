#include "CatalogFiles.h"

#include "FsPath.h"

#include <system_error>

namespace fs = std::filesystem;

namespace CatalogFiles {

bool Exists(const CString& path)
{
    std::error_code error;
    return fs::is_regular_file(ToFsPath(path), error);
}

int Copy(const CString& from, const CString& to)
{
    std::error_code error;
    return fs::copy_file(ToFsPath(from), ToFsPath(to), fs::copy_options::overwrite_existing, error) ? 0 : -1;
}

int Replace(const CString& from, const CString& to)
{
    std::error_code error;
    fs::rename(ToFsPath(from), ToFsPath(to), error);
    return error ? -1 : 0;
}

void Remove(const CString& path)
{
    std::error_code error;
    fs::remove(ToFsPath(path), error);
}

} // namespace CatalogFiles
