#pragma once

// The recovery copy of a plan with unsaved changes: every field's text as
// the controls show it (characters code page 932 cannot hold included, so
// UTF-8), the plan file in the editor and the plan's date, in one small file
// per editor in the user's data folder. An editor that ends without saving
// (a crash, a power cut, kill) leaves its copy behind; the next editor
// started on the same host finds the copies whose editor no longer runs and
// offers them back.
//
// A copy is written whole or not at all (a temporary file, a flush and a
// rename) and ends with an end line, so a copy cut short never reads as
// complete.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace recovery {

struct Copy {
    QString host;    // the editor that wrote it
    long long pid = 0;
    QString planFile; // native path of the plan file in the editor; empty after New
    double planDate = 0; // the plan's date (the date it was opened or started with)
    QList<QPair<QString, QString>> fields; // field key, text as shown
};

// The folder of the copies inside the user's data folder.
QString folderIn(const QString &dataDir);
// The copy of the editor `pid` on `host`.
QString pathFor(const QString &folder, const QString &host, long long pid);

QByteArray encode(const Copy &copy);
// Nothing when `bytes` are not a whole copy.
std::optional<Copy> decode(const QByteArray &bytes);

// Writes `copy` at `path` durably, making the folder first. Raises what the
// file replacement raises (EFCreateError).
void write(const QString &path, const Copy &copy);

// A copy in the folder that no running editor keeps: one of `host` whose
// process is gone, or one that does not read as a copy (`copy` empty).
struct Left {
    QString path;
    std::optional<Copy> copy;
};
// Every such copy but the one of `ownPid`, newest first.
QList<Left> leftBehind(const QString &folder, const QString &host, long long ownPid);

} // namespace recovery
