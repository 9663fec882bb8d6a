// The pick lists (goods, care services, stock phrases), the period keypad,
// opening a list in the text editor, and where the list files are found.

#include "TestSupport.h"
#include "ControlNames.h"
#include "app/FormControls.h"
#include "dialogs/CommentForm.h"
#include "dialogs/GoodsForm.h"
#include "dialogs/KaigoForm.h"
#include "dialogs/ListFile.h"
#include "dialogs/TimeForm.h"
#include "plan/Cp932.h"

#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstring>

namespace {

QByteArray sjis(const char *utf8)
{
    return QByteArray::fromStdString(cp932::fromUtf8(utf8));
}

QStringList items(const QComboBox *box)
{
    QStringList result;
    for (int i = 0; i < box->count(); ++i) {
        result.append(box->itemText(i));
    }
    return result;
}

// Double-clicks `field` as the user does: on a memo's viewport, near the
// left of an edit's text.
void doubleClick(QWidget *field)
{
    if (auto *memo = qobject_cast<QPlainTextEdit *>(field)) {
        field = memo->viewport();
    }
    QTest::mouseDClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(6, field->height() / 2));
}

// Runs `act` on the dialog of type T that the next double-click shows.
template <typename T> void whenShown(const std::function<void(T &)> &act)
{
    whenModalShown([act](QWidget *widget) {
        auto *dialog = qobject_cast<T *>(widget);
        if (dialog == nullptr) {
            if (widget != nullptr) {
                qWarning("unexpected modal dialog %s", qPrintable(widget->objectName()));
                widget->close();
            }
            return;
        }
        act(*dialog);
    });
}

// A device that hands out `data` and then fails.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(QByteArray data) : m_data(std::move(data)) { open(QIODevice::ReadOnly); }

protected:
    qint64 readData(char *out, qint64 max) override
    {
        if (m_data.isEmpty()) {
            return -1;
        }
        const qint64 n = std::min<qint64>(max, m_data.size());
        std::memcpy(out, m_data.constData(), static_cast<std::size_t>(n));
        m_data.remove(0, n);
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }
    bool isSequential() const override { return true; }

private:
    QByteArray m_data;
};

} // namespace

class PickListTest : public QObject {
    Q_OBJECT
private slots:
    void listFilesKeepEmptyLinesAndEndAtCtrlZ();
    void goodsPickWritesTheFilledBoxesInOrder();
    void careDialogRereadsItsListAndCancelLeavesTheMemo();
    void keypadWritesNumberAndUnitOrLeavesTheCell();
    void stockPhrasePastesTheSelectionOnly();
    void editorStartsAtMostOncePerFile();
    void listsBesideTheProgramOrSeededIntoTheDataFolder();
};

void PickListTest::listFilesKeepEmptyLinesAndEndAtCtrlZ()
{
    // A blank line stays an entry; the last line needs no line end.
    QCOMPARE(listfile::entries(cp932::fromUtf8("杖\r\n\r\n車椅子")),
             (QStringList{QStringLiteral("杖"), QString(), QStringLiteral("車椅子")}));
    // A lone CR is dropped, Ctrl+Z ends the file.
    QCOMPARE(listfile::entries(cp932::fromUtf8("見守り\r\nつた\rい\n一部介助\x1a後ろ\n")),
             (QStringList{QStringLiteral("見守り"), QStringLiteral("つたい"), QStringLiteral("一部介助")}));
    // A read that fails keeps the lines completed before it.
    FailingDevice device(sjis("一\n二\n三"));
    const listfile::Read read = listfile::read(device);
    QVERIFY(read.failed);
    QCOMPARE(read.entries, (QStringList{QStringLiteral("一"), QStringLiteral("二")}));
}

