// The pick lists, the keypad and the stock phrases: where the list files
// live, the four dialogs, and the double-click handlers that write a choice
// into the control that was double-clicked. A choice made through a dialog
// is an edit and sets `Modified`.

#include "app/MainForm.h"

#include "app/FormControls.h"
#include "app/PlanForm.h"
#include "dialogs/CommentForm.h"
#include "dialogs/GoodsForm.h"
#include "dialogs/KaigoForm.h"
#include "dialogs/ListEditor.h"
#include "dialogs/TimeForm.h"
#include "planfile/PlanFieldValue.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QStringList &listFileNames()
{
    static const QStringList names{QStringLiteral("Stuff.txt"), QStringLiteral("Goods.txt"),
                                   QStringLiteral("Kaigo.txt"), QStringLiteral("Teikeibun.txt")};
    return names;
}

} // namespace

// A build tree or a portable copy has the lists beside the program, and
// they are used there. An installed program cannot expect to write into its
// own folder, so each user keeps the lists in the application's data
// folder; a list missing there is copied from the installed defaults in
// ../share/ovilant first, writable for its owner, so that the facility can
// edit it.
QString TMainForm::chooseListDir() const
{
    const QDir program(ProgramDir);
    for (const QString &name : listFileNames()) {
        if (QFileInfo(program.filePath(name)).isFile()) {
            return ProgramDir;
        }
    }
    QString dataDir =
        m_dataDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : m_dataDir;
    while (dataDir.size() > 1 && dataDir.endsWith(QLatin1Char('/'))) {
        dataDir.chop(1);
    }
    if (!QDir().mkpath(dataDir)) {
        return dataDir; // the lists are then missing and reported as such
    }
    const QDir defaults(program.filePath(QStringLiteral("../share/ovilant")));
    for (const QString &name : listFileNames()) {
        const QString target = dataDir + QLatin1Char('/') + name;
        const QString source = defaults.filePath(name);
        if (QFileInfo::exists(target) || !QFileInfo(source).isFile()) {
            continue;
        }
        if (QFile::copy(source, target)) {
            QFile::setPermissions(target,
                                  QFile::permissions(target) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
        }
    }
    return dataDir;
}

// The four dialogs are made the first time one of them is asked for.
void TMainForm::buildListDialogs()
{
    if (GoodsForm != nullptr) {
        return;
    }
    GoodsForm = new TGoodsForm(*m_prompter, *m_listEditor, this);
    KaigoForm = new TKaigoForm(*m_prompter, *m_listEditor, this);
    CommentForm = new TCommentForm(*m_prompter, this);
    TimeForm = new TTimeForm(this);
    for (QDialog *dialog : std::initializer_list<QDialog *>{GoodsForm, KaigoForm, CommentForm, TimeForm}) {
        dialog->setFont(font());
    }
    GoodsForm->ListPath = GoodsPath;
    KaigoForm->ListPath = KaigoPath;
    CommentForm->ListPath = TeikeibunPath;
}

void TMainForm::connectPickLists(TPlanForm &view)
{
    // The goods, care and target-period cells of the tables open their pick
    // lists; every other memo and edit but the name takes a stock phrase.
    for (const planfile::PlanField &field : planfile::kPlanFields) {
        const std::string_view key = field.key;
        QWidget *control = view.control(field);
        if (auto *memo = qobject_cast<TMemo *>(control); memo != nullptr && key.ends_with(".Goods")) {
            connect(memo, &TMemo::doubleClicked, this, [this, memo] { GoodsDblClick(memo); });
        } else if (memo != nullptr && key.ends_with(".Kaigo")) {
            connect(memo, &TMemo::doubleClicked, this, [this, memo] { KaigoDblClick(memo); });
        } else if (memo != nullptr) {
            connect(memo, &TMemo::doubleClicked, this, [this, memo] { MemoDblClick(memo); });
        }
        auto *edit = qobject_cast<TEdit *>(control);
        if (edit == nullptr || field.kind != planfile::FieldKind::Text) {
            continue;
        }
        if (key.ends_with(".Time")) {
            connect(edit, &TEdit::doubleClicked, this, [this, edit] { TimeDblClick(edit); });
        } else if (key != "Name") {
            connect(edit, &TEdit::doubleClicked, this, [this, edit] { EditDblClick(edit); });
        }
    }
}

namespace {

// The dialog starts from the memo's first three lines. On Ok the non-empty
// texts of the three boxes, in box order, become those lines; lines past the
// third stay below them. A dialog left as it started changes nothing. The
// memo shows its first line with the caret at its start.
bool pickLines(TMemo *memo, TListPickForm &dialog)
{
    const QStringList before = memo->toPlainText().split(QLatin1Char('\n'));
    const QStringList start = before.mid(0, static_cast<qsizetype>(dialog.Boxes.size()));
    dialog.startFrom(start);
    if (dialog.exec() != TListPickForm::ResultOk) {
        return false;
    }
    QStringList shown;
    QStringList lines;
    for (const QComboBox *box : dialog.Boxes) {
        shown.append(box->currentText());
        if (!box->currentText().isEmpty()) {
            lines.append(box->currentText());
        }
    }
    while (shown.size() > start.size() && shown.last().isEmpty()) {
        shown.removeLast();
    }
    if (shown == start) {
        return false;
    }
    lines += before.mid(start.size());
    memo->setText(lines.join(QLatin1Char('\n')));
    memo->moveCursor(QTextCursor::Start);
    memo->ensureCursorVisible();
    memo->setFocus();
    return true;
}

} // namespace

void TMainForm::GoodsDblClick(TMemo *memo)
{
    // What the dialog writes is one step of the undo history of its own.
    buildListDialogs();
    planView().breakTypedRun();
    if (pickLines(memo, *GoodsForm)) {
        planView().recordEdit();
    }
}

void TMainForm::KaigoDblClick(TMemo *memo)
{
    // What the dialog writes is one step of the undo history of its own.
    buildListDialogs();
    planView().breakTypedRun();
    if (pickLines(memo, *KaigoForm)) {
        planView().recordEdit();
    }
}

// A keypad closed without a unit, or with no digit typed, leaves the cell
// as it was.
void TMainForm::TimeDblClick(QLineEdit *edit)
{
    buildListDialogs();
    const int result = TimeForm->exec();
    if ((result != TTimeForm::ResultMonth && result != TTimeForm::ResultMonths) || !TimeForm->HasNumber) {
        return;
    }
    const QString unit = result == TTimeForm::ResultMonth ? QStringLiteral("月") : QStringLiteral("ヵ月");
    edit->setText(QStringLiteral(" ") + QString::number(TimeForm->TimeValue) + unit);
    planView().recordEdit();
}

void TMainForm::MemoDblClick(QWidget *field)
{
    pasteStockPhrase(field);
}

void TMainForm::EditDblClick(QWidget *field)
{
    pasteStockPhrase(field);
}

// The phrase travels through the clipboard: after a pick the clipboard holds
// it, as the dialog left it.
void TMainForm::pasteStockPhrase(QWidget *field)
{
    buildListDialogs();
    if (CommentForm->exec() != TCommentForm::ResultOk) {
        return;
    }
    // A pick is a step of its own in the undo history.
    planView().breakTypedRun();
    if (auto *memo = qobject_cast<TMemo *>(field)) {
        memo->paste();
    } else if (auto *edit = qobject_cast<QLineEdit *>(field)) {
        edit->paste();
    }
    planView().recordEdit();
}
