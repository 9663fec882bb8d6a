#include "planlock/PlanLock.h"

#include "planlock/LockPlatform.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace planlock {

namespace {

constexpr std::time_t kStaleAfter = 24 * 60 * 60;
// A lock file is a few short lines; only its first 4 KiB are read, so a
// lock padded with blanks after its lines still counts.
constexpr std::size_t kLockStart = 4096;

std::string lockText(const LockOwner &owner)
{
    std::ostringstream text;
    text << "user=" << owner.user << "\nhost=" << owner.host << "\npid=" << owner.pid
         << "\nsince=" << static_cast<long long>(owner.since) << "\n";
    return text.str();
}

std::optional<long long> wholeNumber(const std::string &text)
{
    if (text.empty() || text.size() > 18) {
        return std::nullopt;
    }
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<LockOwner> parseLock(const std::string &text)
{
    LockOwner owner;
    bool hasUser = false;
    bool hasPid = false;
    bool hasSince = false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        // A line may end in CR LF (a lock written or edited on Windows) and
        // carry blanks after its value.
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
            line.pop_back();
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "user") {
            owner.user = value;
            hasUser = true;
        } else if (key == "host") {
            owner.host = value;
        } else if (key == "pid") {
            const auto pid = wholeNumber(value);
            owner.pid = pid.value_or(0);
            hasPid = pid.has_value();
        } else if (key == "since") {
            const auto since = wholeNumber(value);
            owner.since = static_cast<std::time_t>(since.value_or(0));
            hasSince = since.has_value();
        }
    }
    if (!hasUser || !hasPid || !hasSince) {
        return std::nullopt;
    }
    return owner;
}

} // namespace

LockOwner currentOwner(std::time_t now)
{
    return LockOwner{platform::userName(), platform::hostName(), platform::processId(), now};
}

std::filesystem::path lockPathFor(const std::filesystem::path &plan)
{
    std::filesystem::path name(".");
    name += plan.filename();
    name += ".lock";
    return plan.parent_path() / name;
}

std::optional<LockOwner> readLock(const std::filesystem::path &plan)
{
    const std::optional<std::string> text = platform::readFileStart(lockPathFor(plan), kLockStart);
    return text ? parseLock(*text) : std::nullopt;
}

bool isStale(const LockOwner &owner, std::time_t now)
{
    // A start more than a day away either way: the editor's clock, or the
    // lock's, was wrong when it was written; such a lock would otherwise
    // never go.
    if (now - owner.since > kStaleAfter || owner.since - now > kStaleAfter) {
        return true;
    }
    return owner.host == platform::hostName() && !platform::processRunning(owner.pid);
}

PlanLock::~PlanLock()
{
    release();
}

PlanLock::PlanLock(PlanLock &&other) noexcept : m_plan(std::move(other.m_plan)), m_owner(std::move(other.m_owner))
{
    other.m_plan.clear();
}

PlanLock &PlanLock::operator=(PlanLock &&other) noexcept
{
    if (this != &other) {
        release();
        m_plan = std::move(other.m_plan);
        m_owner = std::move(other.m_owner);
        other.m_plan.clear();
    }
    return *this;
}

PlanLock PlanLock::acquire(const std::filesystem::path &plan, const LockOwner &me, std::time_t now)
{
    PlanLock lock;
    const std::filesystem::path path = lockPathFor(plan);
    const std::string text = lockText(me);
    // Two tries: the second after taking away a stale lock (or our own
    // left from before), which another editor may have taken meanwhile.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (platform::createExclusive(path, text)) {
            lock.m_plan = plan;
            lock.m_owner = me;
            return lock;
        }
        const std::optional<LockOwner> holder = readLock(plan);
        const bool ours = holder && holder->user == me.user && holder->host == me.host && holder->pid == me.pid;
        if (holder && !ours && !isStale(*holder, now)) {
            return lock;
        }
        // A symbolic link at the lock's name is never followed: it is no
        // lock, and removing it removes the link only.
        std::error_code ignored;
        const std::filesystem::file_status status = std::filesystem::symlink_status(path, ignored);
        if (!holder && !std::filesystem::is_regular_file(status) && !std::filesystem::is_symlink(status)) {
            return lock; // not made for another reason: a read-only folder
        }
        std::filesystem::remove(path, ignored);
    }
    return lock;
}

void PlanLock::release()
{
    if (m_plan.empty()) {
        return;
    }
    // Only our own notice goes: one taken over as stale by another editor
    // is that editor's now.
    if (readLock(m_plan) == m_owner) {
        std::error_code ignored;
        std::filesystem::remove(lockPathFor(m_plan), ignored);
    }
    m_plan.clear();
}

std::filesystem::path savedNotePathFor(const std::filesystem::path &plan)
{
    std::filesystem::path name(".");
    name += plan.filename();
    name += ".saved";
    return plan.parent_path() / name;
}

void writeSavedNote(const std::filesystem::path &plan, const LockOwner &saver)
{
    const std::filesystem::path path = savedNotePathFor(plan);
    std::error_code ignored;
    std::filesystem::remove(path, ignored); // a link goes, never what it names
    platform::createExclusive(path, lockText(saver));
}

std::optional<LockOwner> readSavedNote(const std::filesystem::path &plan)
{
    const std::optional<std::string> text = platform::readFileStart(savedNotePathFor(plan), kLockStart);
    return text ? parseLock(*text) : std::nullopt;
}

std::optional<std::uint64_t> fileDigest(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::uint64_t hash = 14695981039346656037ull;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash = (hash ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ull;
        }
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return hash;
}

} // namespace planlock
