#include "dialogs/ListEditor.h"

#include "dialogs/Launcher.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <chrono>

namespace {

const QString kFileCode = QStringLiteral("%f");

} // namespace

ListEditor::ListEditor(Launcher &launcher, QStringList command) : m_launcher(launcher), m_command(std::move(command))
{
    if (m_command.isEmpty()) {
        m_lookup = std::async(std::launch::async, &ListEditor::desktopTextEditor);
    }
}

QStringList ListEditor::editorCommand()
{
    if (!m_command.isEmpty()) {
        return m_command;
    }
    if (!m_lookedUp && m_lookup.valid() && m_lookup.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        m_command = m_lookup.get();
        m_lookedUp = true;
        if (!m_command.isEmpty()) {
            return m_command;
        }
    }
    return knownTextEditor();
}

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
    QStringList command = editorCommand();
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
