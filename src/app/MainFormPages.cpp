// Builds the two pages of the form. Every position is given in the points of
// the printed A4 page and scaled to the screen panel, so that the screen and
// the printout look alike: page 1 keeps the proportions of the paper, page 2
// is squeezed a little in height to fit its shorter panel.

#include "app/MainForm.h"

#include "app/ControlNames.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "planfile/PlanFormat.h"
#include "report/PlanLayoutTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>
#include <string_view>

namespace {

constexpr QSize kPage1Size(687, 990);
constexpr QSize kPage2Size(687, 800);
constexpr double kScaleX = 1.15;
constexpr double kPage1ScaleY = 1.15;
constexpr double kPage2ScaleY = 0.95;

// Caption sizes in pixels for the printed sizes 8, 10 and 12 points.
constexpr int kSmall = 9;
constexpr int kNormal = 12;
constexpr int kTitle = 14;
// Text size of the input controls that print at 8 points.
constexpr int kSmallInput = 10;

struct Box {
    double left, top, width, height;
};

// The ruled frames of a printed page (its rectangles, points) drawn on the
// screen page. The small frames of the printed tick boxes are left out: the
// check boxes draw their own.
template <std::size_t N> void addFrames(TFormPanel *panel, const std::array<planlayout::LayoutItemDef, N> &items)
{
    for (const planlayout::LayoutItemDef &item : items) {
        const bool tickFrame = item.width <= 10 && item.height <= 10;
        if (item.kind == planlayout::LayoutItemKind::Rect && !tickFrame) {
            panel->addFrame(item.left, item.top, item.width, item.height);
        }
    }
}

// The choices of a combo box, from the plan file's texts.
template <std::size_t N> QStringList choiceItems(const std::array<std::string_view, N> &choices)
{
    QStringList items;
    for (const std::string_view choice : choices) {
        items.append(guitext::fromCp932(choice));
    }
    return items;
}

// Top of each table row on paper (points), by row number.
double rowTop(int row)
{
    static const std::array<double, 13> activity{279, 300, 321, 342, 384, 405, 426, 447, 468, 489, 510, 531, 552};
    return row < 20 ? activity.at(static_cast<std::size_t>(row)) : 648 + 21.0 * (row - 20);
}

// The ruled lines of the level columns, left to right (points): the lines
// of the printed frames, which lie one point inside a frame's right edge.
constexpr std::array<double, 6> kLevelEdges{94, 107, 120, 133, 146, 159};
// The lines after them: goods, care, target period, priority mark.
constexpr std::array<double, 5> kRowEdges{159, 215, 287, 325, 347};
// A table row is 21 points high between its lines.
constexpr double kRowHeight = 21;

QString fixedFontFamily()
{
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                                  QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")}) {
        if (installed.contains(family)) {
            return family;
        }
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

// Places controls on a page panel; positions in points.
class PageBuilder {
public:
    explicit PageBuilder(TFormPanel *panel) : m_panel(panel) {}

    template <typename W> W *place(W *widget, const QString &name, Box box, int pixelSize, int minHeight = 0)
    {
        widget->setObjectName(name);
        widget->setFont(m_panel->font());
        m_panel->placeControl(widget, box.left, box.top, box.width, box.height, pixelSize, minHeight);
        return widget;
    }

    // Between the ruled lines of a table cell.
    template <typename W> W *inCell(W *widget, const QString &name, double left, double top, double right, int pixelSize)
    {
        widget->setObjectName(name);
        widget->setFont(m_panel->font());
        m_panel->placeInCell(widget, left, top, right, top + kRowHeight, pixelSize);
        return widget;
    }

    TEdit *edit(const QString &name, Box box, int pixelSize)
    {
        return place(new TEdit(m_panel), name, box, pixelSize, pixelSize + 3);
    }
    TMemo *memo(const QString &name, Box box, int pixelSize) { return place(new TMemo(m_panel), name, box, pixelSize); }
    QCheckBox *check(const QString &name, const QString &caption, Box box, int pixelSize)
    {
        auto *check = place(new QCheckBox(caption, m_panel), name, box, pixelSize, pixelSize + 3);
        return check;
    }
    QComboBox *combo(const QString &name, Box box, int pixelSize, bool editable)
    {
        return place(new TChoiceBox(editable, m_panel), name, box, pixelSize, pixelSize + 6);
    }
    TClickLabel *label(const QString &name, const QString &caption, Box box, int pixelSize)
    {
        auto *label = place(new TClickLabel(m_panel), name, box, pixelSize);
        label->setText(caption);
        return label;
    }

private:
    TFormPanel *m_panel;
};

// Adds tab page n: the tab sheet "TabSheet" + n holding the scroll box
// "ScrollBox" + n around the white page panel "Panel" + n with its ruled frames.
template <std::size_t N>
TFormPanel *addPage(QTabWidget *pages, int n, const QString &caption, QSize size, double scaleY,
                    const std::array<planlayout::LayoutItemDef, N> &printed, const QFont &font, QWidget *&sheet,
                    QScrollArea *&scroll)
{
    const QString number = QString::number(n);
    sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("TabSheet") + number);
    pages->addTab(sheet, caption);

    auto *panel = new TFormPanel(size, kScaleX, scaleY);
    panel->setObjectName(QStringLiteral("Panel") + number);
    panel->setFont(font);
    addFrames(panel, printed);

    scroll = new QScrollArea(sheet);
    scroll->setObjectName(QStringLiteral("ScrollBox") + number);
    scroll->setWidget(panel);
    scroll->setWidgetResizable(false);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The scroll box only holds the page: Tab goes from control to control.
    scroll->setFocusPolicy(Qt::NoFocus);

    auto *sheetLayout = new QVBoxLayout(sheet);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    sheetLayout->addWidget(scroll);
    return panel;
}

} // namespace

