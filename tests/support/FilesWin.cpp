#include "support/Files.h"

#include <stdexcept>

#include <windows.h>

namespace testsupport {

std::vector<std::filesystem::path> nonRegularFiles(const std::filesystem::path &)
{
    return {"NUL"};
}

HeldOpen::HeldOpen(const std::filesystem::path &path)
{
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot hold " + path.string());
    }
    m_handle = reinterpret_cast<std::intptr_t>(handle);
}

HeldOpen::~HeldOpen()
{
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

} // namespace testsupport
