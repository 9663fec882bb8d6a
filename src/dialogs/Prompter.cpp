#include "dialogs/Prompter.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QFontMetrics>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

void Prompter::information(QWidget *parent, const QString &text)
{
    ask(parent, Kind::Information, text, {Button::Ok});
}

bool Prompter::confirm(QWidget *parent, const QString &text)
{
    return ask(parent, Kind::Confirmation, text, {Button::Ok, Button::Cancel}) == Button::Ok;
}

bool Prompter::confirmKeeping(QWidget *parent, const QString &text)
{
    return ask(parent, Kind::Confirmation, text, {Button::Cancel, Button::Ok}) == Button::Ok;
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
    case Button::SaveAndQuit:
        return QStringLiteral("保存して終了");
    case Button::QuitWithoutSaving:
        return QStringLiteral("保存しないで終了");
    case Button::Restore:
        return QStringLiteral("復元する");
    case Button::Discard:
        return QStringLiteral("破棄する");
    case Button::Later:
        return QStringLiteral("後で");
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

QStyle::StandardPixmap pixmapOf(Prompter::Kind kind)
{
    switch (kind) {
    case Prompter::Kind::Information:
        return QStyle::SP_MessageBoxInformation;
    case Prompter::Kind::Confirmation:
        return QStyle::SP_MessageBoxQuestion;
    case Prompter::Kind::Error:
        return QStyle::SP_MessageBoxCritical;
    case Prompter::Kind::Warning:
        return QStyle::SP_MessageBoxWarning;
    }
    return QStyle::SP_MessageBoxWarning;
}

QMessageBox::ButtonRole roleOf(Prompter::Button button)
{
    switch (button) {
    case Prompter::Button::Ok:
    case Prompter::Button::Yes:
    case Prompter::Button::Save:
    case Prompter::Button::Open:
    case Prompter::Button::Overwrite:
    case Prompter::Button::SaveAndQuit:
    case Prompter::Button::Restore:
        return QMessageBox::AcceptRole;
    case Prompter::Button::QuitWithoutSaving:
    case Prompter::Button::Discard:
        return QMessageBox::DestructiveRole;
    case Prompter::Button::BreakLines:
        return QMessageBox::ActionRole;
    case Prompter::Button::Cancel:
    case Prompter::Button::Abort:
    case Prompter::Button::Later:
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
    return pressed >= 0 ? buttons.at(pressed) : closedAnswer(buttons);
}

Prompter::Button MessageBoxPrompter::askWithList(QWidget *parent, Kind kind, const QString &text,
                                                 const QStringList &list, const QList<Button> &buttons)
{
    QDialog box(parent);
    box.setObjectName(QStringLiteral("ListBox"));
    box.setWindowTitle(caption(kind));
    box.setWindowModality(Qt::ApplicationModal);

    auto *icon = new QLabel(&box);
    const int iconSize = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    icon->setPixmap(box.style()->standardIcon(pixmapOf(kind), nullptr, &box).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);
    auto *label = new QLabel(text, &box);
    label->setTextFormat(Qt::PlainText);
    auto *entries = new QListWidget(&box);
    entries->setObjectName(QStringLiteral("ListBoxEntries"));
    entries->addItems(list);
    entries->setSelectionMode(QAbstractItemView::NoSelection);
    // Every entry whole: long ones wrap at the list's width (no scrolling
    // sideways), and the list is as tall as its entries, up to eight; more
    // scroll.
    constexpr int kRowsShown = 8;
    constexpr int kWidest = 640;
    constexpr int kItemMargin = 8; // the item's padding inside the list
    entries->setWordWrap(true);
    entries->setTextElideMode(Qt::ElideNone);
    entries->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics metrics = entries->fontMetrics();
    int natural = 0;
    for (const QString &entry : list) {
        natural = std::max(natural, metrics.horizontalAdvance(entry));
    }
    const bool scrolls = list.size() > kRowsShown;
    const int scrollBar = scrolls ? entries->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, entries) : 0;
    const int textWidth = std::min(natural, kWidest);
    const int width = textWidth + kItemMargin + scrollBar + 2 * entries->frameWidth() + 4;
    entries->setFixedWidth(width);
    int height = 0;
    for (qsizetype i = 0; i < std::min<qsizetype>(list.size(), kRowsShown); ++i) {
        const QRect wrapped = metrics.boundingRect(QRect(0, 0, textWidth, 1 << 20),
                                                   Qt::TextWordWrap | Qt::TextWrapAnywhere, list.at(i));
        height += wrapped.height() + 4;
        entries->item(static_cast<int>(i))->setSizeHint(QSize(textWidth, wrapped.height() + 4));
    }
    for (qsizetype i = kRowsShown; i < list.size(); ++i) {
        const QRect wrapped = metrics.boundingRect(QRect(0, 0, textWidth, 1 << 20),
                                                   Qt::TextWordWrap | Qt::TextWrapAnywhere, list.at(i));
        entries->item(static_cast<int>(i))->setSizeHint(QSize(textWidth, wrapped.height() + 4));
    }
    entries->setFixedHeight(std::max(height, metrics.height() + 4) + 2 * entries->frameWidth() + 2);

    Button answer = closedAnswer(buttons);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (const Button button : buttons) {
        auto *push = new QPushButton(buttonText(button), &box);
        push->setDefault(button == buttons.first());
        QObject::connect(push, &QPushButton::clicked, &box, [&box, &answer, button] {
            answer = button;
            box.accept();
        });
        row->addWidget(push);
    }

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    auto *texts = new QVBoxLayout;
    texts->addWidget(label);
    texts->addWidget(entries);
    top->addLayout(texts, 1);
    auto *layout = new QVBoxLayout(&box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(top);
    layout->addLayout(row);
    box.exec();
    return answer;
}

Prompter::Button Prompter::closedAnswer(const QList<Button> &buttons)
{
    if (buttons.contains(Button::Cancel)) {
        return Button::Cancel;
    }
    if (buttons.contains(Button::No)) {
        return Button::No;
    }
    return buttons.isEmpty() ? Button::Ok : buttons.last();
}
