// Validation before saving: every control is checked, in the order of the
// form, against its limit in CP932 bytes (a memo's line break counts 2),
// and copied into `Plan`. The first fault is reported with its message and
// the focus in the faulty control; the fields stored before it keep their
// new values.

#include "app/MainForm.h"

#include "plan/Common.h"
#include "app/ControlNames.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "plan/PlanLimits.h"
#include "dialogs/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextCursor>

#include <optional>

namespace {

QString displayText(const QWidget *control)
{
    if (const auto *memo = qobject_cast<const TMemo *>(control)) {
        return memo->lineText();
    }
    if (const auto *edit = qobject_cast<const QLineEdit *>(control)) {
        return edit->text();
    }
    if (const auto *box = qobject_cast<const QComboBox *>(control)) {
        return box->currentText();
    }
    return QString();
}

// Selects the UTF-16 range [start, start + length) of an edit, memo or
// editable combo box. Memo positions count a line break as one character,
// which is how TMemo::lineText() counts it too.
void selectRange(QWidget *control, qsizetype start, qsizetype length)
{
    if (auto *memo = qobject_cast<TMemo *>(control)) {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(static_cast<int>(start));
        cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setSelection(static_cast<int>(start), static_cast<int>(length));
    } else if (auto *box = qobject_cast<QComboBox *>(control); box != nullptr && box->lineEdit() != nullptr) {
        box->lineEdit()->setSelection(static_cast<int>(start), static_cast<int>(length));
    }
}

} // namespace

void TMainForm::reportFault(const QString &text, QWidget *page, QWidget *control, qsizetype start, qsizetype length)
{
    prompter().information(this, text);
    PageControl1->setCurrentWidget(page);
    auto *scroll = page == TabSheet1 ? ScrollBox1 : ScrollBox2;
    scroll->ensureWidgetVisible(control);
    control->setFocus();
    if (length > 0) {
        selectRange(control, start, length);
    }
}