void TMainForm::buildPage1()
{
    Panel1 = addPage(PageControl1, 1, QStringLiteral("リハビリテーション実施計画書（１）"), kPage1Size, kPage1ScaleY, planlayout::kPage1Items, font(),
                      TabSheet1, ScrollBox1);
    TFormPanel *p = Panel1;
    PageBuilder b(p);

    // Head of the page.
    p->addCaption(17, 8, 217, 17, QStringLiteral("リハビリテーション実施計画書（１）"), kTitle);
    p->addCaption(409, 11, 71, 12, QStringLiteral("計画評価実施日："), kNormal);
    PlanDateEdit = b.edit(QStringLiteral("PlanDateEdit"), {488, 10, 94, 14}, kNormal);
    p->addCaption(16, 34, 22, 12, QStringLiteral("氏名"), kNormal);
    NameEdit = b.edit(QStringLiteral("NameEdit"), {40, 33, 96, 14}, kNormal);
    p->addCaption(142, 34, 26, 12, QStringLiteral("性別"), kNormal);
    SexBox = b.combo(QStringLiteral("SexBox"), {166, 31, 62, 16}, kNormal, false);
    SexBox->addItems(choiceItems(planfile::kSexes));
    p->addCaption(235, 34, 42, 11, QStringLiteral("生年月日"), kNormal);
    BirthEdit = b.edit(QStringLiteral("BirthEdit"), {283, 33, 98, 14}, kNormal);
    OldLabel = b.label(QStringLiteral("OldLabel"), QStringLiteral("Old"), {386, 34, 26, 13}, kNormal);
    OldLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label12 = b.label(QStringLiteral("Label12"), QStringLiteral("歳"), {414, 34, 14, 13}, kNormal);
    connect(OldLabel, &TClickLabel::clicked, this, &TMainForm::OldLabelClick);
    connect(Label12, &TClickLabel::clicked, this, &TMainForm::OldLabelClick);
    p->addCaption(456, 34, 45, 12, QStringLiteral("要介護度"), kNormal);
    KaigoBox = b.combo(QStringLiteral("KaigoBox"), {505, 31, 78, 16}, kNormal, false);
    KaigoBox->addItems(choiceItems(planfile::kCareLevels) << QString());

    // The date fields use a fixed-pitch face so the era text keeps its shape.
    QFont fixed(fixedFontFamily());
    fixed.setPixelSize(kNormal);
    PlanDateEdit->setFont(fixed);
    BirthEdit->setFont(fixed);
    // Dates are typed as digits and era keys; the two lists take no text.
    PlanDateEdit->setInputMethodOff(true);
    BirthEdit->setInputMethodOff(true);
    for (QLineEdit *dateField : {static_cast<QLineEdit *>(PlanDateEdit), static_cast<QLineEdit *>(BirthEdit)}) {
        dateField->setText(QStringLiteral("平成  年  月  日"));
        dateField->setContextMenuPolicy(Qt::NoContextMenu);
        dateField->setDragEnabled(false);
        dateField->setAcceptDrops(false);
    }

    // Health.
    p->addCaption(21, 52, 142, 10, QStringLiteral("健康状態(原因疾患，発症・受傷日等)"), kSmall);
    KenkouMemo = b.memo(QStringLiteral("KenkouMemo"), {19, 63, 211, 61}, kSmallInput);
    p->addCaption(236, 52, 100, 11, QStringLiteral("合併疾患・コントロール状態"), kSmall);
    p->addCaption(237, 61, 167, 10, QStringLiteral("(高血圧症，心疾患，呼吸器疾患，糖尿病等)"), kSmall);
    GapeiMemo = b.memo(QStringLiteral("GapeiMemo"), {235, 71, 208, 17}, kSmallInput);
    p->addCaption(236, 89, 100, 11, QStringLiteral("生活不活発病(廃用症候群)"), kSmall);
    p->addCaption(237, 98, 127, 12, QStringLiteral("発生原因がわかる場合はその内容"), kSmall);
    SeikatsuMemo = b.memo(QStringLiteral("SeikatsuMemo"), {235, 108, 208, 17}, kSmallInput);

    // Participation and the destination after discharge.
    p->addCaption(21, 132, 20, 10, QStringLiteral("参加"), kSmall);
    p->addCaption(78, 132, 180, 10, QStringLiteral("主目標  (コロン(：)の後に具体的内容を記入。)"), kSmall);
    p->addCaption(21, 147, 109, 11, QStringLiteral("入院・入所中の場合の退院先"), kSmall);
    HomeBox = b.check(QStringLiteral("HomeBox"), QStringLiteral("自宅"), {133, 146, 36, 11}, kSmall);
    EtcBox = b.check(QStringLiteral("EtcBox"), QStringLiteral("その他："), {170, 146, 49, 11}, kSmall);
    EtcEdit = b.edit(QStringLiteral("EtcEdit"), {219, 146, 86, 11}, kSmallInput);
    TaiinBox = b.check(QStringLiteral("TaiinBox"), QStringLiteral("退院未定"), {307, 146, 52, 11}, kSmall);
    p->addCaption(24, 160, 121, 9, QStringLiteral("家庭内役割（家事への参加、等）："), kSmall);
    HomeWorkEdit = b.edit(QStringLiteral("HomeWorkEdit"), {150, 159, 292, 11}, kSmallInput);
    p->addCaption(24, 171, 88, 9, QStringLiteral("社会活動："), kSmall);
    SocialEdit = b.edit(QStringLiteral("SocialEdit"), {150, 170, 292, 11}, kSmallInput);
    p->addCaption(24, 183, 88, 9, QStringLiteral("外出(内容・頻度等)："), kSmall);
    GoOutEdit = b.edit(QStringLiteral("GoOutEdit"), {150, 181, 292, 11}, kSmallInput);
    p->addCaption(24, 194, 88, 9, QStringLiteral("余暇活動(内容・頻度等)："), kSmall);
    FreeTimeEdit = b.edit(QStringLiteral("FreeTimeEdit"), {150, 192, 292, 11}, kSmallInput);
    p->addCaption(24, 206, 88, 9, QStringLiteral("退院後利用資源："), kSmall);
    TaiinEdit = b.edit(QStringLiteral("TaiinEdit"), {150, 203, 292, 11}, kSmallInput);

    // Body functions and impairments.
    p->addCaption(452, 52, 38, 11, QStringLiteral("心身機能"), kSmall);
    Exercise = b.check(QStringLiteral("Exercise"), QStringLiteral("運動器機能障害："), {450, 60, 90, 11}, kSmall);
    ExerciseEdit = b.edit(QStringLiteral("ExerciseEdit"), {451, 71, 131, 11}, kSmallInput);
    Sense = b.check(QStringLiteral("Sense"), QStringLiteral("感覚機能障害："), {450, 84, 90, 11}, kSmall);
    SenseEdit = b.edit(QStringLiteral("SenseEdit"), {451, 95, 131, 11}, kSmallInput);
    Brain = b.check(QStringLiteral("Brain"), QStringLiteral("高次脳機能障害："), {450, 107, 90, 11}, kSmall);
    BrainEdit = b.edit(QStringLiteral("BrainEdit"), {451, 119, 131, 11}, kSmallInput);
    Koushuku = b.check(QStringLiteral("Koushuku"), QStringLiteral("拘縮（部位）："), {450, 131, 90, 11}, kSmall);
    KoushukuEdit = b.edit(QStringLiteral("KoushukuEdit"), {451, 143, 131, 11}, kSmallInput);
    Arthralgia = b.check(QStringLiteral("Arthralgia"), QStringLiteral("関節痛（部位）："), {450, 155, 90, 11}, kSmall);
    ArthralgiaEdit = b.edit(QStringLiteral("ArthralgiaEdit"), {451, 166, 131, 11}, kSmallInput);
    Sonota = b.check(QStringLiteral("Sonota"), QStringLiteral("その他："), {450, 178, 90, 11}, kSmall);
    SonotaMemo = b.memo(QStringLiteral("SonotaMemo"), {451, 190, 131, 19}, kSmallInput);
    p->addCaption(450, 214, 78, 9, QStringLiteral("認知症評価 HDS-R"), kSmall);
    HDSEdit = b.edit(QStringLiteral("HDSEdit"), {527, 212, 23, 12}, kSmallInput);
    HDSEdit->setInputMethodOff(true);
    p->addCaption(552, 214, 13, 11, QStringLiteral("点"), kSmall);

    // The two assessment tables share their build; `shift` moves the
    // second one down to its place.
    const auto tableHead = [&](double shift) {
        p->addCaption(47, 232 + shift, 45, 9, QStringLiteral("自立・介護"), kSmall);
        p->addCaption(70, 247 + shift, 18, 12, QStringLiteral("状況"), kSmall);
        p->addCaption(40, 248 + shift, 21, 19, QStringLiteral("＼"), 20);
        p->addCaption(24, 266 + shift, 21, 12, QStringLiteral("項目"), kSmall);
        p->addCaption(94, 230 + shift, 254, 17, QStringLiteral("現在の評価及び目標"), kSmall, Qt::AlignCenter);
        p->addCaption(347, 230 + shift, 238, 17, QStringLiteral("具体的なアプローチ"), kSmall, Qt::AlignCenter);
        const std::array<QString, 5> levels{QStringLiteral("自立"), QStringLiteral("見守り"),
                                            QStringLiteral("一部介助"), QStringLiteral("全介助"),
                                            QStringLiteral("行わず")};
        for (std::size_t c = 0; c < levels.size(); ++c) {
            p->addVerticalCaption(kLevelEdges[c], 246 + shift, kLevelEdges[c + 1] - kLevelEdges[c], 33, levels[c],
                                  kSmall);
        }
        const int wrapCentre = Qt::AlignCenter | Qt::TextWrapAnywhere;
        p->addCaption(159, 246 + shift, 57, 34, QStringLiteral("使用用具\n(杖・装具・歩行器・車椅子など)"), 8,
                      wrapCentre);
        p->addCaption(215, 246 + shift, 73, 34, QStringLiteral("介護内容\n(つたい・もたれ等)"), kSmall, wrapCentre);
        p->addCaption(287, 246 + shift, 39, 34, QStringLiteral("到達時期"), kSmall, wrapCentre);
        p->addCaption(325, 246 + shift, 23, 34, QStringLiteral("重点項目"), kSmall, wrapCentre);
        p->addCaption(347, 246 + shift, 80, 34, QStringLiteral("PT,OT,STが実施する内容・頻度等"), kSmall, wrapCentre);
        p->addCaption(426, 246 + shift, 80, 34, QStringLiteral("看護・介護職等が、実施する内容・頻度等"), kSmall,
                      wrapCentre);
        p->addCaption(505, 246 + shift, 80, 34, QStringLiteral("実施上の留意点"), kSmall, wrapCentre);
    };
    const auto tableRow = [&](int row, double itemLeft, const QString &item) {
        const double top = rowTop(row);
        p->addCaption(itemLeft, top, 95 - itemLeft, 22, item, kSmall, Qt::AlignCenter | Qt::TextWrapAnywhere);
        for (int column = 0; column < formnames::kColumns; ++column) {
            const auto c = static_cast<std::size_t>(column);
            auto *cell = b.inCell(new TMarkCell(p), formnames::abc(row, column), kLevelEdges[c], top,
                                  kLevelEdges[c + 1], kSmallInput);
            cell->setText(QStringLiteral("　"));
            connect(cell, &TMarkCell::mouseUp, this, &TMainForm::ABCMouseUp);
        }
        b.inCell(new TMemo(p), formnames::goods(row), kRowEdges[0], top, kRowEdges[1], kSmallInput);
        b.inCell(new TMemo(p), formnames::kaigo(row), kRowEdges[1], top, kRowEdges[2], kSmallInput);
        auto *time = b.inCell(new TEdit(p), formnames::time(row), kRowEdges[2], top, kRowEdges[3], kSmallInput);
        time->setText(QStringLiteral("　"));
        auto *special = b.inCell(new TClickLabel(p), formnames::special(row), kRowEdges[3], top, kRowEdges[4], kNormal);
        special->setText(QStringLiteral("　"));
        special->setAlignment(Qt::AlignCenter);
        connect(special, &TClickLabel::clicked, this, &TMainForm::SpecialClick);
    };

    tableHead(0);
    p->addVerticalCaption(16, 279, 20, 316, QStringLiteral("日常生活・社会活動"), kSmall);
    for (int row = 0; row <= 12; ++row) {
        tableRow(row, 36, formnames::rowCaption(row));
    }
    PTOTST0 = b.memo(QStringLiteral("PTOTST0"), {348, 280, 78, 314}, kSmallInput);
    Kango0 = b.memo(QStringLiteral("Kango0"), {427, 280, 78, 314}, kSmallInput);
    Jitchi0 = b.memo(QStringLiteral("Jitchi0"), {506, 280, 78, 314}, kSmallInput);

    tableHead(369);
    p->addVerticalCaption(16, 648, 20, 147, QStringLiteral("起居動作"), kSmall);
    for (int row = 20; row <= 27; ++row) {
        tableRow(row, row == 27 ? 16 : 36, formnames::rowCaption(row));
    }
    PTOTST1 = b.memo(QStringLiteral("PTOTST1"), {348, 649, 78, 167}, kSmallInput);
    Kango1 = b.memo(QStringLiteral("Kango1"), {427, 649, 78, 167}, kSmallInput);
    Jitchi1 = b.memo(QStringLiteral("Jitchi1"), {506, 649, 78, 167}, kSmallInput);

    p->addCaption(
        32, 820, 500, 11,
        QStringLiteral("「現在の評価及び目標」における項目に関する記入例：　　　Ａ　目標　　　　　Ｂ　実行状況"
                       "　　　　　Ｃ　能力"),
        kSmall);
}

