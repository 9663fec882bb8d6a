#include "dialogs/ListFile.h"

#include "plan/Cp932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <string>

namespace listfile {

namespace {

QString decode(const std::string &line)
{
    const std::u16string text = cp932::toUtf16(line);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// Splits bytes into lines as they arrive; `line` holds the unfinished one.
class LineSplitter {
public:
    // False once Ctrl+Z has ended the file.
    bool feed(std::string_view bytes)
    {
        for (const char byte : bytes) {
            if (byte == 26) {
                return false;
            }
            if (byte == '\n') {
                m_entries.append(decode(m_line));
                m_line.clear();
                m_open = false;
                continue;
            }
            m_open = true;
            if (byte != '\r') {
                m_line += byte;
            }
        }
        return true;
    }
    // The entries with the last line, ended or not.
    QStringList finish()
    {
        if (m_open) {
            m_entries.append(decode(m_line));
        }
        return m_entries;
    }
    // The entries of the completed lines only.
    QStringList completed() const { return m_entries; }

private:
    QStringList m_entries;
    std::string m_line;
    bool m_open = false; // a line has started and not ended yet
};

} // namespace

QStringList entries(std::string_view bytes)
{
    LineSplitter splitter;
    splitter.feed(bytes);
    return splitter.finish();
}

Read read(QIODevice &device)
{
    LineSplitter splitter;
    char buffer[16384];
    for (;;) {
        const qint64 got = device.read(buffer, sizeof buffer);
        if (got < 0) {
            return Read{splitter.completed(), true};
        }
        if (got == 0 || !splitter.feed(std::string_view(buffer, static_cast<std::size_t>(got)))) {
            break;
        }
    }
    return Read{splitter.finish(), false};
}

Read read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Read{{}, true};
    }
    Read result = read(file);
    if (!result.failed && file.error() != QFileDevice::NoError) {
        result.failed = true;
    }
    return result;
}

bool exists(const QString &path)
{
    return QFileInfo(path).isFile();
}

QString readErrorText(const QString &path)
{
    return QStringLiteral("ファイルを読み込めません。\n") + QDir::toNativeSeparators(path);
}

} // namespace listfile
