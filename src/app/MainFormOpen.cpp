// The open command of the File menu: reads a plan file back into the editor.
//
// The editor is emptied first, then the chosen file is read by the PDF
// reader. A plan file carries Author "Ｒ１．０" and Subject "ＲＩＨＡ"; every
// control is refilled from the text printed at its field's fixed place on
// the page (field indices 0-247). Only the rows' priority marks reach `Plan`
// here; everything else reaches it through the validation of the next save.
//
// A file the reader refuses, or one without the two markers, is reported
// in an error box; the editor then stays empty and keeps its locked or
// editing state.

#include "app/MainForm.h"

#include "app/ControlNames.h"
#include "dialogs/FileChooser.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "pdfreader/PdfStream.h"
#include "app/PlanFiles.h"
#include "dialogs/Prompter.h"
#include "settings/Registory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>

#include <array>
#include <exception>
#include <stdexcept>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The open command's own failure, reported like the reader's.
class NotAPlanFile : public std::runtime_error {
public:
    NotAPlanFile() : std::runtime_error("not a plan") {}
};

QString notAPlanMessage()
{
    return QStringLiteral("このＰＤＦファイルはリハビリ実施計画書ではありません。");
}

// Leading and trailing blanks and control bytes removed. In code page 932
// no byte below 0x21 is part of a double-byte character.
std::string trimmed(const std::string &text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// Refills the controls from the items of one opened file, in field order.
class Refill {
public:
    Refill(TMainForm &form, const pdfreader::TPdfStream &pdf) : m_form(form), m_pdf(pdf) {}

    void run();

private:
    const Lines *item(int field) const { return m_pdf.item(field); }

    // Line 1, or the empty text when there is no item or it has no line.
    QString line1(int field) const
    {
        const Lines *lines = item(field);
        return lines != nullptr && !lines->empty() ? guitext::fromCp932(lines->front()) : QString();
    }

    // Every line of the item, empty ones included; empty without an item.
    QString allLines(int field) const
    {
        QStringList texts;
        if (const Lines *lines = item(field)) {
            for (const std::string &line : *lines) {
                texts.append(guitext::fromCp932(line));
            }
        }
        return texts.join(QLatin1Char('\n'));
    }

    void edit(QLineEdit *control, int field) const { control->setText(line1(field)); }
    void memo(TMemo *control, int field) const { control->setText(allLines(field)); }
    void tick(QCheckBox *control, int field) const { control->setChecked(line1(field) == QStringLiteral("レ")); }
    void row(int row, int marksField, int goodsField, int kaigoField, int timeField, int specialField);

    TMainForm &m_form;
    const pdfreader::TPdfStream &m_pdf;
};

void Refill::run()
{
    TMainForm &f = m_form;

    f.PlanDateEdit->setText(line1(0));
    f.DateLabel->setText(f.PlanDateEdit->text());
    f.NameEdit->setText(line1(1));
    f.UserLabel->setText(f.NameEdit->text());
    // Only the two printed texts choose a sex; an empty item (a plan saved
    // with none chosen) or any other text leaves the box unchosen.
    const QString sex = line1(2);
    f.SexBox->setCurrentIndex(sex == QStringLiteral("男性") ? 0 : sex == QStringLiteral("女性") ? 1 : -1);
    edit(f.BirthEdit, 3);
    f.OldLabel->setText(line1(4));
    static const std::array<QString, 7> levels{
        QStringLiteral("要支援１"), QStringLiteral("要支援２"), QStringLiteral("要介護１"), QStringLiteral("要介護２"),
        QStringLiteral("要介護３"), QStringLiteral("要介護４"), QStringLiteral("要介護５")};
    const QString level = line1(5);
    int levelIndex = -1;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] == level) {
            levelIndex = static_cast<int>(i);
            break;
        }
    }
    f.KaigoBox->setCurrentIndex(levelIndex);

    memo(f.KenkouMemo, 6);
    memo(f.GapeiMemo, 7);
    memo(f.SeikatsuMemo, 8);
    tick(f.HomeBox, 9);
    tick(f.EtcBox, 10);
    edit(f.EtcEdit, 11);
    tick(f.TaiinBox, 12);
    edit(f.HomeWorkEdit, 13);
    edit(f.SocialEdit, 14);
    edit(f.GoOutEdit, 15);
    edit(f.FreeTimeEdit, 16);
    edit(f.TaiinEdit, 17);
    tick(f.Exercise, 18);
    edit(f.ExerciseEdit, 19);
    tick(f.Sense, 20);
    edit(f.SenseEdit, 21);
    tick(f.Brain, 22);
    edit(f.BrainEdit, 23);
    tick(f.Koushuku, 24);
    edit(f.KoushukuEdit, 25);
    tick(f.Arthralgia, 26);
    edit(f.ArthralgiaEdit, 27);
    tick(f.Sonota, 28);
    memo(f.SonotaMemo, 29);
    edit(f.HDSEdit, 30);

    for (int r = 0; r <= 12; ++r) {
        row(r, 31 + 5 * r, 96 + r, 109 + r, 122 + r, 135 + r);
    }
    memo(f.PTOTST0, 148);
    memo(f.Kango0, 149);
    memo(f.Jitchi0, 150);
    for (int r = 20; r <= 27; ++r) {
        row(r, 51 + 5 * r, 171 + r, 179 + r, 187 + r, 195 + r);
    }
    memo(f.PTOTST1, 223);
    memo(f.Kango1, 224);
    memo(f.Jitchi1, 225);

    int field = 226;
    for (TMemo *page2 : {f.SelfHope, f.FarmilyHope, f.LifePoint, f.RihaTerget, f.SelfDo, f.AskFarmily, f.DiseseCare,
                         f.Variation, f.Remark}) {
        memo(page2, field++);
    }
    for (int n = 1; n <= formnames::kTeamBoxes; ++n) {
        f.control<QComboBox>(formnames::teamBox(n))->setEditText(line1(234 + n));
    }
}

