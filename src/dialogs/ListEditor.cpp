#include "dialogs/ListEditor.h"

#include "dialogs/Launcher.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kFileCode = QStringLiteral("%f");

} // namespace

ListEditor::ListEditor(Launcher &launcher, QStringList command) : m_launcher(launcher), m_command(std::move(command)) {}

bool ListEditor::edit(const QString &path)
{
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    if (shownElsewhere(path)) {
        return true;
    }
    const auto running = m_started.constFind(native);
    if (running != m_started.constEnd() && m_launcher.isRunning(running.value())) {
        return true;
    }
    QStringList command = m_command.isEmpty() ? desktopTextEditor() : m_command;
    if (command.isEmpty()) {
        return false;
    }
    if (!std::any_of(command.cbegin(), command.cend(), [](const QString &word) { return word.contains(kFileCode); })) {
        command.append(kFileCode);
    }
    command.replaceInStrings(kFileCode, native);
    const QString program = command.takeFirst();
    const qint64 process = m_launcher.startProgram(program, command);
    if (process == 0) {
        return false;
    }
    m_started.insert(native, process);
    return true;
}