void PickListTest::goodsPickWritesTheFilledBoxesInOrder()
{
    WindowFixture f;
    writeCp932(f.dir.filePath(QStringLiteral("Goods.txt")), "杖\r\n\r\n車椅子");
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    auto *memo = form.planForm().control<TMemo>(formnames::goods(21));
    memo->setText(QStringLiteral("前の用具\n二行目"));
    form.Modified = false;

    QStringList shownItems[3];
    QStringList startTexts;
    whenShown<TGoodsForm>([&](TGoodsForm &dialog) {
        for (int i = 0; i < 3; ++i) {
            shownItems[i] = items(dialog.Boxes[static_cast<std::size_t>(i)]);
            startTexts.append(dialog.Boxes[static_cast<std::size_t>(i)]->currentText());
        }
        dialog.GoodsBox2->setCurrentIndex(2);
        dialog.GoodsBox3->setEditText(QStringLiteral("歩行器（自作）")); // typed, no entry
        dialog.OkButton->click();
    });
    doubleClick(memo);

    const QStringList expected{QStringLiteral("杖"), QString(), QStringLiteral("車椅子")};
    for (const QStringList &shown : shownItems) {
        QCOMPARE(shown, expected);
    }
    // The boxes start from the cell's lines.
    QCOMPARE(startTexts, (QStringList{QStringLiteral("前の用具"), QStringLiteral("二行目"), QString()}));
    QCOMPARE(memo->Text(), QStringLiteral("前の用具\r\n車椅子\r\n歩行器（自作）"));
    QCOMPARE(memo->textCursor().position(), 0);
    QCOMPARE(form.focusWidget(), static_cast<QWidget *>(memo)); // the focus once the window is active again
    QVERIFY(form.Modified);
    QVERIFY(f.prompter->shown.isEmpty());

    // Ok without a change keeps the cell as it is, a fourth line included.
    for (const QString &cell : {QStringLiteral("器具0"), QStringLiteral("一\n\n三\n四")}) {
        memo->setText(cell);
        form.Modified = false;
        whenShown<TGoodsForm>([](TGoodsForm &dialog) { dialog.OkButton->click(); });
        doubleClick(memo);
        QCOMPARE(memo->toPlainText(), cell);
        QVERIFY(!form.Modified);
    }
}

void PickListTest::careDialogRereadsItsListAndCancelLeavesTheMemo()
{
    WindowFixture f;
    const QString path = f.dir.filePath(QStringLiteral("Kaigo.txt"));
    writeCp932(path, "見守り\r\n一部介助\r\n");
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    auto *memo = form.planForm().control<TMemo>(formnames::kaigo(0));
    memo->setText(QStringLiteral("つたい歩き"));
    form.Modified = false;

    const auto pick = [&](const std::function<void(TKaigoForm &)> &act) {
        whenShown<TKaigoForm>(act);
        doubleClick(memo);
    };
    // The first opening reads the file; the user picks, then cancels.
    pick([](TKaigoForm &dialog) {
        QCOMPARE(items(dialog.KaigoBox3), (QStringList{QStringLiteral("見守り"), QStringLiteral("一部介助")}));
        dialog.KaigoBox1->setCurrentIndex(1);
        dialog.CancelButton->click();
    });
    QCOMPARE(memo->Text(), QStringLiteral("つたい歩き"));
    QVERIFY(!form.Modified);

    // Every opening reads the file afresh and starts from the cell.
    writeCp932(path, "全介助\n");
    pick([](TKaigoForm &dialog) {
        QCOMPARE(items(dialog.KaigoBox1), QStringList{QStringLiteral("全介助")});
        QCOMPARE(dialog.KaigoBox1->currentText(), QStringLiteral("つたい歩き"));
        dialog.KaigoBox1->setCurrentIndex(0);
        dialog.NClose->trigger();
    });
    // A missing file leaves the items of the last use.
    QFile::remove(path);
    pick([](TKaigoForm &dialog) {
        QCOMPARE(items(dialog.KaigoBox1), QStringList{QStringLiteral("全介助")});
        dialog.KaigoBox1->setCurrentIndex(0);
        dialog.OkButton->click();
    });
    QCOMPARE(memo->Text(), QStringLiteral("全介助"));
    QVERIFY(form.Modified);
    QVERIFY(f.prompter->shown.isEmpty());
}

