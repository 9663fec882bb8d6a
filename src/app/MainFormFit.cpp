// Texts that will not print whole. The plan file is the only copy of a plan
// and keeps only what its printed boxes show, so a text cut at a box's
// right edge or below its bottom is lost once saved. The editor shows such
// a control while it is edited (a red frame and a tooltip naming what will
// not print) and warns once more before a save writes the file.
//
// The measuring is the report engine's own (planfit), on the text of one
// control at a time while typing and on the whole gathered plan at save.

#include "app/MainForm.h"

#include "app/ControlNames.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "dialogs/Prompter.h"
#include "report/PlanFit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QTabWidget>

#include <optional>

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

// A part that will not print, as the tooltip quotes it: line breaks shown
// as " / ", long parts shortened.
QString quoted(const std::string &cp932)
{
    constexpr qsizetype kLongest = 60;
    QString text = guitext::fromCp932(cp932);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    if (text.size() > kLongest) {
        text = text.left(kLongest) + QStringLiteral("…");
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

void TMainForm::watchPrintedFit()
{
    for (const auto &[field, control] : checkedControls()) {
        if (field->kind != planfile::FieldKind::Text && field->kind != planfile::FieldKind::Memo) {
            continue;
        }
        // Measures only this control's text: cheap enough for every keystroke.
        const auto check = [this, field, control] {
            markFit(control, planfit::CheckFieldFit(*field, controlText(control)));
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

bool TMainForm::ConfirmPrintedFit()
{
    const std::vector<planfit::FieldFit> cuts = planfit::CheckPlanFit(Plan);
    if (cuts.empty()) {
        return true;
    }
    const planfit::FieldFit &fit = cuts.front();
    QWidget *control = nullptr;
    for (const auto &[field, widget] : checkedControls()) {
        if (field == fit.where) {
            control = widget;
        }
    }
    if (control == nullptr) {
        return true;
    }

    // Breaking the lines is offered only where it saves the whole text: a
    // memo whose lines are too wide and that then fits its box.
    std::optional<std::string> broken;
    auto *memo = qobject_cast<TMemo *>(control);
    if (memo != nullptr && !fit.wideLines.empty() && fit.firstDroppedLine == 0) {
        std::string text = planfit::BreakWideLines(*fit.where, controlText(memo));
        if (planfit::CheckFieldFit(*fit.where, text).fits()) {
            broken = std::move(text);
        }
    }
    QList<Prompter::Button> buttons{Prompter::Button::Save, Prompter::Button::Cancel};
    if (broken) {
        buttons.append(Prompter::Button::BreakLines);
    }
    const QString text = QStringLiteral("「") + captionOf(*fit.where) +
                         QStringLiteral("」の文字が印刷欄に収まりません。\n収まらない部分は保存されません。\n保存しますか？");
    const Prompter::Button answer = prompter().ask(this, Prompter::Kind::Warning, text, buttons);
    if (answer == Prompter::Button::Save) {
        return true;
    }
    if (answer == Prompter::Button::BreakLines && broken) {
        memo->setText(guitext::fromCp932(*broken));
    }
    QWidget *page = ScrollBox1->isAncestorOf(control) ? TabSheet1 : TabSheet2;
    PageControl1->setCurrentWidget(page);
    (page == TabSheet1 ? ScrollBox1 : ScrollBox2)->ensureWidgetVisible(control);
    control->setFocus();
    return false;
}
