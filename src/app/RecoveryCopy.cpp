#include "app/RecoveryCopy.h"

#include "app/PlanFiles.h"
#include "planio/FileReplace.h"
#include "planlock/LockPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace recovery {

namespace {

const QByteArray kMagic = QByteArrayLiteral("OvilantRecovery 1");
const QByteArray kEnd = QByteArrayLiteral("end");
const QString kSuffix = QStringLiteral(".ovrec");

// One line per value: backslash, CR and LF escaped.
QByteArray escaped(const QString &text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<QString> unescaped(const QByteArray &line)
{
    QByteArray out;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            out += line[i];
            continue;
        }
        if (++i == line.size()) {
            return std::nullopt;
        }
        switch (line[i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return QString::fromUtf8(out);
}

// A host name made safe as part of a file name.
QString fileNamePart(const QString &host)
{
    QString out;
    for (const QChar c : host) {
        out += c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('.') ? c : QLatin1Char('_');
    }
    return out.isEmpty() ? QStringLiteral("host") : out;
}

} // namespace

QString folderIn(const QString &dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("recovery"));
}

QString pathFor(const QString &folder, const QString &host, long long pid)
{
    return QDir(folder).filePath(fileNamePart(host) + QLatin1Char('-') + QString::number(pid) + kSuffix);
}

QByteArray encode(const Copy &copy)
{
    QByteArray out = kMagic + '\n';
    out += "host " + escaped(copy.host) + '\n';
    out += "process " + QByteArray::number(copy.pid) + '\n';
    out += "file " + escaped(copy.planFile) + '\n';
    out += "date " + QByteArray::number(copy.planDate, 'g', 17) + '\n';
    for (const auto &[key, text] : copy.fields) {
        out += "field " + escaped(key) + ' ' + escaped(text) + '\n';
    }
    return out + kEnd + '\n';
}

std::optional<Copy> decode(const QByteArray &bytes)
{
    const QList<QByteArray> lines = bytes.split('\n');
    // The magic line, four header lines, the end line and the empty rest.
    if (lines.size() < 7 || lines.first() != kMagic || lines.last() != QByteArray() ||
        lines.at(lines.size() - 2) != kEnd) {
        return std::nullopt;
    }
    Copy copy;
    bool ok = true;
    const auto value = [&](qsizetype index, const char *name) -> QByteArray {
        const QByteArray &line = lines.at(index);
        const QByteArray head = QByteArray(name) + ' ';
        if (!line.startsWith(head)) {
            ok = false;
            return {};
        }
        return line.mid(head.size());
    };
    const std::optional<QString> host = unescaped(value(1, "host"));
    bool number = false;
    copy.pid = value(2, "process").toLongLong(&number);
    ok = ok && number;
    const std::optional<QString> file = unescaped(value(3, "file"));
    copy.planDate = value(4, "date").toDouble(&number);
    ok = ok && number;
    if (!ok || !host || !file) {
        return std::nullopt;
    }
    copy.host = *host;
    copy.planFile = *file;
    for (qsizetype i = 5; i < lines.size() - 2; ++i) {
        const QByteArray rest = value(i, "field");
        const qsizetype blank = rest.indexOf(' ');
        if (!ok || blank < 0) {
            return std::nullopt;
        }
        const std::optional<QString> key = unescaped(rest.left(blank));
        const std::optional<QString> text = unescaped(rest.mid(blank + 1));
        if (!key || !text) {
            return std::nullopt;
        }
        copy.fields.append({*key, *text});
    }
    return copy;
}

void write(const QString &path, const Copy &copy)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes = encode(copy);
    ReplaceFile(planPath(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QList<Left> leftBehind(const QString &folder, const QString &host, long long ownPid)
{
    QList<Left> found;
    const QFileInfoList files =
        QDir(folder).entryInfoList({QLatin1Char('*') + kSuffix}, QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo &info : files) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            found.append({info.filePath(), std::nullopt});
            continue;
        }
        std::optional<Copy> copy = decode(file.readAll());
        if (copy && (copy->host != host || copy->pid == ownPid || planlock::platform::processRunning(copy->pid))) {
            continue; // kept by an editor that runs, or one this host cannot see
        }
        found.append({info.filePath(), std::move(copy)});
    }
    return found;
}

} // namespace recovery
