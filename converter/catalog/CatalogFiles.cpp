#include "CatalogFiles.h"

#include <system_error>

namespace fs = std::filesystem;

namespace CatalogFiles {

fs::path ToPath(const CString& path)
{
#ifdef _WIN32
    return fs::path(path.str());
#else
    return fs::path(path.ToUtf8());
#endif
}

bool Exists(const CString& path)
{
    std::error_code error;
    return fs::is_regular_file(ToPath(path), error);
}

int Copy(const CString& from, const CString& to)
{
    std::error_code error;
    return fs::copy_file(ToPath(from), ToPath(to), fs::copy_options::overwrite_existing, error) ? 0 : -1;
}

int Replace(const CString& from, const CString& to)
{
    std::error_code error;
    fs::rename(ToPath(from), ToPath(to), error);
    return error ? -1 : 0;
}

void Remove(const CString& path)
{
    std::error_code error;
    fs::remove(ToPath(path), error);
}

} // namespace CatalogFiles
