#include "planio/FileReplace.h"
#include "planio/FileReplaceParts.h"

#include "plan/FilePath.h"

#include <chrono>
#include <cstring>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Temporary files younger than this may belong to a save still running (in
// another window or process) and are left alone.
constexpr std::chrono::seconds kStaleAge{60};

} // namespace

namespace filereplace {

void fail(const fs::path &path, const std::string &reason, FileFault fault, int error)
{
    throw EFCreateError("Cannot create file \"" + utf8FromPath(path) + "\". " + reason, fault, error);
}

void failSystem(const fs::path &path, int error, const std::string &detail)
{
    fail(path, std::strerror(error) + detail, FileFault::System, error);
}

fs::path temporaryName(const fs::path &folder)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return folder / (".ovilant-" + std::to_string(random() % 1000000000ULL) + ".tmp");
}

void removeStaleTemporaries(const fs::path &folder)
{
    std::error_code ec;
    const fs::path dir = folder.empty() ? fs::path(".") : folder;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path &entry = it->path();
        if (!IsReplaceTemporaryName(utf8FromPath(entry.filename()))) {
            continue;
        }
        std::error_code entryError;
        if (!fs::is_regular_file(fs::symlink_status(entry, entryError))) {
            continue;
        }
        const auto written = fs::last_write_time(entry, entryError);
        if (!entryError && now - written > kStaleAge) {
            fs::remove(entry, entryError);
        }
    }
}

} // namespace filereplace

bool IsReplaceTemporaryName(std::string_view fileName)
{
    constexpr std::string_view prefix = ".ovilant-";
    constexpr std::string_view suffix = ".tmp";
    if (fileName.size() <= prefix.size() + suffix.size() || !fileName.starts_with(prefix) ||
        !fileName.ends_with(suffix)) {
        return false;
    }
    for (const char c : fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size())) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}
