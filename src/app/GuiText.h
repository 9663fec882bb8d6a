#pragma once

// The one place where the editor converts between Qt's UTF-16 strings and
// the code-page-932 bytes that the plan record and the limits use (the
// pick-list files are read by dialogs/ListFile.h).

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

} // namespace guitext
