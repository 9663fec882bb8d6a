// The plan view on its own: every field goes from the controls into a plan
// file and back into the controls unchanged, and a refused read changes
// nothing on screen.

#include "TestSupport.h"

#include "app/GuiText.h"
#include "plan/Common.h"
#include "planfile/PlanFieldValue.h"
#include "planfile/PlanFormat.h"
#include "report/PlanFit.h"
#include "planio/PlanRead.h"
#include "planio/PlanSave.h"

#include <QTest>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>

namespace {

using planfile::FieldKind;
using planfile::PlanField;

const std::array<QString, 8> kMarks{QString(),
                                    QStringLiteral("Ａ"),
                                    QStringLiteral("Ｂ"),
                                    QStringLiteral("Ｃ"),
                                    QStringLiteral("ＡＢ"),
                                    QStringLiteral("ＡＣ"),
                                    QStringLiteral("ＢＣ"),
                                    QStringLiteral("ＡＢＣ")};

// A value of its own for each field, as a user would enter it: a text
// naming the field (on two lines where two print), the dates of a plan and
// a birth, a score, a choice, ticks, marks and priority marks that differ
// from one field to the next.
void enter(TPlanForm &view, const PlanField &field)
{
    const QString own = QStringLiteral("欄") + QString::number(field.index);
    switch (field.kind) {
    case FieldKind::Date:
        view.control<TEdit>(field)->setText(
            guitext::fromCp932(FormatEraDate(field.check > 0 ? encodeDate(1940, 6, 12) : encodeDate(2024, 1, 31))));
        break;
    case FieldKind::Number:
        if (auto *edit = view.control<TEdit>(field)) {
            edit->setText(QStringLiteral("17"));
        }
        break;
    case FieldKind::Choice:
        view.control<QComboBox>(field)->setCurrentIndex(field.index % 2 + 1);
        break;
    case FieldKind::Tick:
        view.control<QCheckBox>(field)->setChecked(field.index % 2 == 0);
        break;
    case FieldKind::Mark:
        view.control<TMarkCell>(field)->setText(kMarks[field.index % 8]);
        break;
    case FieldKind::Priority:
        view.control<TClickLabel>(field)->setText(guitext::fromCp932(planfile::kPriorityMarks[field.index % 3]));
        break;
    case FieldKind::Text:
        if (auto *box = view.control<QComboBox>(field)) {
            box->setEditText(own);
        } else {
            view.control<TEdit>(field)->setText(own);
        }
        break;
    case FieldKind::Memo: {
        const QString twoLines = own + QStringLiteral("\n二行目");
        const bool fits = planfit::CheckFieldFit(field, guitext::toCp932(own + QStringLiteral("\r\n二行目"))).fits();
        view.control<TMemo>(field)->setText(fits ? twoLines : own);
        break;
    }
    }
}

} // namespace

class PlanFormTest : public QObject {
    Q_OBJECT
private slots:
    void everyFieldGoesThroughTheFileAndBack();
    void aRefusedReadChangesNothing();
    void memosShowEveryPrintedLine();
};

void PlanFormTest::everyFieldGoesThroughTheFileAndBack()
{
    TPlanForm view;
    for (const PlanField &field : planfile::kPlanFields) {
        enter(view, field);
    }
    const TPlanForm::Reading entered = view.read();
    QVERIFY2(entered.plan, entered.fault.where != nullptr ? entered.fault.where->key : "");
    const TPRACTDATA &plan = *entered.plan;
    QCOMPARE(plan.Age, AgeInYears(encodeDate(1940, 6, 12), encodeDate(2024, 1, 31)));
    QVERIFY2(planfit::CheckPlanFit(plan).empty(), "every value prints whole");

    const planio::PlanFileRead file = planio::loadPlanBytes(MakePlanPdf(plan, "creator", encodeDate(2024, 1, 31)));
    TPlanForm reopened;
    reopened.show(file.printed);
    const TPlanForm::Reading again = reopened.read();
    QVERIFY2(again.plan, again.fault.where != nullptr ? again.fault.where->key : "");

    for (const PlanField &field : planfile::kPlanFields) {
        QVERIFY2(planfile::printedText(*again.plan, field) == planfile::printedText(plan, field), field.key);
        // Controls show what was entered; the age, worked out, as a number.
        const bool age = field.widget == planfile::ControlKind::AgeLabel;
        QVERIFY2(reopened.controlText(field) == (age ? std::to_string(plan.Age) : view.controlText(field)), field.key);
    }
    QVERIFY(*again.plan == plan);
}

