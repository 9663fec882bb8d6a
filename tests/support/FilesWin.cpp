#include "support/Files.h"

namespace testsupport {

std::vector<std::filesystem::path> nonRegularFiles(const std::filesystem::path &)
{
    return {"NUL"};
}

} // namespace testsupport
