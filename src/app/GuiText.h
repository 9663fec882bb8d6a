#pragma once

// The one place where the editor converts between Qt's UTF-16 strings and
// the code-page-932 bytes that the plan record, the limits and the list
// files use.

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>

namespace guitext {

QString fromCp932(std::string_view bytes);
// Characters that code page 932 cannot hold become "?"; callers that must
// not lose text ask firstUnrepresentable() first.
std::string toCp932(const QString &text);
// Index (UTF-16 units) of the first character code page 932 cannot hold.
std::optional<qsizetype> firstUnrepresentable(const QString &text);
// Length of that character in UTF-16 units (2 for a surrogate pair).
qsizetype characterLength(const QString &text, qsizetype index);

// Entries of a pick-list file (Stuff.txt and the like): one per line, a
// line ending at LF or CR LF, a CR elsewhere dropped, byte 26 (Ctrl+Z)
// ending the file. Empty lines are entries; a last line without a line
// ending is one too.
QStringList listEntries(std::string_view bytes);

} // namespace guitext
