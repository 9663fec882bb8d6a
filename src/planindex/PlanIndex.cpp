#include "planindex/PlanIndex.h"

#include "plan/FilePath.h"

#include "pdfreader/PdfInputStream.h"
#include "pdfreader/PdfReadError.h"
#include "pdfreader/ReadOnlyFile.h"
#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planio/PlanRead.h"
#include "planindex/ReviewDue.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <exception>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <variant>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace planindex {

namespace {

// One state of a file. Writing a file changes its change time, even when
// its old size and modification time are put back afterwards (cp -p, a
// restore from a backup); a file replaced by another has another inode.
struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t mtime = 0; // nanoseconds
    std::uint64_t inode = 0;
    std::int64_t ctime = 0; // nanoseconds
    bool operator==(const FileStamp &) const = default;
};

// The stamp of a regular file (links followed); none for anything else.
std::optional<FileStamp> stampOf(const fs::path &path)
{
#ifdef _WIN32
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    const fs::file_time_type time = fs::last_write_time(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return FileStamp{size, std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count(), 0, 0};
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        return std::nullopt;
    }
    const auto nanoseconds = [](const timespec &t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    };
    return FileStamp{static_cast<std::uintmax_t>(info.st_size), nanoseconds(info.st_mtim),
                     static_cast<std::uint64_t>(info.st_ino), nanoseconds(info.st_ctim)};
#endif
}

// What the cache keeps of one file.
struct Entry {
    FileStamp stamp;
    bool isPlan = false;
    IndexedPlan plan;    // when isPlan
    RefusedFile refused; // otherwise
};

constexpr std::string_view kCacheHeader = "OVILANT-PLANINDEX 2\n";
constexpr std::string_view kCacheEnd = "E\n";
// A cache is a few hundred bytes a file; a larger one is not ours.
constexpr std::int64_t kMaxCacheBytes = 64 * 1024 * 1024;

// The cache file: the header, then one record per file, then kCacheEnd. A
// record is a kind letter ('P' a plan, 'R' a refused file) followed by its
// fields, each written as its byte count, ':' and the bytes, then the
// checksum of all that as one more field, and ends with a line break. Every
// byte may appear inside a field.
//
// The checksum is 64-bit FNV-1a, which any change of a single byte alters.
std::uint64_t checksum(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

void putField(std::string &out, std::string_view field)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, field.size()).ptr;
    out.append(digits, end);
    out += ':';
    out += field;
}

template <typename T> void putNumber(std::string &out, T value)
{
    putField(out, std::to_string(value));
}

class CacheReader {
public:
    explicit CacheReader(std::string_view text) : m_text(text) {}

    bool literal(std::string_view expected)
    {
        if (m_text.substr(m_at, expected.size()) != expected) {
            return false;
        }
        m_at += expected.size();
        return true;
    }
    bool atEnd() const { return m_at == m_text.size(); }
    char peek() const { return m_at < m_text.size() ? m_text[m_at] : '\0'; }
    std::size_t at() const { return m_at; }
    // The bytes from `from` to the current place.
    std::string_view since(std::size_t from) const { return m_text.substr(from, m_at - from); }