void Refill::row(int row, int marksField, int goodsField, int kaigoField, int timeField, int specialField)
{
    TMainForm &f = m_form;
    // Three marks are printed as two lines ("AB" over "C"); the first two
    // lines together are the cell's letters.
    for (int column = 0; column < formnames::kColumns; ++column) {
        std::string letters;
        if (const Lines *lines = item(marksField + column)) {
            for (std::size_t i = 0; i < lines->size() && i < 2; ++i) {
                letters += (*lines)[i];
            }
        }
        f.control<TMarkCell>(formnames::abc(row, column))->setText(TMainForm::MarkToFullWidth(letters));
    }
    memo(f.control<TMemo>(formnames::goods(row)), goodsField);
    memo(f.control<TMemo>(formnames::kaigo(row)), kaigoField);
    edit(f.control<TEdit>(formnames::time(row)), timeField);

    auto *special = f.control<TClickLabel>(formnames::special(row));
    special->setText(line1(specialField));
    const QString mark = special->text();
    planRow(f.Plan, row).Special = mark == QStringLiteral("○") ? 1 : mark == QStringLiteral("◎") ? 2 : 0;
}

} // namespace

void TMainForm::OpenMenuClick()
{
    Modified = false;
    ClearForm();

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

    try {
        // The reader lives only while the command runs.
        pdfreader::TPdfStream pdf;
        pdf.open(nativePath(chosen));
        OpenedAuthor = guitext::fromCp932(trimmed(pdf.author()));
        if (OpenedAuthor != QStringLiteral("Ｒ１．０")) {
            throw NotAPlanFile();
        }
        OpenedSubject = guitext::fromCp932(trimmed(pdf.subject()));
        if (OpenedSubject != QStringLiteral("ＲＩＨＡ")) {
            throw NotAPlanFile();
        }
        for (int page = 0; page < pdf.pageCount(); ++page) {
            pdf.selectPage(page);
        }
        const ProgramFill fill(*this);
        Refill(*this, pdf).run();
    } catch (const NotAPlanFile &) {
        prompter().error(this, notAPlanMessage());
        return false;
    } catch (const std::exception &e) {
        // The reader's messages are plain ASCII; anything else from the
        // platform is shown as it comes.
        prompter().error(this, guitext::fromCp932(e.what()));
        return false;
    }

    unlockEditor();
    PageControl1->setCurrentWidget(TabSheet1);
    return true;
}
