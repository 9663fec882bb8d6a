// Texts that will not print whole. The plan file is the only copy of a plan
// and keeps only what its printed boxes show, so a text cut at a box's
// right edge or below its bottom is lost once saved. The editor shows such
// a control while it is edited (a red frame and a tooltip naming what will
// not print) and warns once more before a save writes the file.
//
// The measuring is the report engine's own (planfit), on the text of one
// control at a time while typing and on the whole checked plan at save.

#include "app/PlanForm.h"

#include "app/FormControls.h"
#include "app/GuiText.h"
#include "dialogs/Prompter.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldValue.h"
#include "report/PlanFit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>

#include <optional>
#include <utility>
#include <vector>

namespace {

// The thin red frame drawn over a control whose text will not print whole.
// It takes no mouse clicks and no focus.
class FitFrame : public QWidget {
public:
    explicit FitFrame(QWidget *control) : QWidget(control)
    {
        setObjectName(QStringLiteral("FitFrame"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(QPen(Qt::red, 1));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// The caption of a field as the form prints it.
QString captionOf(const planfile::PlanField &field)
{
    return QString::fromUtf8(field.caption);
}

// A part that will not print, as the tooltip and the warning quote it: line
// breaks shown as " / ", a part longer than `longest` characters shortened.
QString quoted(const std::string &cp932, qsizetype longest = 60)
{
    QString text = guitext::fromCp932(cp932);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    if (text.size() > longest) {
        text = text.left(longest) + QStringLiteral("…");
    }
    return QStringLiteral("「") + text + QStringLiteral("」");
}

// The tooltip of a control whose text will not print whole.
QString fitToolTip(const planfit::FieldFit &fit)
{
    QStringList lines{QStringLiteral("印刷欄に収まらない部分は印刷されず、保存もされません。")};
    for (const planfit::WideLine &wide : fit.wideLines) {
        lines.append(QString::number(wide.line) + QStringLiteral("行目の右端から先：") + quoted(wide.lost));
    }
    if (fit.firstDroppedLine > 0) {
        lines.append(QString::number(fit.firstDroppedLine) + QStringLiteral("行目から下：") + quoted(fit.dropped));
    }
    return lines.join(QLatin1Char('\n'));
}

void markFit(QWidget *control, const planfit::FieldFit &fit)
{
    auto *frame = control->findChild<FitFrame *>(QStringLiteral("FitFrame"), Qt::FindDirectChildrenOnly);
    if (fit.fits()) {
        if (frame != nullptr) {
            frame->hide();
            control->setToolTip(QString());
        }
        return;
    }
    if (frame == nullptr) {
        frame = new FitFrame(control);
    }
    frame->setGeometry(control->rect());
    frame->raise();
    frame->show();
    control->setToolTip(fitToolTip(fit));
}

} // namespace

void TPlanForm::watchPrintedFit()
{
    for (const planfile::PlanField *field : planfile::checkedFields()) {
        if (field->kind != planfile::FieldKind::Text && field->kind != planfile::FieldKind::Memo) {
            continue;
        }
        QWidget *control = this->control(*field);
        // Measures only this control's text: cheap enough for every keystroke.
        const auto check = [this, field, control] {
            markFit(control, planfit::CheckFieldFit(*field, controlText(*field)));
        };
        if (auto *memo = qobject_cast<TMemo *>(control)) {
            connect(memo, &QPlainTextEdit::textChanged, this, check);
        } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
            connect(edit, &QLineEdit::textChanged, this, check);
        } else if (auto *box = qobject_cast<QComboBox *>(control)) {
            connect(box, &QComboBox::currentTextChanged, this, check);
            connect(box, &QComboBox::editTextChanged, this, check);
        }
    }
}

namespace {

// A caption without the colon some end in.
QString bare(QString caption)
{
    while (caption.endsWith(QStringLiteral("：")) || caption.endsWith(QLatin1Char(':'))) {
        caption.chop(1);
    }
    return caption;
}

// A caption followed by one colon.
QString withColon(const QString &caption)
{
    return bare(caption) + QStringLiteral("：");
}

// One line of the warning's list: the field's caption and the start of what
// will not print (the parts beyond the right edge, then the lines below the
// box), and whether breaking its lines saves it.
QString warningEntry(const planfit::FieldFit &fit, bool breakable)
{
    constexpr qsizetype kStartShown = 20;
    std::string lost;
    for (const planfit::WideLine &wide : fit.wideLines) {
        lost += (lost.empty() ? "" : "\r\n") + wide.lost;
    }
    if (fit.firstDroppedLine > 0) {
        lost += (lost.empty() ? "" : "\r\n") + fit.dropped;
    }
    QString entry = withColon(captionOf(*fit.where)) + quoted(lost, kStartShown);
    if (breakable) {
        entry += QStringLiteral("（改行を入れると収まります）");
    }
    return entry;
}

QString warningText(const std::vector<planfit::FieldFit> &cuts)
{
    const QString which = cuts.size() == 1
                              ? QStringLiteral("「") + bare(captionOf(*cuts.front().where)) + QStringLiteral("」の文字")
                              : QStringLiteral("次の") + QString::number(cuts.size()) + QStringLiteral("つの欄の文字");
    return which + QStringLiteral("が印刷欄に収まりません。\n収まらない部分は保存されません。\n保存しますか？");
}

} // namespace

bool TPlanForm::ConfirmLookAlikes()
{
    QStringList entries;
    const planfile::PlanField *first = nullptr;
    for (const planfile::PlanField &field : planfile::kPlanFields) {
        if (field.kind != planfile::FieldKind::Text && field.kind != planfile::FieldKind::Memo) {
            continue;
        }
        const std::vector<cp932::LookAlike> changes =
            cp932::lookAlikesUtf8(controlShownText(field).toStdString());
        QStringList pairs;
        for (const cp932::LookAlike &change : changes) {
            pairs.append(QStringLiteral("「") + QString::fromUcs4(&change.from, 1) + QStringLiteral("」→「") +
                         QString::fromUcs4(&change.to, 1) + QStringLiteral("」"));
        }
        if (!pairs.isEmpty()) {
            entries.append(withColon(captionOf(field)) + pairs.join(QStringLiteral("、")));
            first = first != nullptr ? first : &field;
        }
    }
    if (entries.isEmpty()) {
        return true;
    }
    const Prompter::Button answer =
        prompter().askWithList(window(), Prompter::Kind::Warning,
                               QStringLiteral("次の文字は、よく似た別の文字として保存されます。\n保存しますか？"),
                               entries, {Prompter::Button::Save, Prompter::Button::Cancel});
    if (answer == Prompter::Button::Save) {
        return true;
    }
    focusField(*first);
    return false;
}

bool TPlanForm::ConfirmPrintedFit(TPRACTDATA &plan)
{
    // After the lines were broken, only what still does not fit is asked
    // about again, and breaking is offered no more.
    bool mayBreak = true;
    for (;;) {
        const std::vector<planfit::FieldFit> cuts = planfit::CheckPlanFit(plan);
        if (cuts.empty()) {
            return true;
        }
        // The memos that breaking their too-wide lines saves whole.
        std::vector<std::pair<const planfile::PlanField *, std::string>> broken;
        QStringList entries;
        for (const planfit::FieldFit &fit : cuts) {
            std::optional<std::string> text =
                mayBreak ? planfit::BreakToFit(*fit.where, planfile::fieldText(plan, *fit.where)) : std::nullopt;
            entries.append(warningEntry(fit, text.has_value()));
            if (text) {
                broken.emplace_back(fit.where, std::move(*text));
            }
        }
        // The default (the first) keeps every text: breaking the lines when
        // that is offered, else not saving. Enter never saves a cut.
        QList<Prompter::Button> buttons{Prompter::Button::Cancel, Prompter::Button::Save};
        if (!broken.empty()) {
            buttons.prepend(Prompter::Button::BreakLines);
        }
        const Prompter::Button answer =
            prompter().askWithList(window(), Prompter::Kind::Warning, warningText(cuts), entries, buttons);
        if (answer == Prompter::Button::Save) {
            return true;
        }
        if (answer != Prompter::Button::BreakLines || broken.empty()) {
            focusField(*cuts.front().where);
            return false;
        }
        // The memos take their broken lines as an edit of the user's, and
        // the plan to be saved the same texts.
        breakTypedRun();
        for (const auto &[field, text] : broken) {
            control<TMemo>(*field)->setText(guitext::fromCp932(text));
            planfile::setFieldText(plan, *field, text);
        }
        recordEdit(); // one step of the undo history
        // The first memo broken is shown, so the user sees the new lines.
        focusField(*broken.front().first);
        mayBreak = false;
    }
}