void PlanFormTest::aRefusedReadChangesNothing()
{
    TPlanForm view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setCurrentWidget(view.page(2));
    auto *name = view.control<TEdit>("NameEdit");
    name->setText(QString(26, QChar(0x5C71))); // 52 bytes, two over the limit
    auto *remark = view.control<TMemo>("Remark");
    remark->setFocus();
    const std::string before = view.controlText(*planfile::fieldByKey("Name"));

    const TPlanForm::Reading reading = view.read(encodeDate(2024, 1, 31));
    QVERIFY(!reading.plan);
    QCOMPARE(reading.fault.where, planfile::fieldByKey("Name"));
    QCOMPARE(reading.fault.message, planfile::tooLongMessage(50));
    QCOMPARE(view.currentWidget(), view.page(2));
    QVERIFY(remark->hasFocus());
    QCOMPARE(view.controlText(*planfile::fieldByKey("Name")), before);

    // The view shows the fault only when asked to.
    view.focusField(*reading.fault.where);
    QCOMPARE(view.currentWidget(), view.page(1));
    QVERIFY(name->hasFocus());
}

// At 100 % a memo shows a text that fills its printed box as it prints:
// every printed line on one line of its own, whole, and all of them in view
// at once, cut where the printout cuts it, for full-width and for
// half-width characters alike.
void PlanFormTest::memosShowEveryPrintedLine()
{
    TPlanForm view;
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    for (const PlanField &field : planfile::kPlanFields) {
        auto *memo = view.control<TMemo>(field);
        if (memo == nullptr) {
            continue;
        }
        view.setCurrentWidget(view.page(field.page));
        // Whether a character more than prints still shows, for the kind of
        // character whose printed line is the wider on screen.
        qreal widestLine = -1;
        bool extraShownOnWidest = true;
        for (const QString &character : {QStringLiteral("あ"), QStringLiteral("a")}) {
            // Long lines broken where the printout cuts them, as many as print.
            const std::string broken =
                planfit::BreakWideLines(field, guitext::toCp932(character.repeated(2000)));
            const planfit::FieldFit fit = planfit::CheckFieldFit(field, broken);
            QStringList lines = guitext::fromCp932(broken).split(QStringLiteral("\r\n"));
            const QString where = QString::fromLatin1(field.control) + QLatin1Char(' ') + character;
            QVERIFY2(fit.firstDroppedLine > 1, qPrintable(where));
            lines = lines.mid(0, fit.firstDroppedLine - 1);
            memo->setText(lines.join(QLatin1Char('\n')));
            memo->moveCursor(QTextCursor::Start);
            QCOMPARE(memo->document()->blockCount(), lines.size());
            const qreal width = memo->viewport()->width() - memo->document()->documentMargin();
            qreal bottom = memo->document()->documentMargin();
            for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
                bottom += memo->document()->documentLayout()->blockBoundingRect(block).height();
                QVERIFY2(bottom <= memo->viewport()->height(), qPrintable(where));
                QVERIFY2(block.layout()->lineCount() == 1, qPrintable(where));
                QVERIFY2(block.layout()->lineAt(0).naturalTextWidth() <= width, qPrintable(where));
            }
            const qreal lineWidth = memo->document()->begin().layout()->lineAt(0).naturalTextWidth();
            // A character more than prints: the box is as wide as its widest
            // printed line, so on that line it is not shown (the other kind
            // of character may leave a little room where its width does not
            // divide the box's).
            memo->setText(lines.first() + character);
            const QTextBlock first = memo->document()->begin();
            memo->document()->documentLayout()->blockBoundingRect(first);
            const bool shown = first.layout()->lineCount() == 1 && first.layout()->lineAt(0).naturalTextWidth() <= width;
            if (lineWidth > widestLine) {
                widestLine = lineWidth;
                extraShownOnWidest = shown;
            }
        }
        QVERIFY2(!extraShownOnWidest, field.control);
    }
}

QTEST_MAIN(PlanFormTest)
#include "PlanFormTest.moc"
