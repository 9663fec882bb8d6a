#include "report/FileReplace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Creates `path` for writing, failing when it already exists. A path holds
// wide characters on Windows, which only the wide-character open takes.
std::FILE *openNew(const fs::path &path)
{
#ifdef _WIN32
    return ::_wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

[[noreturn]] void fail(const std::string &path, const std::string &reason)
{
    throw EFCreateError("Cannot create file \"" + path + "\". " + reason);
}

// A temporary file beside `target` (a short hidden name, so that a long
// target name cannot make it too long), created exclusively so that an
// existing file is never reused.
std::FILE *createTemporary(const fs::path &target, fs::path &temporary)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto suffix = std::to_string(random() % 1000000000ULL);
        temporary = target.parent_path() / (".ovilant-" + suffix + ".tmp");
        errno = 0;
        if (std::FILE *file = openNew(temporary)) {
            return file;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return nullptr;
}

} // namespace

void ReplaceFile(const std::string &path, std::string_view bytes)
{
    const fs::path target(path);
    if (target.filename().empty()) {
        fail(path, "No file name.");
    }
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        fail(path, "It is a folder.");
    }
    fs::path temporary;
    std::FILE *file = createTemporary(target, temporary);
    if (file == nullptr) {
        fail(path, std::strerror(errno));
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = ok ? 0 : errno;
    if (std::fflush(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok) {
        fs::rename(temporary, target, ec);
        if (ec) {
            ok = false;
            error = ec.value();
        }
    }
    if (!ok) {
        fs::remove(temporary, ec);
        fail(path, std::strerror(error));
    }
}
