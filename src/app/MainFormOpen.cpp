// The open command of the File menu: reads a plan file back into the editor.
//
// Unsaved changes are confirmed first. The chosen file is read by the PDF
// reader completely before the editor is emptied and refilled. A plan file carries the Author and Subject markers; the text
// printed on its pages is read back into a plan (planfile::decodePlan) and
// every control is refilled from it. Only the rows' priority marks reach `Plan`
// here; everything else reaches it through the validation of the next save.
//
// A file the reader refuses, or one without the two markers, is reported
// in an error box; the editor, `Plan` and `Modified` then stay exactly as
// they were.

#include "app/MainForm.h"

#include "app/ControlNames.h"
#include "dialogs/FileChooser.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "planio/ReadBackCheck.h"
#include "pdfreader/PdfReadError.h"
#include "planfile/PlanDecode.h"
#include "planfile/PlanFormat.h"
#include "planio/PlanRead.h"
#include "app/PlanFiles.h"
#include "dialogs/Prompter.h"
#include "settings/Registory.h"

#include <QFile>
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>

#include <exception>
#include <string_view>

namespace {

// The open command's own failure, reported like the reader's.
QString text(std::string_view cp932Text)
{
    return guitext::fromCp932(cp932Text);
}

// Puts a plan read from a file into the controls of both pages.
void refill(TMainForm &f, const planfile::PrintedPlan &printed)
{
    const TPRACTDATA &p = printed.Plan;
    f.PlanDateEdit->setText(text(printed.PlanDateText));
    f.DateLabel->setText(f.PlanDateEdit->text());
    f.NameEdit->setText(text(p.Name));
    f.UserLabel->setText(f.NameEdit->text());
    f.SexBox->setCurrentIndex(p.Sex);
    f.BirthEdit->setText(text(printed.BirthText));
    f.OldLabel->setText(text(printed.AgeText));
    f.KaigoBox->setCurrentIndex(p.KaigoLevel);

    f.KenkouMemo->setText(text(p.Kenkou));
    f.GapeiMemo->setText(text(p.Gapei));
    f.SeikatsuMemo->setText(text(p.Seikatsu));
    f.HomeBox->setChecked(p.Home);
    f.EtcBox->setChecked(p.Etc);
    f.EtcEdit->setText(text(p.EtcText));
    f.TaiinBox->setChecked(p.Taiin);
    f.HomeWorkEdit->setText(text(p.HomeWork));
    f.SocialEdit->setText(text(p.Social));
    f.GoOutEdit->setText(text(p.GoOut));
    f.FreeTimeEdit->setText(text(p.FreeTime));
    f.TaiinEdit->setText(text(p.TaiinText));
    f.Exercise->setChecked(p.ExerciseFlag);
    f.ExerciseEdit->setText(text(p.ExerciseText));
    f.Sense->setChecked(p.SenseFlag);
    f.SenseEdit->setText(text(p.SenseText));
    f.Brain->setChecked(p.BrainFlag);
    f.BrainEdit->setText(text(p.BrainText));
    f.Koushuku->setChecked(p.KoushukuFlag);
    f.KoushukuEdit->setText(text(p.KoushukuText));
    f.Arthralgia->setChecked(p.ArthralgiaFlag);
    f.ArthralgiaEdit->setText(text(p.ArthralgiaText));
    f.Sonota->setChecked(p.SonotaFlag);
    f.SonotaMemo->setText(text(p.SonotaText));
    f.HDSEdit->setText(text(printed.HDSText));

    // Only the rows' priority marks reach `Plan` here.
    const auto &rows = planRowNumbers();
    const auto fillRows = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            const int row = rows[i];
            const TPRACTITEM &item = planRow(p, row);
            for (int column = 0; column < formnames::kColumns; ++column) {
                f.control<TMarkCell>(formnames::abc(row, column))
                    ->setText(TMainForm::MarkToFullWidth(item.ABC[static_cast<std::size_t>(column)]));
            }
            f.control<TMemo>(formnames::goods(row))->setText(text(item.Goods));
            f.control<TMemo>(formnames::kaigo(row))->setText(text(item.Kaigo));
            f.control<TEdit>(formnames::time(row))->setText(text(item.Time));
            f.control<TClickLabel>(formnames::special(row))->setText(text(printed.PriorityTexts[i]));
            planRow(f.Plan, row).Special = item.Special;
        }
    };
    fillRows(0, kActivityRows);
    f.PTOTST0->setText(text(p.PTOTST0Text));
    f.Kango0->setText(text(p.Kango0Text));
    f.Jitchi0->setText(text(p.Jitchi0Text));
    fillRows(kActivityRows, rows.size());
    f.PTOTST1->setText(text(p.PTOTST1Text));
    f.Kango1->setText(text(p.Kango1Text));
    f.Jitchi1->setText(text(p.Jitchi1Text));

    f.SelfHope->setText(text(p.SelfHopeText));
    f.FarmilyHope->setText(text(p.FarmilyHopeText));
    f.LifePoint->setText(text(p.LifePointText));
    f.RihaTerget->setText(text(p.RihaTergetText));
    f.SelfDo->setText(text(p.SelfDoText));
    f.AskFarmily->setText(text(p.AskFarmilyText));
    f.DiseseCare->setText(text(p.DiseseCareText));
    f.Variation->setText(text(p.VariationText));
    f.Remark->setText(text(p.RemarkText));
    for (int n = 1; n <= formnames::kTeamBoxes; ++n) {
        f.control<QComboBox>(formnames::teamBox(n))->setEditText(text(p.Team[static_cast<std::size_t>(n)]));
    }
}

} // namespace

