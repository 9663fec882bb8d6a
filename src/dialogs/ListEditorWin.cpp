// Windows' plain-text editor, Notepad, which names its window after the
// file it shows.

#include "dialogs/ListEditor.h"

#include "desktop/Desktop.h"

#include <QFileInfo>

QStringList ListEditor::desktopTextEditor()
{
    return {QStringLiteral("NOTEPAD.EXE"), QStringLiteral("%f")};
}

QStringList ListEditor::knownTextEditor()
{
    return desktopTextEditor();
}

bool ListEditor::shownElsewhere(const QString &path)
{
    const QString title = QFileInfo(path).fileName() + QStringLiteral(" - メモ帳");
    return desktop::windowWithTitle(title.toStdU16String());
}
