#include "dialogs/Prompter.h"

#include <QMessageBox>
#include <QPushButton>

void Prompter::information(QWidget *parent, const QString &text)
{
    ask(parent, Kind::Information, text, {Button::Ok});
}

bool Prompter::confirm(QWidget *parent, const QString &text)
{
    return ask(parent, Kind::Confirmation, text, {Button::Ok, Button::Cancel}) == Button::Ok;
}

void Prompter::error(QWidget *parent, const QString &text, Button button)
{
    ask(parent, Kind::Error, text, {button});
}

void Prompter::warning(QWidget *parent, const QString &text)
{
    ask(parent, Kind::Warning, text, {Button::Ok});
}

QString Prompter::caption(Kind kind)
{
    switch (kind) {
    case Kind::Information:
        return QStringLiteral("情報");
    case Kind::Confirmation:
        return QStringLiteral("確認");
    case Kind::Error:
        return QStringLiteral("エラー");
    case Kind::Warning:
        return QStringLiteral("警告");
    }
    return QString();
}

QString Prompter::buttonText(Button button)
{
    switch (button) {
    case Button::Ok:
        return QStringLiteral("OK");
    case Button::Cancel:
        return QStringLiteral("キャンセル");
    case Button::Yes:
        return QStringLiteral("はい(&Y)");
    case Button::No:
        return QStringLiteral("いいえ(&N)");
    case Button::Abort:
        return QStringLiteral("中止(&A)");
    case Button::Save:
        return QStringLiteral("保存");
    case Button::BreakLines:
        return QStringLiteral("改行を入れる");
    case Button::Open:
        return QStringLiteral("開く");
    case Button::Overwrite:
        return QStringLiteral("上書き");
    }
    return QString();
}

namespace {

QMessageBox::Icon iconOf(Prompter::Kind kind)
{
    switch (kind) {
    case Prompter::Kind::Information:
        return QMessageBox::Information;
    case Prompter::Kind::Confirmation:
        return QMessageBox::Question;
    case Prompter::Kind::Error:
        return QMessageBox::Critical;
    case Prompter::Kind::Warning:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole roleOf(Prompter::Button button)
{
    switch (button) {
    case Prompter::Button::Ok:
    case Prompter::Button::Yes:
    case Prompter::Button::Save:
    case Prompter::Button::Open:
    case Prompter::Button::Overwrite:
        return QMessageBox::AcceptRole;
    case Prompter::Button::BreakLines:
        return QMessageBox::ActionRole;
    case Prompter::Button::Cancel:
    case Prompter::Button::Abort:
        return QMessageBox::RejectRole;
    case Prompter::Button::No:
        return QMessageBox::NoRole;
    }
    return QMessageBox::AcceptRole;
}

} // namespace

Prompter::Button MessageBoxPrompter::ask(QWidget *parent, Kind kind, const QString &text, const QList<Button> &buttons)
{
    QMessageBox box(iconOf(kind), caption(kind), text, QMessageBox::NoButton, parent);
    box.setWindowModality(Qt::ApplicationModal);
    QList<QAbstractButton *> made;
    for (const Button button : buttons) {
        made.append(box.addButton(buttonText(button), roleOf(button)));
    }
    if (!made.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(made.first()));
    }
    box.exec();
    const qsizetype pressed = made.indexOf(box.clickedButton());
    if (pressed >= 0) {
        return buttons.at(pressed);
    }
    if (buttons.contains(Button::Cancel)) {
        return Button::Cancel;
    }
    if (buttons.contains(Button::No)) {
        return Button::No;
    }
    return buttons.isEmpty() ? Button::Ok : buttons.last();
}
