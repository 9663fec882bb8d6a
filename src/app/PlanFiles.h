#pragma once

// Paths and file checks used by the commands that save and open plan files.

#include <QString>

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

// True when an existing file at `path` is held by another program: on
// Windows it cannot be opened for reading with exclusive sharing; elsewhere
// it cannot be opened for reading or a non-blocking exclusive advisory lock
// on it is refused. A path naming no file is never in use. The test opens
// and closes the file at once and changes nothing.
bool FileInUse(const QString &path);

// The bytes the C and C++ file functions of this platform expect for `path`.
std::string nativePath(const QString &path);
