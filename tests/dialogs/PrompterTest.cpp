// The real message boxes behind the Prompter: caption, button texts and the
// answer of each button, and of a box closed without one.

#include "dialogs/Prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the message box as soon as it is shown modally.
void whenBoxShown(const std::function<void(QMessageBox &)> &act)
{
    auto *timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr && ++*tries < 500) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (box != nullptr) {
            act(*box);
        }
    });
    timer->start(5);
}

QStringList buttonTexts(const QMessageBox &box)
{
    QStringList texts;
    for (QAbstractButton *button : box.buttons()) {
        texts << button->text();
    }
    texts.sort();
    return texts;
}

} // namespace

class PrompterTest : public QObject {
    Q_OBJECT
private slots:
    void confirmationShowsOkAndCancel();
    void escapeAnswersCancel();
    void errorWithAbortAndInformation();
    void fitWarningAnswersEachOfItsButtons();
    void listBoxShowsEveryEntryScrolling();
};

void PrompterTest::confirmationShowsOkAndCancel()
{
    MessageBoxPrompter prompter;
    QString title;
    QString text;
    QStringList buttons;
    whenBoxShown([&](QMessageBox &box) {
        title = box.windowTitle();
        text = box.text();
        buttons = buttonTexts(box);
        for (QAbstractButton *button : box.buttons()) {
            if (button->text() == QStringLiteral("OK")) {
                button->click();
            }
        }
    });
    QVERIFY(prompter.confirm(nullptr, QStringLiteral("保存しますか？")));
    QCOMPARE(title, QStringLiteral("確認"));
    QCOMPARE(text, QStringLiteral("保存しますか？"));
    QCOMPARE(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("キャンセル")}));
}

void PrompterTest::escapeAnswersCancel()
{
    MessageBoxPrompter prompter;
    whenBoxShown([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Escape); });
    QVERIFY(!prompter.confirm(nullptr, QStringLiteral("x")));
}

void PrompterTest::errorWithAbortAndInformation()
{
    MessageBoxPrompter prompter;
    QString title;
    QStringList buttons;
    whenBoxShown([&](QMessageBox &box) {
        title = box.windowTitle();
        buttons = buttonTexts(box);
        box.buttons().first()->click();
    });
    prompter.error(nullptr, QStringLiteral("開けません。"), Prompter::Button::Abort);
    QCOMPARE(title, QStringLiteral("エラー"));
    QCOMPARE(buttons, QStringList{QStringLiteral("中止(&A)")});

    whenBoxShown([&](QMessageBox &box) {
        title = box.windowTitle();
        buttons = buttonTexts(box);
        box.buttons().first()->click();
    });
    prompter.information(nullptr, QStringLiteral("日付エラーです。"));
    QCOMPARE(title, QStringLiteral("情報"));
    QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(Prompter::caption(Prompter::Kind::Warning), QStringLiteral("警告"));
    QCOMPARE(Prompter::buttonText(Prompter::Button::Yes), QStringLiteral("はい(&Y)"));
    QCOMPARE(Prompter::buttonText(Prompter::Button::No), QStringLiteral("いいえ(&N)"));
}

void PrompterTest::fitWarningAnswersEachOfItsButtons()
{
    using Button = Prompter::Button;
    const QList<Button> offered{Button::Save, Button::Cancel, Button::BreakLines};
    MessageBoxPrompter prompter;
    QStringList buttons;
    whenBoxShown([&](QMessageBox &box) {
        buttons = buttonTexts(box);
        for (QAbstractButton *button : box.buttons()) {
            if (button->text() == QStringLiteral("改行を入れる")) {
                button->click();
            }
        }
    });
    QCOMPARE(prompter.ask(nullptr, Prompter::Kind::Warning, QStringLiteral("x"), offered), Button::BreakLines);
    QCOMPARE(buttons, (QStringList{QStringLiteral("キャンセル"), QStringLiteral("保存"), QStringLiteral("改行を入れる")}));
    whenBoxShown([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Escape); });
    QCOMPARE(prompter.ask(nullptr, Prompter::Kind::Warning, QStringLiteral("x"), offered), Button::Cancel);
    whenBoxShown([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); });
    QCOMPARE(prompter.ask(nullptr, Prompter::Kind::Warning, QStringLiteral("x"), offered), Button::Save);
}

void PrompterTest::listBoxShowsEveryEntryScrolling()
{
    QStringList entries;
    for (int i = 1; i <= 30; ++i) {
        entries << QStringLiteral("欄%1：「失われる文字」").arg(i);
    }
    QStringList shown;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        auto *list = box->findChild<QListWidget *>(QStringLiteral("ListBoxEntries"));
        for (int i = 0; list->verticalScrollBar()->maximum() > 0 && i < list->count(); ++i) {
            shown << list->item(i)->text();
        }
        QTest::keyClick(box, Qt::Key_Escape);
    });
    const QList<Prompter::Button> offered{Prompter::Button::Save, Prompter::Button::Cancel};
    QCOMPARE(MessageBoxPrompter().askWithList(nullptr, Prompter::Kind::Warning, QStringLiteral("x"), entries, offered),
             Prompter::Button::Cancel);
    QCOMPARE(shown, entries);
}

QTEST_MAIN(PrompterTest)
#include "PrompterTest.moc"
