#include "TempFileGuard.h"

#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

#include "CatalogFiles.h"

CTempFileGuard::~CTempFileGuard()
{
    if (!m_delete || m_path.IsEmpty())
        return;
    const std::filesystem::path path = ToFsPath(m_path);
    std::error_code error;
    while (std::filesystem::exists(path, error) && !std::filesystem::remove(path, error) && m_tries > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        --m_tries;
    }
}