void TMainForm::buildPage2()
{
    Panel2 = addPage(PageControl1, 2, QStringLiteral("リハビリテーション実施計画書（２）"), kPage2Size, kPage2ScaleY, planlayout::kPage2Items, font(),
                      TabSheet2, ScrollBox2);
    TFormPanel *p = Panel2;
    PageBuilder b(p);

    p->addCaption(16, 6, 225, 18, QStringLiteral("リハビリテーション実施計画書（２）"), kTitle,
                  Qt::AlignLeft | Qt::AlignTop, true);
    p->addCaption(286, 8, 56, 12, QStringLiteral("利用者氏名"), kNormal);
    // The name is cut at its box as on the printout, clear of "様".
    auto *userLabel = b.label(QStringLiteral("UserLabel"), QString(), {358, 8, 99, 13}, kNormal);
    userLabel->setCutAtBox(true);
    UserLabel = userLabel;
    p->addCaption(461, 8, 17, 12, QStringLiteral("様"), kNormal);
    DateLabel = b.label(QStringLiteral("DateLabel"), QString(), {480, 8, 100, 13}, kNormal);

    p->addCaption(17, 27, 54, 12, QStringLiteral("本人の希望"), kNormal);
    SelfHope = b.memo(QStringLiteral("SelfHope"), {15, 40, 564, 26}, kNormal);
    p->addCaption(17, 75, 65, 12, QStringLiteral("ご家族の希望"), kNormal);
    FarmilyHope = b.memo(QStringLiteral("FarmilyHope"), {15, 88, 564, 33}, kNormal);
    p->addVerticalCaption(12, 126, 33, 59, QStringLiteral("生活目標"), kNormal);
    p->addCaption(51, 130, 149, 12, QStringLiteral("その人らしく生活するポイント"), kNormal);
    LifePoint = b.memo(QStringLiteral("LifePoint"), {48, 144, 531, 39}, kNormal);
    p->addVerticalCaption(12, 189, 33, 130, QStringLiteral("リハビリテ丨ション計画"), 10);
    p->addCaption(51, 194, 209, 12, QStringLiteral("本人の状態およびリハビリテーションの目標"), kNormal);
    RihaTerget = b.memo(QStringLiteral("RihaTerget"), {48, 208, 531, 109}, kNormal);
    p->addCaption(17, 327, 124, 12, QStringLiteral("ご本人に行ってもらうこと"), kNormal);
    SelfDo = b.memo(QStringLiteral("SelfDo"), {15, 340, 564, 37}, kNormal);
    p->addCaption(17, 387, 125, 12, QStringLiteral("ご家族にお願いしたいこと"), kNormal);
    AskFarmily = b.memo(QStringLiteral("AskFarmily"), {15, 400, 564, 37}, kNormal);
    p->addCaption(17, 447, 149, 12, QStringLiteral("病気との関係で気をつけること"), kNormal);
    DiseseCare = b.memo(QStringLiteral("DiseseCare"), {15, 460, 564, 38}, kNormal);
    p->addCaption(17, 508, 149, 12, QStringLiteral("前回計画書作成時からの変化点"), kNormal);
    Variation = b.memo(QStringLiteral("Variation"), {15, 521, 564, 84}, kNormal);
    p->addCaption(17, 615, 29, 12, QStringLiteral("備考"), kNormal);
    Remark = b.memo(QStringLiteral("Remark"), {15, 628, 564, 54}, kNormal);

    p->addVerticalCaption(12, 688, 33, 96, QStringLiteral("担当医チ丨ム"), kNormal);
    p->addCaption(52, 699, 54, 12, QStringLiteral("●担当医："), kNormal);
    p->addCaption(52, 720, 108, 12, QStringLiteral("●ＰＴ・ＯＴ・ＳＴ："), kNormal);
    p->addCaption(52, 741, 85, 12, QStringLiteral("●看護・介護："), kNormal);
    p->addCaption(52, 763, 54, 12, QStringLiteral("●その他："), kNormal);
    constexpr std::array<double, 4> teamRowTops{697, 718, 739, 760};
    for (int n = 1; n <= formnames::kTeamBoxes; ++n) {
        const int row = n == 1 ? 0 : (n - 2) / 4 + 1;
        const int column = n == 1 ? 0 : (n - 2) % 4;
        b.combo(formnames::teamBox(n), {152 + 104.0 * column, teamRowTops.at(static_cast<std::size_t>(row)), 100, 16},
                kNormal, true);
    }

    p->addCaption(40, 792, 153, 14, QStringLiteral("ご本人・ご家族への説明と同意："), kNormal);
    p->addCaption(232, 792, 20, 11, QStringLiteral("年"), kNormal);
    p->addCaption(262, 792, 20, 11, QStringLiteral("月"), kNormal);
    p->addCaption(292, 792, 20, 11, QStringLiteral("日"), kNormal);
    p->addCaption(40, 805, 125, 14, QStringLiteral("ご本人・ご家族サイン："), kNormal);
    p->addCaption(304, 805, 73, 12, QStringLiteral("説明者サイン："), kNormal);
    p->addCaption(
        137, 824, 372, 11,
        QStringLiteral("注：　本計画書に記載されている情報は、適切な介護サービスを提供するためにのみ使用いたします。"),
        kSmall);
}

