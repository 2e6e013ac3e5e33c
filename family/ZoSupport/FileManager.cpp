#include "FileManager.h"

#include <filesystem>
#include <system_error>

CString CFileManager::GetCurrentDirectory() const
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return error ? CString() : CString(current.string().c_str());
}
