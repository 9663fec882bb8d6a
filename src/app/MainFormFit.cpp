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

using planfile::PlanInput;
using planfile::PlanInputRef;

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

// The caption of an input as the form shows it beside the control.
QString captionOf(PlanInputRef ref)
{
    const auto inRow = [&](const QString &column) {
        return column + QStringLiteral("（") + formnames::rowCaption(ref.number) + QStringLiteral("）");
    };
    const QString firstTable = QStringLiteral("（日常生活・社会活動）");
    const QString secondTable = QStringLiteral("（起居動作）");
    switch (ref.input) {
    case PlanInput::Name: return QStringLiteral("氏名");
    case PlanInput::BirthDate: return QStringLiteral("生年月日");
    case PlanInput::Kenkou: return QStringLiteral("健康状態(原因疾患，発症・受傷日等)");
    case PlanInput::Gapei: return QStringLiteral("合併疾患・コントロール状態");
    case PlanInput::Seikatsu: return QStringLiteral("生活不活発病(廃用症候群)");
    case PlanInput::EtcText: return QStringLiteral("入院・入所中の場合の退院先：その他");
    case PlanInput::HomeWork: return QStringLiteral("家庭内役割（家事への参加、等）");
    case PlanInput::Social: return QStringLiteral("社会活動");
    case PlanInput::GoOut: return QStringLiteral("外出(内容・頻度等)");
    case PlanInput::FreeTime: return QStringLiteral("余暇活動(内容・頻度等)");
    case PlanInput::TaiinText: return QStringLiteral("退院後利用資源");
    case PlanInput::ExerciseText: return QStringLiteral("運動器機能障害");
    case PlanInput::SenseText: return QStringLiteral("感覚機能障害");
    case PlanInput::BrainText: return QStringLiteral("高次脳機能障害");
    case PlanInput::KoushukuText: return QStringLiteral("拘縮（部位）");
    case PlanInput::ArthralgiaText: return QStringLiteral("関節痛（部位）");
    case PlanInput::SonotaText: return QStringLiteral("心身機能：その他");
    case PlanInput::HDS: return QStringLiteral("認知症評価 HDS-R");
    case PlanInput::Goods: return inRow(QStringLiteral("使用用具"));
    case PlanInput::Kaigo: return inRow(QStringLiteral("介護内容"));
    case PlanInput::Time: return inRow(QStringLiteral("到達時期"));
    case PlanInput::PTOTST0Text: return QStringLiteral("PT,OT,STが実施する内容・頻度等") + firstTable;
    case PlanInput::Kango0Text: return QStringLiteral("看護・介護職等が、実施する内容・頻度等") + firstTable;
    case PlanInput::Jitchi0Text: return QStringLiteral("実施上の留意点") + firstTable;
    case PlanInput::PTOTST1Text: return QStringLiteral("PT,OT,STが実施する内容・頻度等") + secondTable;
    case PlanInput::Kango1Text: return QStringLiteral("看護・介護職等が、実施する内容・頻度等") + secondTable;
    case PlanInput::Jitchi1Text: return QStringLiteral("実施上の留意点") + secondTable;
    case PlanInput::SelfHopeText: return QStringLiteral("本人の希望");
    case PlanInput::FarmilyHopeText: return QStringLiteral("ご家族の希望");
    case PlanInput::LifePointText: return QStringLiteral("その人らしく生活するポイント");
    case PlanInput::RihaTergetText: return QStringLiteral("本人の状態およびリハビリテーションの目標");
    case PlanInput::SelfDoText: return QStringLiteral("ご本人に行ってもらうこと");
    case PlanInput::AskFarmilyText: return QStringLiteral("ご家族にお願いしたいこと");
    case PlanInput::DiseseCareText: return QStringLiteral("病気との関係で気をつけること");
    case PlanInput::VariationText: return QStringLiteral("前回計画書作成時からの変化点");
    case PlanInput::RemarkText: return QStringLiteral("備考");
    case PlanInput::Team:
        if (ref.number == 1) {
            return QStringLiteral("担当医");
        }
        return ref.number <= 5 ? QStringLiteral("ＰＴ・ＯＴ・ＳＴ")
                               : (ref.number <= 9 ? QStringLiteral("看護・介護") : QStringLiteral("担当医チーム：その他"));
    }
    return QString();
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
    for (const auto &[ref, control] : checkedControls()) {
        if (ref.input == PlanInput::BirthDate || ref.input == PlanInput::HDS) {
            continue;
        }
        // Measures only this control's text: cheap enough for every keystroke.
        const auto check = [this, ref, control] {
            markFit(control, planfit::CheckFieldFit(ref, controlText(control)));
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
    for (const auto &[ref, widget] : checkedControls()) {
        if (ref == fit.where) {
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
        std::string text = planfit::BreakWideLines(fit.where, controlText(memo));
        if (planfit::CheckFieldFit(fit.where, text).fits()) {
            broken = std::move(text);
        }
    }
    QList<Prompter::Button> buttons{Prompter::Button::Save, Prompter::Button::Cancel};
    if (broken) {
        buttons.append(Prompter::Button::BreakLines);
    }
    const QString text = QStringLiteral("「") + captionOf(fit.where) +
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
