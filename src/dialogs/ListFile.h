#pragma once

// The pick-list files (Stuff.txt, Goods.txt, Kaigo.txt, Teikeibun.txt):
// plain text in code page 932, one entry per line. A line ends at LF or
// CR LF; a CR anywhere else is dropped; byte 26 (Ctrl+Z) ends the file. The
// line's bytes are the entry as they are: no trimming, empty lines are empty
// entries, and a last line without a line ending is an entry too.
//
// The program only reads these files: every read opens the file read-only,
// reads it to the end and closes it again.

#include <QString>
#include <QStringList>

#include <string_view>

class QIODevice;

namespace listfile {

// The entries of a whole file's bytes.
QStringList entries(std::string_view bytes);

struct Read {
    QStringList entries; // every entry read, up to a failure
    bool failed = false; // the file could not be opened or a read failed
};

// Reads `device` (already open) to its end or to Ctrl+Z. When a read fails,
// the entries of the lines completed before the failure are kept and the
// unfinished line is dropped.
Read read(QIODevice &device);
// Opens `path` read-only and reads it.
Read read(const QString &path);

// True when `path` names an existing file (a folder is no list).
bool exists(const QString &path);

// The message a failed read shows: "ファイルを読み込めません。" and the path.
QString readErrorText(const QString &path);

} // namespace listfile