void PickListTest::keypadWritesNumberAndUnitOrLeavesTheCell()
{
    WindowFixture f;
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    auto *edit = form.planForm().control<TEdit>(formnames::time(4));
    // How the keypad is left: Escape, the window's close, 月 or カ月.
    enum class Leave { Escape, Close, Month, Months };
    const auto keypad = [&](const QString &digits, Leave leave) {
        whenShown<TTimeForm>([digits, leave](TTimeForm &dialog) {
            for (const QChar digit : digits) {
                dialog.Buttons.at(static_cast<std::size_t>(digit.digitValue()))->click();
            }
            switch (leave) {
            case Leave::Escape:
                QTest::keyClick(&dialog, Qt::Key_Escape);
                break;
            case Leave::Close:
                dialog.close();
                break;
            case Leave::Month:
            case Leave::Months:
                (leave == Leave::Month ? dialog.MButton : dialog.KButton)->click();
                break;
            }
        });
        doubleClick(edit);
        return edit->text();
    };
    QCOMPARE(keypad(QStringLiteral("12"), Leave::Month), QStringLiteral(" 12月"));
    QVERIFY(form.Modified);
    QCOMPARE(keypad(QStringLiteral("007"), Leave::Months), QStringLiteral(" 7ヵ月"));
    // More than a 32-bit integer holds.
    QCOMPARE(keypad(QStringLiteral("123456789012"), Leave::Month), QStringLiteral(" 0月"));
    // Left without a change: the cell stays (the label starts empty at every opening).
    edit->setText(QStringLiteral("2月"));
    form.Modified = false;
    for (const Leave leave : {Leave::Escape, Leave::Close, Leave::Month, Leave::Months}) {
        const QString digits = leave == Leave::Escape || leave == Leave::Close ? QStringLiteral("3") : QString();
        QCOMPARE(keypad(digits, leave), QStringLiteral("2月"));
    }
    QVERIFY(!form.Modified);
}

void PickListTest::stockPhrasePastesTheSelectionOnly()
{
    WindowFixture f;
    writeCp932(f.dir.filePath(QStringLiteral("Teikeibun.txt")), "転倒に注意する\r\n血圧の変動に注意\r\n");
    TestMainForm &form = *f.form;
    form.NewMenuClick();
    QApplication::clipboard()->setText(QStringLiteral("前のクリップ"));

    // Ok without a selection: nothing pasted, the clipboard as it was.
    whenShown<TCommentForm>([](TCommentForm &dialog) {
        QCOMPARE(dialog.TeikeiMemo->toPlainText(), QStringLiteral("転倒に注意する\n血圧の変動に注意"));
        dialog.OkButton->click();
    });
    doubleClick(form.planForm().control<TMemo>("SelfHope"));
    QVERIFY(form.planForm().control<TMemo>("SelfHope")->Text().isEmpty());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("前のクリップ"));
    QVERIFY(!form.Modified);

    // A double-click on a word selects it; the phrase picked replaces it.
    form.planForm().control<TEdit>("HomeWorkEdit")->setText(QStringLiteral("abc"));
    whenShown<TCommentForm>([](TCommentForm &dialog) {
        QTextCursor cursor = dialog.TeikeiMemo->textCursor();
        cursor.setPosition(8);
        cursor.setPosition(10, QTextCursor::KeepAnchor);
        dialog.TeikeiMemo->setTextCursor(cursor);
        dialog.OkButton->click();
    });
    doubleClick(form.planForm().control<TEdit>("HomeWorkEdit"));
    QCOMPARE(form.planForm().control<TEdit>("HomeWorkEdit")->text(), QStringLiteral("血圧"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("血圧"));
    QVERIFY(form.Modified);
}