    bool field(std::string &out)
    {
        std::size_t length = 0;
        const char *begin = m_text.data() + m_at;
        const char *end = m_text.data() + m_text.size();
        const auto [ptr, ec] = std::from_chars(begin, end, length);
        if (ec != std::errc() || ptr == begin || ptr == end || *ptr != ':') {
            return false;
        }
        m_at += static_cast<std::size_t>(ptr - begin) + 1;
        if (length > m_text.size() - m_at) {
            return false;
        }
        out.assign(m_text.substr(m_at, length));
        m_at += length;
        return true;
    }
    template <typename T> bool number(T &out)
    {
        std::string text;
        if (!field(text)) {
            return false;
        }
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
        return ec == std::errc() && ptr == text.data() + text.size() && !text.empty();
    }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

std::optional<TDateTime> readDate(const std::string &text)
{
    TDateTime date = 0;
    if (ParseEraDate(text, date)) {
        return date;
    }
    return std::nullopt;
}

std::string fileNameOf(const std::string &path)
{
#ifdef _WIN32
    return utf8FromPath(pathFromUtf8(path).filename());
#else
    // What follows the last "/", as filename() has it, without splitting
    // the whole path.
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
#endif
}

// The cache file's bytes. It is opened as a plan file is: only a regular
// file of at most kMaxCacheBytes is read, and a FIFO or a device there is
// passed over without waiting on it or reading it without end.
std::optional<std::string> readCacheFile(const fs::path &cacheFile)
{
    try {
        const auto stream = TPdfInputStream::fromFile(cacheFile.string());
        if (stream->size() > kMaxCacheBytes) {
            return std::nullopt;
        }
        return stream->read(stream->size());
    } catch (const EPdfReadError &) {
        return std::nullopt;
    }
}

// The cached entries by path; empty when the file is missing, is no cache
// file or does not read back completely. An entry whose checksum fails is
// left out: its file is read again.
std::map<std::string, Entry> loadCache(const fs::path &cacheFile)
{
    std::map<std::string, Entry> entries;
    if (cacheFile.empty()) {
        return entries;
    }
    const std::optional<std::string> text = readCacheFile(cacheFile);
    if (!text) {
        return entries;
    }
    CacheReader r(*text);
    if (!r.literal(kCacheHeader)) {
        return {};
    }
    while (!r.literal(kCacheEnd)) {
        const std::size_t start = r.at();
        const char kind = r.peek();
        if (kind != 'P' && kind != 'R') {
            return {};
        }
        r.literal(std::string_view(&kind, 1));
        std::string path;
        Entry e;
        FileStamp &stamp = e.stamp;
        if (!r.field(path) || !r.number(stamp.size) || !r.number(stamp.mtime) || !r.number(stamp.inode) ||
            !r.number(stamp.ctime)) {
            return {};
        }
        e.isPlan = kind == 'P';
        if (e.isPlan) {
            IndexedPlan &p = e.plan;
            if (!r.field(p.name) || !r.number(p.sex) || !r.field(p.birthText) || !r.number(p.kaigoLevel) ||
                !r.field(p.planDateText)) {
                return {};
            }
            for (int n = 1; n <= kTeamMembers; ++n) {
                if (!r.field(p.team[static_cast<std::size_t>(n)])) {
                    return {};
                }
            }
            p.path = path;
            p.fileName = fileNameOf(path);
            p.birthDate = readDate(p.birthText);
            p.planDate = readDate(p.planDateText);
        } else {
            RefusedFile &f = e.refused;
            if (!r.field(f.text) || !r.field(f.messageFileName)) {
                return {};
            }
            f.path = path;
            f.fileName = fileNameOf(path);
        }
        const std::uint64_t sum = checksum(r.since(start));
        std::uint64_t stored = 0;
        if (!r.number(stored) || !r.literal("\n")) {
            return {};
        }
        if (stored == sum) {
            entries[path] = std::move(e);
        }
    }
    if (!r.atEnd()) {
        return {};
    }
    return entries;
}

// Writes the whole cache to a temporary file beside it and renames that
// over the cache. Any failure leaves the old cache (or none) in place.
void storeCache(const fs::path &cacheFile, const std::map<std::string, Entry> &entries, const fs::path &folder)
{
    std::string out(kCacheHeader);
    // The folder just indexed first, then the others, as long as the cache
    // stays within what is read back: a record that would pass the bound is
    // left out, and its file read again next time.
    std::vector<const std::pair<const std::string, Entry> *> order;
    for (const auto &item : entries) {
        if (fs::path(item.first).parent_path() == folder) {
            order.push_back(&item);
        }
    }
    for (const auto &item : entries) {
        if (fs::path(item.first).parent_path() != folder) {
            order.push_back(&item);
        }
    }
    for (const auto *item : order) {
        const std::string &path = item->first;
        const Entry &e = item->second;
        const std::size_t start = out.size();
        out += e.isPlan ? 'P' : 'R';
        putField(out, path);
        putNumber(out, e.stamp.size);
        putNumber(out, e.stamp.mtime);
        putNumber(out, e.stamp.inode);
        putNumber(out, e.stamp.ctime);
        if (e.isPlan) {
            putField(out, e.plan.name);
            putNumber(out, e.plan.sex);
            putField(out, e.plan.birthText);
            putNumber(out, e.plan.kaigoLevel);
            putField(out, e.plan.planDateText);
            for (int n = 1; n <= kTeamMembers; ++n) {
                putField(out, e.plan.team[static_cast<std::size_t>(n)]);
            }
        } else {
            putField(out, e.refused.text);
            putField(out, e.refused.messageFileName);
        }
        putNumber(out, checksum(std::string_view(out).substr(start)));
        out += '\n';
        if (out.size() + kCacheEnd.size() > static_cast<std::size_t>(kMaxCacheBytes)) {
            out.resize(start);
        }
    }
    out += kCacheEnd;

    std::error_code ec;
    if (cacheFile.has_parent_path()) {
        fs::create_directories(cacheFile.parent_path(), ec);
    }
    std::random_device random;
    fs::path temporary = cacheFile;
    temporary += ".tmp" + std::to_string(random());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
        file.close();
        if (!file) {
            fs::remove(temporary, ec);
            return;
        }
    }
    fs::rename(temporary, cacheFile, ec);
    if (ec) {
        fs::remove(temporary, ec);
    }
}

