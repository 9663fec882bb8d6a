// The manual describes every command of the main window's menus: each item
// of the menu bar appears in it as 「menu」→「item」 (its caption without the
// &-accelerator), the way the manual names a command.

#include "TestSupport.h"

#include <QFile>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>

namespace {

// A caption as the user reads it: "(&F)" and a single "&" dropped, "&&" an "&".
QString shownCaption(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// The manual's text as a reader sees it, without markup and blanks.
QString manualText()
{
    QFile file(QStringLiteral(OVILANT_MANUAL));
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<")).replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// "「A」→「B」" for every command of `menu`, below the path `path`.
void collect(const QMenu *menu, const QString &path, QStringList &commands)
{
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        const QString here = path + QStringLiteral("→「") + shownCaption(action->text()) + QStringLiteral("」");
        if (action->menu() != nullptr) {
            collect(action->menu(), here, commands);
        } else {
            commands.append(here);
        }
    }
}

} // namespace

class ManualTest : public QObject {
    Q_OBJECT
private slots:
    void everyMenuCommandIsInTheManual();
};

void ManualTest::everyMenuCommandIsInTheManual()
{
    const QString manual = manualText();
    QVERIFY2(!manual.isEmpty(), OVILANT_MANUAL);
    WindowFixture f(nullptr, false);
    QStringList commands;
    for (const QAction *top : f.form->menuBar()->actions()) {
        QVERIFY2(top->menu() != nullptr, qPrintable(top->text()));
        collect(top->menu(), QStringLiteral("「") + shownCaption(top->text()) + QStringLiteral("」"), commands);
    }
    QVERIFY2(commands.size() >= 15, qPrintable(commands.join(QLatin1Char(' '))));
    QStringList missing;
    for (const QString &command : commands) {
        if (!manual.contains(command)) {
            missing.append(command);
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not in the manual: ") + missing.join(QLatin1Char(' '))));
}

QTEST_MAIN(ManualTest)
#include "ManualTest.moc"