void PickListTest::editorStartsAtMostOncePerFile()
{
    WindowFixture f;
    const QString goods = f.dir.filePath(QStringLiteral("Goods.txt"));
    writeCp932(goods, "杖\r\n");
    TestMainForm &form = *f.form;
    form.NewMenuClick();

    whenShown<TGoodsForm>([&](TGoodsForm &dialog) {
        QTest::mouseDClick(dialog.GoodsBox1->lineEdit(), Qt::LeftButton);
        QTest::mouseDClick(dialog.GoodsBox3->lineEdit(), Qt::LeftButton);
        QCOMPARE(f.launcher->started.size(), 1);
        f.launcher->ended.append(f.launcher->lastProcess); // the user closed the editor
        QTest::mouseDClick(dialog.GoodsBox2->lineEdit(), Qt::LeftButton);
        dialog.CancelButton->click();
    });
    doubleClick(form.planForm().control(formnames::goods(0)));
    QCOMPARE(f.launcher->started.size(), 2);
    for (const FakeLauncher::Started &started : f.launcher->started) {
        QCOMPARE(started.program, QStringLiteral("text-editor"));
        QCOMPARE(started.arguments, QStringList{QDir::toNativeSeparators(goods)});
    }

    // Kaigo.txt is missing: a message and no editor.
    whenShown<TKaigoForm>([](TKaigoForm &dialog) {
        QTest::mouseDClick(dialog.KaigoBox2->lineEdit(), Qt::LeftButton);
        dialog.CancelButton->click();
    });
    doubleClick(form.planForm().control(formnames::kaigo(0)));
    QCOMPARE(f.prompter->shown.size(), 1);
    QCOMPARE(f.prompter->shown.first().caption, QStringLiteral("情報"));
    QCOMPARE(f.prompter->shown.first().text, QStringLiteral("介護ファイルが見つかりません。"));
    QCOMPARE(f.launcher->started.size(), 2);
    QVERIFY(!form.Modified);
}

void PickListTest::listsBesideTheProgramOrSeededIntoTheDataFolder()
{
    // In the program folder (a build tree): read there.
    {
        WindowFixture f;
        QCOMPARE(f.form->ListDir, f.dir.path());
        QCOMPARE(f.form->GoodsPath, f.dir.filePath(QStringLiteral("Goods.txt")));
        QVERIFY(!QFileInfo::exists(f.dir.filePath(QStringLiteral("data"))));
    }
    // Installed: the defaults in ../share/ovilant are copied into the data
    // folder where a list is missing there, writable; the user's own lists
    // stay as they are.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("share/ovilant")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("user")));
    const QString defaultGoods = dir.filePath(QStringLiteral("share/ovilant/Goods.txt"));
    writeCp932(defaultGoods, "杖\r\n歩行器\r\n");
    QFile::setPermissions(defaultGoods, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    writeCp932(dir.filePath(QStringLiteral("share/ovilant/Stuff.txt")), "既定 太郎\r\n");
    writeCp932(dir.filePath(QStringLiteral("user/Stuff.txt")), "施設 花子\r\n");

    auto prompter = std::make_shared<FakePrompter>();
    MainFormServices services;
    services.prompter = prompter;
    services.fileChooser = std::make_shared<FakeFileChooser>();
    services.launcher = std::make_shared<FakeLauncher>();
    services.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    services.programDir = dir.filePath(QStringLiteral("bin"));
    services.dataDir = dir.filePath(QStringLiteral("user"));
    TestMainForm form(services);

    QCOMPARE(form.ListDir, dir.filePath(QStringLiteral("user")));
    QCOMPARE(form.GoodsPath, dir.filePath(QStringLiteral("user/Goods.txt")));
    QFile copy(form.GoodsPath);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), sjis("杖\r\n歩行器\r\n"));
    QVERIFY(copy.permissions().testFlag(QFileDevice::WriteOwner));
    QCOMPARE(items(form.planForm().control<QComboBox>(formnames::teamBox(1))),
             QStringList{QStringLiteral("施設 花子")});
    QVERIFY(!QFileInfo::exists(form.KaigoPath));
    QVERIFY(prompter->shown.isEmpty());
}

QTEST_MAIN(PickListTest)
#include "PickListTest.moc"