bool TMainForm::GatherPlan()
{
    PageControl1->setCurrentWidget(TabSheet1);
    QWidget *page = TabSheet1;

    // Reads a control's text for storing: nothing when it holds a character
    // code page 932 cannot represent or is longer than `limit` bytes (the
    // fault has then been reported).
    const auto checked = [&](QWidget *control, std::size_t limit) -> std::optional<std::string> {
        const QString shown = displayText(control);
        if (const auto bad = guitext::firstUnrepresentable(shown)) {
            reportFault(guitext::fromCp932(planlimits::unrepresentableMessage()), page, control, *bad,
                        guitext::characterLength(shown, *bad));
            return std::nullopt;
        }
        std::string bytes = controlText(control);
        if (bytes.size() > limit) {
            reportFault(guitext::fromCp932(planlimits::tooLongMessage(limit)), page, control);
            return std::nullopt;
        }
        return bytes;
    };

    // 1-5: name, sex, birth date and age, level of care.
    auto name = checked(NameEdit, planlimits::kName);
    if (!name) {
        return false;
    }
    Plan.Name = std::move(*name);
    Plan.Sex = SexBox->currentIndex();
    TDateTime birth = 0;
    if (!ParseEraDate(guitext::toCp932(BirthEdit->text()), birth)) {
        ShowDateError(BirthEdit);
        return false;
    }
    Plan.BirthDate = birth;
    Plan.Age = AgeInYears(Plan.BirthDate, Plan.PlanDate);
    Plan.KaigoLevel = KaigoBox->currentIndex();

    // 6-16: health, destination and participation.
    const auto store = [&](QWidget *control, std::size_t limit, auto &field) {
        auto text = checked(control, limit);
        if (!text) {
            return false;
        }
        field = std::move(*text);
        return true;
    };
    if (!store(KenkouMemo, planlimits::kHealthMemo, Plan.Kenkou) ||
        !store(GapeiMemo, planlimits::kHealthMemo, Plan.Gapei) ||
        !store(SeikatsuMemo, planlimits::kHealthMemo, Plan.Seikatsu)) {
        return false;
    }
    Plan.Home = HomeBox->isChecked();
    Plan.Etc = EtcBox->isChecked();
    if (!store(EtcEdit, planlimits::kEtc, Plan.EtcText)) {
        return false;
    }
    Plan.Taiin = TaiinBox->isChecked();
    if (!store(HomeWorkEdit, planlimits::kLine, Plan.HomeWork) || !store(SocialEdit, planlimits::kLine, Plan.Social) ||
        !store(GoOutEdit, planlimits::kLine, Plan.GoOut) || !store(FreeTimeEdit, planlimits::kLine, Plan.FreeTime) ||
        !store(TaiinEdit, planlimits::kLine, Plan.TaiinText)) {
        return false;
    }

    // 17-22: each impairment's tick is stored before its text is checked.
    const auto impairment = [&](QCheckBox *box, bool &flag, QWidget *text, std::string &field) {
        flag = box->isChecked();
        return store(text, planlimits::kLine, field);
    };
    if (!impairment(Exercise, Plan.ExerciseFlag, ExerciseEdit, Plan.ExerciseText) ||
        !impairment(Sense, Plan.SenseFlag, SenseEdit, Plan.SenseText) ||
        !impairment(Brain, Plan.BrainFlag, BrainEdit, Plan.BrainText) ||
        !impairment(Koushuku, Plan.KoushukuFlag, KoushukuEdit, Plan.KoushukuText) ||
        !impairment(Arthralgia, Plan.ArthralgiaFlag, ArthralgiaEdit, Plan.ArthralgiaText) ||
        !impairment(Sonota, Plan.SonotaFlag, SonotaMemo, Plan.SonotaText)) {
        return false;
    }

    // 23: the HDS-R score, at most two bytes, a number, 0 to 30.
    const auto hds = checked(HDSEdit, planlimits::kHds);
    if (!hds) {
        return false;
    }
    const std::optional<long> score = planlimits::readHdsNumber(*hds);
    if (!score) {
        reportFault(guitext::fromCp932(planlimits::hdsDigitsMessage()), page, HDSEdit);
        return false;
    }
    if (*score < 0 || *score > 30) {
        reportFault(guitext::fromCp932(planlimits::hdsRangeMessage()), page, HDSEdit);
        return false;
    }
    Plan.HDS = static_cast<std::int32_t>(*score);

    // 24-31: the rows of both tables, each followed by its approach memos.
    // The rows' priority marks are kept by the mark cells, not here.
    const auto tableRow = [&](int row) {
        TPRACTITEM &item = planRow(Plan, row);
        for (int column = 0; column < formnames::kColumns; ++column) {
            item.ABC[static_cast<std::size_t>(column)] =
                MarkToHalfWidth(control<TMarkCell>(formnames::abc(row, column))->text());
        }
        return store(control(formnames::goods(row)), planlimits::kGoods, item.Goods) &&
               store(control(formnames::kaigo(row)), planlimits::kGoods, item.Kaigo) &&
               store(control(formnames::time(row)), planlimits::kTime, item.Time);
    };
    for (int row = 0; row <= 12; ++row) {
        if (!tableRow(row)) {
            return false;
        }
    }
    if (!store(PTOTST0, planlimits::kBuffer, Plan.PTOTST0Text) ||
        !store(Kango0, planlimits::kBuffer, Plan.Kango0Text) ||
        !store(Jitchi0, planlimits::kBuffer, Plan.Jitchi0Text)) {
        return false;
    }
    for (int row = 20; row <= 27; ++row) {
        if (!tableRow(row)) {
            return false;
        }
    }
    if (!store(PTOTST1, planlimits::kBuffer, Plan.PTOTST1Text) ||
        !store(Kango1, planlimits::kBuffer, Plan.Kango1Text) ||
        !store(Jitchi1, planlimits::kBuffer, Plan.Jitchi1Text)) {
        return false;
    }

    // 32-42: page 2.
    PageControl1->setCurrentWidget(TabSheet2);
    page = TabSheet2;
    if (!store(SelfHope, planlimits::kBuffer, Plan.SelfHopeText) ||
        !store(FarmilyHope, planlimits::kBuffer, Plan.FarmilyHopeText) ||
        !store(LifePoint, planlimits::kBuffer, Plan.LifePointText) ||
        !store(RihaTerget, planlimits::kBuffer, Plan.RihaTergetText) ||
        !store(SelfDo, planlimits::kBuffer, Plan.SelfDoText) ||
        !store(AskFarmily, planlimits::kBuffer, Plan.AskFarmilyText) ||
        !store(DiseseCare, planlimits::kBuffer, Plan.DiseseCareText) ||
        !store(Variation, planlimits::kBuffer, Plan.VariationText) ||
        !store(Remark, planlimits::kBuffer, Plan.RemarkText)) {
        return false;
    }
    for (int n = 1; n <= formnames::kTeamBoxes; ++n) {
        if (!store(control(formnames::teamBox(n)), planlimits::kName, Plan.Team[static_cast<std::size_t>(n)])) {
            return false;
        }
    }
    return true;
}
