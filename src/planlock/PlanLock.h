#pragma once

// The notice that an editor holds a plan: a small hidden file beside the
// plan file, named after it (".<plan file name>.lock"), that says who holds
// it: user name, host name, process id and since when. Plan folders are
// often shared over a network, where advisory file locks cannot be relied
// on, so the notice is only a file: it is made with exclusive creation, so
// that of two editors only one makes it, and it is read by the others. It
// is a notice and nothing more: a folder where it cannot be written only
// loses the notice, and nothing here ever refuses to open or save a plan.
//
// Texts are UTF-8 on Windows and the system's bytes elsewhere.

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace planlock {

// Who holds a plan.
struct LockOwner {
    std::string user;
    std::string host;
    long long pid = 0;
    std::time_t since = 0; // seconds since 1970-01-01 UTC
    friend bool operator==(const LockOwner &, const LockOwner &) = default;
};

// This process as a lock names it, since `now`.
LockOwner currentOwner(std::time_t now);

// The lock file of the plan file `plan`.
std::filesystem::path lockPathFor(const std::filesystem::path &plan);

// Who holds `plan` according to its lock file; nothing when there is no
// lock file or it does not read as one.
std::optional<LockOwner> readLock(const std::filesystem::path &plan);

// A lock no editor holds any more: its process is gone (on this host), or
// it is older than a day (a crashed editor on another host).
bool isStale(const LockOwner &owner, std::time_t now);

// The lock of one plan held by this process; removed when released or
// destroyed, but only while the file still names this process.
class PlanLock {
public:
    PlanLock() = default;
    ~PlanLock();
    PlanLock(PlanLock &&other) noexcept;
    PlanLock &operator=(PlanLock &&other) noexcept;
    PlanLock(const PlanLock &) = delete;
    PlanLock &operator=(const PlanLock &) = delete;

    // Takes the lock of `plan` for `me`: makes the lock file, or takes over a
    // stale one. An empty lock when another live editor holds it (see
    // `readLock`) or when the file cannot be made (a read-only folder).
    static PlanLock acquire(const std::filesystem::path &plan, const LockOwner &me, std::time_t now);

    bool held() const { return !m_plan.empty(); }
    const std::filesystem::path &plan() const { return m_plan; }
    void release();

private:
    std::filesystem::path m_plan;
    LockOwner m_owner;
};

// The note of the editor that last saved a plan: ".<plan file name>.saved"
// beside it, in the lock file's form, so that an editor about to save over
// a plan changed on disk since it opened it can say who changed it. Written
// after a save; a note that cannot be written is only lost. A link at its
// name is never followed.
std::filesystem::path savedNotePathFor(const std::filesystem::path &plan);
void writeSavedNote(const std::filesystem::path &plan, const LockOwner &saver);
std::optional<LockOwner> readSavedNote(const std::filesystem::path &plan);

// A digest of a file's content (64-bit FNV-1a), to tell whether a file
// whose size and time did not change was still written again; nothing
// when it cannot be read.
std::optional<std::uint64_t> fileDigest(const std::filesystem::path &path);

} // namespace planlock
