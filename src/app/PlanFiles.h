#pragma once

// Paths and file checks used by the commands that save and open plan files.

#include <QString>

#include <exception>
#include <filesystem>
#include <string>

// The platform's folder separator as the commands write it into paths:
// "\" on Windows, "/" elsewhere.
QString folderSeparator();

// `folder` as stored, the separator, then `fileName`. A folder stored with a
// trailing separator gives a doubled one, which the platform accepts.
QString joinFolder(const QString &folder, const QString &fileName);

// The file name the open dialog starts with: `folder` + separator + "*.pdf",
// except for the root folder, which already ends in a separator on Windows
// and so gets "*.pdf" straight after it.
QString OpenDialogFileName(const QString &folder);

// The folder of a chosen file: its path without the file name and without a
// trailing separator (the root of the file system keeps its separator).
QString FolderOfFile(const QString &filePath);

// True when an existing file at `path` is held by another program (see
// report/FileState.h).
bool FileInUse(const QString &path);

// The path the core's file functions take for `path` (on Windows straight
// from UTF-16, never through the ANSI code page).
std::filesystem::path planPath(const QString &path);

// Why a save failed, in words a user understands: the common reasons of the
// file system in Japanese (missing folder, no permission, disk full,
// read-only place, quota, something not a file at the name, ...), other
// system errors in the system's own words, and the writer's own message for
// a failure of the PDF layers.
QString saveFailureReason(const std::exception &error);
// The same for a system error number (errno).
QString systemErrorText(int error);

// What tells whether the file at a path is still the one this window read
// or wrote: its full path with links resolved, and its identity, size and
// time of last change on disk. A file replaced by another program (a save
// from another window renames a new file over it) gets another stamp.
struct PlanFileStamp {
    QString path; // empty: no file
    unsigned long long device = 0;
    unsigned long long inode = 0; // the file's number on its device
    long long size = -1;
    long long modified = 0; // nanoseconds
    friend bool operator==(const PlanFileStamp &, const PlanFileStamp &) = default;
};

// The stamp of the file at `path` now; an empty stamp when there is no
// regular file there.
PlanFileStamp planFileStamp(const QString &path);