// Tab order follows the record: page 1 from the plan date down through both
// tables, then page 2's memos and the care team. Labels take no focus.
void TMainForm::setTabOrder()
{
    QList<QWidget *> order{PlanDateEdit, NameEdit,     SexBox,         BirthEdit,    KaigoBox,   KenkouMemo,
                           GapeiMemo,    SeikatsuMemo, HomeBox,        EtcBox,       EtcEdit,    TaiinBox,
                           HomeWorkEdit, SocialEdit,   GoOutEdit,      FreeTimeEdit, TaiinEdit,  Exercise,
                           ExerciseEdit, Sense,        SenseEdit,      Brain,        BrainEdit,  Koushuku,
                           KoushukuEdit, Arthralgia,   ArthralgiaEdit, Sonota,       SonotaMemo, HDSEdit};
    const auto addRows = [&](int first, int last) {
        for (int row = first; row <= last; ++row) {
            order.append(control(formnames::goods(row)));
            order.append(control(formnames::kaigo(row)));
            order.append(control(formnames::time(row)));
        }
    };
    addRows(0, 12);
    order << PTOTST0 << Kango0 << Jitchi0;
    addRows(20, 27);
    order << PTOTST1 << Kango1 << Jitchi1;
    order << SelfHope << FarmilyHope << LifePoint << RihaTerget << SelfDo << AskFarmily << DiseseCare << Variation
          << Remark;
    for (int n = 1; n <= formnames::kTeamBoxes; ++n) {
        order.append(control(formnames::teamBox(n)));
    }
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    }
}