void TMainForm::OpenMenuClick()
{
    if (!confirmDiscard()) {
        return;
    }
    const QString chosen = fileChooser().openFileName(this, OpenDialogFileName(Registory->OpenFolder));
    if (chosen.isEmpty()) {
        Registory->OpenFolder = RootFolder();
        return;
    }
    openPlanFile(chosen);
}

bool TMainForm::openPlanFile(const QString &chosen)
{
    Registory->OpenFolder = FolderOfFile(chosen);

    // The file is read completely before the editor is touched, so a file
    // that is refused leaves the plan being edited as it was.
    const QString unreadable = QStringLiteral("このファイルは計画書として読み込めませんでした。\n");
    planfile::PrintedPlan printed;
    bool damaged = false;
    try {
        const planio::PlanFileRead read = planio::loadPlanFile(nativePath(chosen));
        OpenedAuthor = guitext::fromCp932(read.author);
        OpenedSubject = guitext::fromCp932(read.subject);
        damaged = planio::findDifference(read).has_value();
        printed = read.printed;
    } catch (const planio::NotAPlanFile &e) {
        OpenedAuthor = guitext::fromCp932(e.author);
        OpenedSubject = guitext::fromCp932(e.subject);
        prompter().error(this, guitext::fromCp932(planfile::kNotAPlanMessage));
        return false;
    } catch (const EPdfReadError &e) {
        // The reader's text is code page 932; a file name it ends with is
        // the platform's own path bytes.
        prompter().error(this, unreadable + guitext::fromCp932(e.text()) +
                                   QFile::decodeName(QByteArray::fromStdString(e.fileName())));
        return false;
    } catch (const std::exception &e) {
        prompter().error(this, unreadable + guitext::fromCp932(e.what()));
        return false;
    }

    // A plan that does not print what the file holds was changed or damaged
    // after it was written: it is shown all the same, after a warning, so
    // that it can be checked against the printed plan.
    if (damaged) {
        prompter().warning(this, guitext::fromCp932(planio::damagedPlanMessage()));
    }
    {
        const ProgramFill fill(*this);
        ClearForm();
        refill(*this, printed);
    }
    Modified = false;
    PlanFile = planFileStamp(chosen);
    unlockEditor();
    PageControl1->setCurrentWidget(TabSheet1);
    return true;
}