// What the index keeps of one text: its first kKeptTextBytes bytes, cut
// before a double-byte character that would not fit. Every value a save
// allows (a name or a team member of at most 50 bytes, an era date) is kept
// whole; a file's longer texts cost no more than that.
// A refused file's message is the reader's, a line or two.
constexpr std::size_t kKeptTextBytes = 256;
constexpr std::size_t kKeptMessageBytes = 1024;

std::string keptText(const std::string &cp932Text, std::size_t limit = kKeptTextBytes)
{
    if (cp932Text.size() <= limit) {
        return cp932Text;
    }
    std::size_t end = 0;
    for (std::size_t at = 0; at < limit;) {
        const std::size_t width = cp932::isLeadByte(static_cast<unsigned char>(cp932Text[at])) ? 2 : 1;
        if (at + width > limit) {
            break;
        }
        at += width;
        end = at;
    }
    return cp932Text.substr(0, end);
}

// The fields an entry keeps, by their record members. Reading a file for
// the index keeps only the text that may hold them and decodes only them:
// the rest of the file is read and checked as the open command reads it,
// but its text is neither kept nor decoded.
const planio::PlanFields &keptFields()
{
    static const planio::PlanFields fields = [] {
        std::vector<std::string> keys = {"PlanDate", "Name", "Sex", "BirthDate", "KaigoLevel"};
        for (int n = 1; n <= kTeamMembers; ++n) {
            keys.push_back("Team[" + std::to_string(n) + "]");
        }
        const std::vector<std::string_view> views(keys.begin(), keys.end());
        return planio::PlanFields(views);
    }();
    return fields;
}

Entry readEntry(const std::string &path, const FileStamp &stamp)
{
    Entry e;
    e.stamp = stamp;
    auto result = planio::readPlanFile(pathFromUtf8(path), keptFields());
    if (const auto *read = std::get_if<planio::PlanFileRead>(&result)) {
        const planfile::PrintedPlan *printed = &read->printed;
        e.isPlan = true;
        IndexedPlan &p = e.plan;
        const TPRACTDATA &plan = printed->Plan;
        p.path = path;
        p.fileName = fileNameOf(path);
        p.name = keptText(plan.Name);
        p.sex = plan.Sex;
        p.birthText = keptText(printed->BirthText);
        p.birthDate = readDate(p.birthText);
        p.kaigoLevel = plan.KaigoLevel;
        p.planDateText = keptText(printed->PlanDateText);
        p.planDate = readDate(p.planDateText);
        for (std::size_t n = 0; n < p.team.size(); ++n) {
            p.team[n] = keptText(plan.Team[n]);
        }
    } else {
        const planio::ReadFault &fault = std::get<planio::ReadFault>(result);
        e.refused = {path, fileNameOf(path), keptText(fault.text, kKeptMessageBytes), fault.fileName, fault.outOfMemory};
    }
    return e;
}

// How many files ahead of the one being read are asked for: a plan is some
// 30 KB, so this keeps a few MB on their way.
constexpr std::size_t kReadAhead = 64;

bool isPdfName(const fs::path &file)
{
    std::string extension = utf8FromPath(file.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return extension == ".pdf";
}

} // namespace

fs::path cacheFileIn(const fs::path &cacheDir)
{
    return cacheDir / "plan-index";
}

