#pragma once

// An index of the plan files of one folder: for every file that reads as a
// plan, the patient (name, sex, birth date), the care level, the plan date
// and the team; the other files apart, each with the reader's message.
//
// Only the folder's own files whose names end in ".pdf" (any case) are
// looked at; sub-folders are not entered. Files are read in parallel, one
// reader per file. What was read is kept in a cache file (the caller names
// it, normally in the user's cache folder), together with each file's size,
// modification time and change time in nanoseconds and its inode; a file
// whose four values are unchanged is not read again, so a file written
// again with its old size and time put back is read again. The cache is
// replaced as a whole (a temporary file renamed over it), so a reader never
// sees half of one. It is read only when it is a regular file of at most
// 64 MiB (a FIFO is never waited on); one that is not, or that does not
// read back completely, is ignored and rebuilt; an entry whose checksum
// fails is dropped and its file read again. The plan files themselves are
// only ever read.
//
// Each text kept is cut to its first 256 bytes (a refused file's message to
// 1 KiB), so a folder costs a bounded amount per file; the cache keeps the
// folder just indexed first and other folders' entries while it stays
// within its 64 MiB.
//
// Texts are CP932 as in the plan record; paths are UTF-8 (plan/FilePath.h).

#include "plan/DateTime.h"
#include "plan/PracticePlanType.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace planindex {

struct IndexedPlan {
    std::string path;     // the folder joined with the file name
    std::string fileName; // the file name alone
    std::string name;     // 氏名
    int sex = -1;         // -1 none, 0 男性, 1 女性
    std::string birthText; // 生年月日 as printed (an era date text)
    std::optional<TDateTime> birthDate; // when birthText reads as a date
    int kaigoLevel = -1;                 // -1 none, 0-6
    std::string planDateText;            // 計画評価実施日 as printed
    std::optional<TDateTime> planDate;   // when planDateText reads as a date
    std::array<std::string, kTeamMembers + 1> team; // Team[1]-[13]; [0] empty
};

// A .pdf file that is not a plan or could not be read.
struct RefusedFile {
    std::string path;
    std::string fileName;
    std::string text;            // the reader's message, CP932
    std::string messageFileName; // the file name the message ends with, if any
    bool outOfMemory = false;    // not read for want of memory: not cached
};

struct FolderIndex {
    // Newest first: by plan date (files without a readable date last), then
    // name, then file name.
    std::vector<IndexedPlan> plans;
    // By file name.
    std::vector<RefusedFile> others;
    // How many files were read now; the others came from the cache.
    std::size_t filesRead = 0;
};

// Indexes `folder` using and renewing the cache file `cacheFile` (empty: no
// cache). `threads` 0 uses one thread per core. Raises
// std::filesystem::filesystem_error when the folder cannot be listed, and
// std::bad_alloc when memory runs out other than while a file is read (a
// file whose reading runs out of memory is listed among the others); a
// cache that cannot be written is left as it was, without an error.
FolderIndex indexFolder(const std::filesystem::path &folder, const std::filesystem::path &cacheFile,
                        unsigned threads = 0);

// The cache file in the cache folder `cacheDir` ("plan-index" there).
std::filesystem::path cacheFileIn(const std::filesystem::path &cacheDir);

// The patient's previous plan: the plan of the same patient (name without
// blanks and birth date, see isPatientOf in ReviewDue.h) whose plan date is
// the latest one before `planDate` (whole days). None when there is none.
const IndexedPlan *previousPlan(const FolderIndex &index, std::string_view name, TDateTime birthDate,
                                TDateTime planDate);

} // namespace planindex
