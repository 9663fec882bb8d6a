#pragma once

// Writing a file so that it is never left half-written: the bytes go into a
// new temporary file in the target's folder, which is flushed to the disk
// and renamed over the target only once everything has been written; the
// folder is flushed after the rename. On any failure the temporary file is
// removed and the target keeps its old content (or stays absent).
//
// On POSIX systems the new file takes the place of the old one as the old
// one was: same permissions, same owner and group where the user may give
// them, and a symbolic link is followed, so the file it points to is
// replaced (in that file's folder) and the link stays. On Windows the new
// file is written through to the disk and moved over the old one with a
// write-through rename; a file another program holds open is refused. A
// target that is not a regular file (a
// folder, a FIFO, a device) or that may not be written is refused before
// anything is created. Temporary files of earlier saves that were killed
// before their rename are removed from the folder once they are a minute old.

#include "pdfwriter/PdfError.h"

#include <filesystem>
#include <string>
#include <string_view>

// Why a file could not be put in place.
enum class FileFault {
    System,         // the system refused; systemError() holds its error number
    NoName,         // the path names no file
    Folder,         // the target is a folder
    NotRegularFile, // the target is a FIFO, a device, a socket, ...
    ReadOnly,       // the target is marked read-only (no write permission for anyone)
};

// The file could not be created, written or put in place. what() names the
// file and the reason in English; fault() and systemError() tell the reason
// to a program that words it for the user. Derived from the writer's base,
// so that a save catches one type for every failure.
class EFCreateError : public EPdfError {
public:
    explicit EFCreateError(const std::string &message, FileFault fault = FileFault::System, int systemError = 0)
        : EPdfError(message), m_fault(fault), m_systemError(systemError)
    {
    }
    FileFault fault() const { return m_fault; }
    // The system's error as an errno value for FileFault::System, else 0;
    // on Windows its error code is turned into the errno counterpart.
    int systemError() const { return m_systemError; }

private:
    FileFault m_fault;
    int m_systemError;
};

// Replaces (or creates) the file at `path` with `bytes`. Raises
// EFCreateError, whose message names the file as UTF-8.
void ReplaceFile(const std::filesystem::path &path, std::string_view bytes);

// Temporary files ReplaceFile leaves only when the process dies before their
// rename: ".ovilant-<digits>.tmp".
bool IsReplaceTemporaryName(std::string_view fileName);