FolderIndex indexFolder(const fs::path &folder, const fs::path &cacheFile, unsigned threads)
{
    fs::path base = fs::absolute(folder).lexically_normal();
    if (!base.has_filename() && base.has_relative_path()) {
        base = base.parent_path(); // "/plans/" names the folder "/plans"
    }
    std::map<std::string, Entry> cache = loadCache(cacheFile);

    // The folder's .pdf files with their stamps, taken before any is read:
    // a file changed while it is read is read again next time.
    struct Job {
        std::string path;
        FileStamp stamp;
        Entry *cached;
        Entry fresh;
    };
    std::vector<Job> jobs;
    for (const fs::directory_entry &item : fs::directory_iterator(base)) {
        if (!isPdfName(item.path())) {
            continue;
        }
        const std::optional<FileStamp> stamp = stampOf(item.path());
        if (!stamp) {
            continue;
        }
        const std::string path = utf8FromPath(item.path());
        const auto hit = cache.find(path);
        const bool current = hit != cache.end() && hit->second.stamp == *stamp;
        jobs.push_back({path, *stamp, current ? &hit->second : nullptr, {}});
    }

    std::vector<std::size_t> toRead;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (jobs[i].cached == nullptr) {
            toRead.push_back(i);
        }
    }
    unsigned workers = threads != 0 ? threads : std::max(1U, std::thread::hardware_concurrency());
    workers = static_cast<unsigned>(std::min<std::size_t>(workers, toRead.size()));
    // Reading a file waits for the disk unless the file is in the system's
    // cache: the files a few places ahead of the one being read are asked
    // for in advance, so that the disk works on them while the workers
    // read, and several at once.
    const auto readAhead = [&](std::size_t k) {
        if (k < toRead.size()) {
            if (const auto file = pdfreader::ReadOnlyFile::open(pathFromUtf8(jobs[toRead[k]].path))) {
                file->readAhead();
            }
        }
    };
    for (std::size_t k = 0; k < kReadAhead; ++k) {
        readAhead(k);
    }
    std::atomic<std::size_t> next{0};
    // What stopped a worker (memory running out outside the reading of a
    // file) stops the others and is raised here once they have ended.
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&] {
        try {
            for (std::size_t k = next++; k < toRead.size(); k = next++) {
                readAhead(k + kReadAhead);
                Job &job = jobs[toRead[k]];
                job.fresh = readEntry(job.path, job.stamp);
            }
        } catch (...) {
            const std::lock_guard lock(failureLock);
            if (!failure) {
                failure = std::current_exception();
            }
            next = toRead.size();
        }
    };
    if (workers <= 1) {
        work();
    } else {
        std::vector<std::jthread> pool;
        for (unsigned t = 0; t < workers; ++t) {
            pool.emplace_back(work);
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }

    FolderIndex index;
    index.filesRead = toRead.size();
    // The cache keeps the entries of other folders and this folder's present
    // files; it is written only when something changed.
    bool changed = !toRead.empty();
    std::map<std::string, Entry> kept;
    for (auto &[path, e] : cache) {
        if (fs::path(path).parent_path() != base) {
            kept.emplace(path, std::move(e));
        }
    }
    std::size_t cachedHere = cache.size() - kept.size();
    for (Job &job : jobs) {
        Entry e = job.cached != nullptr ? std::move(*job.cached) : std::move(job.fresh);
        if (e.isPlan) {
            index.plans.push_back(e.plan);
        } else {
            index.others.push_back(e.refused);
            // A file left unread for want of memory is read again next time.
            if (e.refused.outOfMemory) {
                continue;
            }
        }
        kept.emplace(job.path, std::move(e));
    }
    if (cachedHere != jobs.size() - toRead.size()) {
        changed = true; // files gone since the cache was written
    }
    if (changed && !cacheFile.empty()) {
        storeCache(cacheFile, kept, base);
    }

    // The plans are sorted by their places in the list and then moved once
    // each into that order, rather than moved about by value while sorting.
    // No two plans of one folder compare equal (their file names differ).
    std::vector<std::size_t> order(index.plans.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&plans = index.plans](std::size_t i, std::size_t j) {
        const IndexedPlan &a = plans[i];
        const IndexedPlan &b = plans[j];
        if (a.planDate.has_value() != b.planDate.has_value()) {
            return a.planDate.has_value();
        }
        if (a.planDate && *a.planDate != *b.planDate) {
            return *a.planDate > *b.planDate;
        }
        if (a.name != b.name) {
            return a.name < b.name;
        }
        return a.fileName < b.fileName;
    });
    std::vector<IndexedPlan> sorted;
    sorted.reserve(order.size());
    for (const std::size_t i : order) {
        sorted.push_back(std::move(index.plans[i]));
    }
    index.plans = std::move(sorted);
    std::sort(index.others.begin(), index.others.end(),
              [](const RefusedFile &a, const RefusedFile &b) { return a.fileName < b.fileName; });
    return index;
}

const IndexedPlan *previousPlan(const FolderIndex &index, std::string_view name, TDateTime birthDate,
                                TDateTime planDate)
{
    const auto day = [](TDateTime t) { return std::floor(t); };
    // Newest first: the first earlier plan of the patient is the latest one.
    for (const IndexedPlan &p : index.plans) {
        if (isPatientOf(p, name, birthDate) && p.planDate && day(*p.planDate) < day(planDate)) {
            return &p;
        }
    }
    return nullptr;
}

} // namespace planindex
