// Builds the two pages of the plan view from the printed layout and the
// field table. Every box is given in the points of the printed A4 page and
// scaled to the screen panel, so that the screen and the printout look
// alike: page 1 keeps the proportions of the paper, page 2 is squeezed a
// little in height to fit its shorter panel.
//
// A page draws the printed page's ruled frames and fixed texts where the
// layout puts them. Each field's control takes the box of the layout item
// that prints the field; a control in a table row fills the cell between
// the ruled lines around that item, a check box takes in the caption
// printed beside its tick box, and a drop-down list is widened when its
// printed box is too narrow for its choices and arrow.

#include "app/PlanForm.h"

#include "app/Clock.h"
#include "app/GuiText.h"
#include "dialogs/Prompter.h"
#include "planfile/PlanFieldValue.h"
#include "report/PlanFit.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

namespace {

using planfile::ControlKind;
using planfile::FieldKind;
using planfile::LayoutItemDef;
using planfile::LayoutItemKind;
using planfile::PlanField;

constexpr std::array<QSize, 2> kPageSizes{QSize(687, 990), QSize(687, 800)};
constexpr double kScaleX = 1.15;
constexpr std::array<double, 2> kScaleY{1.15, 0.95};
// Input controls never write smaller than this many pixels at 100 %.
constexpr int kSmallestInput = 10;
// How far the caption printed beside a tick box or the age may lie: to the
// right of the item by at most this many points, its top within kNearTop.
constexpr int kNearRight = 8;
constexpr int kNearTop = 3;

std::span<const LayoutItemDef> pageItems(int page)
{
    return planfile::currentLayout().items(page);
}

const LayoutItemDef &layoutItem(int page, std::string_view name)
{
    for (const LayoutItemDef &item : pageItems(page)) {
        if (name == item.name) {
            return item;
        }
    }
    // The generated tables name every field's item; a missing one is a
    // broken build of them.
    qFatal("layout item %s missing on page %d", std::string(name).c_str(), page);
}

QRectF boxOf(const LayoutItemDef &item)
{
    return QRectF(item.left, item.top, item.width, item.height);
}

// The small frames around the printed tick boxes; check boxes draw their own.
bool isTickFrame(const LayoutItemDef &item)
{
    return item.kind == LayoutItemKind::Rect && item.width <= 10 && item.height <= 10;
}

// A ruled line: at `at` across, from `from` to `to` along.
struct Rule {
    double at;
    double from;
    double to;
};

// The ruled lines of a page. A frame's lines lie on its left and top edges
// and one point inside its right and bottom edges.
struct Rules {
    std::vector<Rule> vertical;
    std::vector<Rule> horizontal;
};

const Rules &rulesOf(int page)
{
    static const std::array<Rules, 2> rules = [] {
        std::array<Rules, 2> all;
        for (int p = 1; p <= 2; ++p) {
            Rules &r = all[static_cast<std::size_t>(p - 1)];
            for (const LayoutItemDef &item : pageItems(p)) {
                if (item.kind != LayoutItemKind::Rect || isTickFrame(item)) {
                    continue;
                }
                const double right = item.left + item.width - 1;
                const double bottom = item.top + item.height - 1;
                r.vertical.push_back({double(item.left), double(item.top), bottom});
                r.vertical.push_back({right, double(item.top), bottom});
                r.horizontal.push_back({double(item.top), double(item.left), right});
                r.horizontal.push_back({bottom, double(item.left), right});
            }
        }
        return all;
    }();
    return rules[static_cast<std::size_t>(page - 1)];
}

// The nearest line at or before `low` and at or after `high` among the
// lines that pass `across`.
std::pair<double, double> linesAround(const std::vector<Rule> &rules, double low, double high, double across)
{
    double before = low;
    double after = high;
    bool foundBefore = false;
    bool foundAfter = false;
    for (const Rule &rule : rules) {
        if (across < rule.from || across > rule.to) {
            continue;
        }
        if (rule.at <= low && (!foundBefore || rule.at > before)) {
            before = rule.at;
            foundBefore = true;
        }
        if (rule.at >= high && (!foundAfter || rule.at < after)) {
            after = rule.at;
            foundAfter = true;
        }
    }
    return {before, after};
}

// The table cell that holds an item: the box between the ruled lines
// around it.
QRectF cellAround(int page, const LayoutItemDef &item)
{
    const Rules &rules = rulesOf(page);
    const QRectF box = boxOf(item);
    const auto [left, right] = linesAround(rules.vertical, box.left(), box.right() - 1, box.center().y());
    const auto [top, bottom] = linesAround(rules.horizontal, box.top(), box.bottom() - 1, box.center().x());
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// The caption printed right beside an item (the text of a tick box, the
// unit of the age), or nullptr.
const LayoutItemDef *captionBeside(int page, const LayoutItemDef &item)
{
    const LayoutItemDef *nearest = nullptr;
    for (const LayoutItemDef &label : pageItems(page)) {
        const int gap = label.left - (item.left + item.width);
        if (label.kind != LayoutItemKind::Label || label.filled || gap < 0 || gap > kNearRight ||
            std::abs(label.top - item.top) > kNearTop) {
            continue;
        }
        if (nearest == nullptr || label.left < nearest->left) {
            nearest = &label;
        }
    }
    return nearest;
}

// A tick box writes the caption printed beside it; the age keeps its unit
// ("歳") beside it as a label of its own that answers clicks.
bool takesCaption(const PlanField &field)
{
    return field.widget == ControlKind::TickBox || field.widget == ControlKind::AgeLabel;
}

// Text takes the smaller of the page's two scales, so that what fits a
// printed box fits its screen box too.
int captionPixels(int points, int page)
{
    return static_cast<int>(std::lround(points * std::min(kScaleX, kScaleY[static_cast<std::size_t>(page - 1)])));
}

int inputPixels(int points, int page)
{
    return std::max(kSmallestInput, captionPixels(points, page));
}

QString fixedFontFamily()
{
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                                  QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                                  QStringLiteral("Noto Sans Mono CJK JP")}) {
        if (installed.contains(family)) {
            return family;
        }
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QStringList choicesOf(const PlanField &field)
{
    QStringList items;
    for (const std::string_view choice : planfile::choiceItems(field.choices)) {
        items.append(guitext::fromCp932(choice));
    }
    // The care level can also be chosen empty, as its own eighth item.
    if (field.choices == planfile::ChoiceList::CareLevels) {
        items.append(QString());
    }
    return items;
}

// A fixed text block's lines, which the layout separates by CR LF.
QStringList linesOf(const LayoutItemDef &item)
{
    return QString::fromUtf8(item.text).split(QStringLiteral("\r\n"));
}

// The control that edits a field, made for its kind.
TPlanForm::FieldControl makeControl(const PlanField &field, QWidget *parent)
{
    switch (field.widget) {
    case ControlKind::DateEdit: {
        auto *edit = new TEdit(parent);
        edit->setText(QStringLiteral("平成  年  月  日"));
        // Dates are typed as digits and era keys, in a fixed-pitch face so
        // that the era text keeps its shape.
        edit->setInputMethodOff(true);
        edit->setTabCaretAtStart(true);
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        edit->setDragEnabled(false);
        edit->setAcceptDrops(false);
        return edit;
    }
    case ControlKind::ScoreEdit: {
        auto *edit = new TEdit(parent);
        edit->setInputMethodOff(true);
        return edit;
    }
    case ControlKind::AgeLabel: {
        // The age is worked out from the two dates.
        auto *label = new TClickLabel(parent);
        label->setText(QStringLiteral("Old"));
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        return label;
    }
    case ControlKind::ChoiceBox: {
        auto *box = new TChoiceBox(false, parent);
        box->addItems(choicesOf(field));
        return box;
    }
    case ControlKind::TickBox:
        return new QCheckBox(parent);
    case ControlKind::MarkCell: {
        auto *cell = new TMarkCell(parent);
        cell->setText(kBlank);
        // Reached by Tab and the arrows; a click keeps the focus where it is.
        cell->setFocusPolicy(Qt::TabFocus);
        return cell;
    }
    case ControlKind::PriorityCell: {
        auto *cell = new TClickLabel(parent);
        cell->setText(kBlank);
        cell->setAlignment(Qt::AlignCenter);
        cell->setFocusPolicy(Qt::TabFocus);
        return cell;
    }
    case ControlKind::TeamBox:
        return new TChoiceBox(true, parent);
    case ControlKind::Edit: {
        auto *edit = new TEdit(parent);
        if (TPlanForm::inTableRow(field)) {
            edit->setText(kBlank);
        }
        return edit;
    }
    case ControlKind::Memo:
        break;
    }
    return new TMemo(parent);
}

QWidget *widgetOf(const TPlanForm::FieldControl &control)
{
    return std::visit([](auto *widget) -> QWidget * { return widget; }, control);
}

} // namespace

bool TPlanForm::inTableRow(const PlanField &field)
{
    return field.row >= 0;
}

TPlanForm::TPlanForm(QWidget *parent)
    : QTabWidget(parent), m_controls(planfile::kPlanFields.size()),
      m_prompter(std::make_shared<MessageBoxPrompter>()), m_clock(std::make_shared<SystemClock>())
{
    setObjectName(QStringLiteral("PageControl1"));
    buildPage(1);
    buildPage(2);
    for (const PlanField &field : planfile::kPlanFields) {
        placeField(field, m_panels[static_cast<std::size_t>(field.page - 1)]);
    }
    setTabOrder();
    watchForEdits();
    watchDates();
    watchMarks();
    watchPrintedFit();
    connect(this, &QTabWidget::currentChanged, this, &TPlanForm::showHeader);
    startHistory();
}

void TPlanForm::setServices(std::shared_ptr<Prompter> prompter, std::shared_ptr<Clock> clock)
{
    if (prompter) {
        m_prompter = std::move(prompter);
    }
    if (clock) {
        m_clock = std::move(clock);
    }
}

Prompter &TPlanForm::prompter() const
{
    return *m_prompter;
}

// Adds tab page n: the tab sheet "TabSheet" + n holding the scroll box
// "ScrollBox" + n around the white page panel "Panel" + n with the
// printed page's frames and fixed texts.
void TPlanForm::buildPage(int number)
{
    const auto at = static_cast<std::size_t>(number - 1);
    const QString n = QString::number(number);
    auto *sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("TabSheet") + n);
    addTab(sheet, number == 1 ? QStringLiteral("リハビリテーション実施計画書（１）")
                              : QStringLiteral("リハビリテーション実施計画書（２）"));

    auto *panel = new TFormPanel(kPageSizes[at], kScaleX, kScaleY[at]);
    panel->setObjectName(QStringLiteral("Panel") + n);
    auto *scroll = new QScrollArea(sheet);
    scroll->setObjectName(QStringLiteral("ScrollBox") + n);
    scroll->setWidget(panel);
    scroll->setWidgetResizable(false);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The scroll box only holds the page: Tab goes from control to control.
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *sheetLayout = new QVBoxLayout(sheet);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    sheetLayout->addWidget(scroll);
    m_pages[at] = sheet;
    m_scrolls[at] = scroll;
    m_panels[at] = panel;

    // Captions that belong to a control (the text of a tick box, the unit
    // of the age) are drawn by the control, not by the page.
    std::vector<const LayoutItemDef *> owned;
    for (const PlanField &field : planfile::kPlanFields) {
        if (field.page == number && takesCaption(field)) {
            if (const LayoutItemDef *caption = captionBeside(number, layoutItem(number, field.item))) {
                owned.push_back(caption);
            }
        }
    }
    for (const LayoutItemDef &item : pageItems(number)) {
        const QRectF box = boxOf(item);
        if (item.kind == LayoutItemKind::Rect) {
            if (!isTickFrame(item)) {
                panel->addFrame(box.left(), box.top(), box.width(), box.height());
            }
        } else if (item.filled || item.text[0] == '\0' || std::ranges::count(owned, &item) > 0) {
            continue;
        } else if (item.kind == LayoutItemKind::Label) {
            panel->addCaption(box.left(), box.top(), box.width(), box.height(), QString::fromUtf8(item.text),
                              captionPixels(item.fontSize, number), Qt::AlignLeft | Qt::AlignTop, item.bold);
        } else {
            // A block of lines one line distance apart; its text is never
            // taller than that distance.
            const int pixels = std::min(captionPixels(item.fontSize, number),
                                        static_cast<int>(std::floor(item.leading * kScaleY[at])));
            panel->addTextBlock(box.left(), box.top(), box.width(), box.height(), linesOf(item), pixels, item.leading);
        }
    }

    // The page-2 header repeats the patient's name, cut at its box as on
    // the printout, and the plan date.
    if (number == 2) {
        const auto header = [&](const char *name, const char *item) {
            const LayoutItemDef &def = layoutItem(2, item);
            auto *label = new TClickLabel(panel);
            label->setObjectName(QString::fromLatin1(name));
            label->setFont(panel->font());
            panel->placeControl(label, def.left, def.top, def.width, def.height, captionPixels(def.fontSize, 2));
            return label;
        };
        m_nameHeader = header("UserLabel", "UserNameLbl");
        m_nameHeader->setCutAtBox(true);
        m_dateHeader = header("DateLabel", "PRDate");
    }
}

void TPlanForm::placeField(const PlanField &field, TFormPanel *panel)
{
    const LayoutItemDef &item = layoutItem(field.page, field.item);
    FieldControl &control = m_controls[static_cast<std::size_t>(field.index)];
    control = makeControl(field, panel);
    QWidget *widget = widgetOf(control);
    widget->setObjectName(QString::fromLatin1(field.control));
    widget->setFont(panel->font());
    const int pixels = inputPixels(item.fontSize, field.page);
    QRectF box = boxOf(item);

    if (inTableRow(field)) {
        const QRectF cell = cellAround(field.page, item);
        panel->placeInCell(widget, cell.left(), cell.top(), cell.right(), cell.bottom(), pixels);
        showAsPrinted(field, control, panel);
        return;
    }
    if (auto *tick = std::get_if<QCheckBox *>(&control)) {
        // The box takes in its caption and writes it at the caption's size.
        int captionSize = item.fontSize;
        if (const LayoutItemDef *caption = captionBeside(field.page, item)) {
            (*tick)->setText(QString::fromUtf8(caption->text));
            box = box.united(boxOf(*caption));
            captionSize = caption->fontSize;
        }
        const int captionPx = captionPixels(captionSize, field.page);
        panel->placeControl(widget, box.left(), box.top(), box.width(), box.height(), captionPx, captionPx + 3);
        return;
    }
    if (auto *label = std::get_if<TClickLabel *>(&control); label != nullptr && field.kind == FieldKind::Number) {
        // The age; the "歳" beside it is clickable too.
        panel->placeControl(widget, box.left(), box.top(), box.width(), box.height(), pixels);
        if (const LayoutItemDef *unit = captionBeside(field.page, item)) {
            m_ageUnit = new TClickLabel(panel);
            m_ageUnit->setObjectName(QStringLiteral("Label12"));
            m_ageUnit->setFont(panel->font());
            m_ageUnit->setText(QString::fromUtf8(unit->text));
            panel->placeControl(m_ageUnit, unit->left, unit->top, unit->width, unit->height,
                                captionPixels(unit->fontSize, field.page));
        }
        return;
    }
    int minHeight = pixels + 3;
    if (auto *edit = std::get_if<TEdit *>(&control); edit != nullptr && field.kind == FieldKind::Date) {
        QFont fixed(fixedFontFamily());
        fixed.setPixelSize(pixels);
        (*edit)->setFont(fixed);
    }
    if (auto *choice = std::get_if<TChoiceBox *>(&control)) {
        minHeight = pixels + 6;
        if (!(*choice)->isEditable()) {
            // Wide enough for the longest choice and the arrow.
            QFont sized = (*choice)->font();
            sized.setPixelSize(pixels);
            (*choice)->setFont(sized);
            box.setWidth(std::max(box.width(), (*choice)->sizeHint().width() / kScaleX));
        }
    }
    if (field.kind == FieldKind::Memo) {
        minHeight = 0;
    }
    panel->placeControl(widget, box.left(), box.top(), box.width(), box.height(), pixels, minHeight);
    showAsPrinted(field, control, panel);
}

// An edit or memo shows its text as its printed box does: in the fixed-pitch
// face the printout uses, every line the box prints in view at once and
// each as long as the box prints it. A memo breaks lines only where the
// printout does: at its line breaks, and at blanks in a box that wraps.
void TPlanForm::showAsPrinted(const PlanField &field, const FieldControl &control, TFormPanel *panel)
{
    if (field.kind != FieldKind::Text && field.kind != FieldKind::Memo) {
        return;
    }
    const planfit::PrintedRoom room = planfit::RoomOf(field);
    auto *const *memo = std::get_if<TMemo *>(&control);
    auto *const *edit = std::get_if<TEdit *>(&control);
    if (room.lines == 0 || (memo == nullptr && edit == nullptr)) {
        return;
    }
    QWidget *widget = widgetOf(control);
    QFont fixed = widget->font();
    fixed.setFamily(fixedFontFamily());
    widget->setFont(fixed);
    if (memo != nullptr) {
        (*memo)->setLineWrapMode(room.wraps ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        (*memo)->setWordWrapMode(QTextOption::WordWrap);
        // What lies below the box does not print; the red frame says so.
        (*memo)->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    panel->keepTextVisible(widget, memo != nullptr ? room.lines : 1,
                           {QString(room.fullWidth, QChar(0x3042)), QString(room.halfWidth, QLatin1Char('a'))});
}

// Tab goes through the controls in the order the checks read them; a
// control without a check (the plan date, the lists, the ticks) comes just
// before the first checked one after it in the table, and in a table row the
// level marks come before the row's texts and the priority mark after them.
// The age and the other labels take no focus.
void TPlanForm::setTabOrder()
{
    std::vector<std::pair<int, QWidget *>> order;
    for (const PlanField &field : planfile::kPlanFields) {
        QWidget *widget = control(field);
        if (widget->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        int rank = field.check * 4;
        if (field.check == 0 && inTableRow(field)) {
            // A mark of a table row comes before the row's texts, a priority
            // mark after them: the row is read from left to right.
            int first = 0;
            int last = 0;
            int firstX = 0;
            for (const PlanField &other : planfile::kPlanFields) {
                if (other.row == field.row && other.page == field.page && other.check > 0) {
                    if (first == 0 || other.check < first) {
                        first = other.check;
                        firstX = other.x;
                    }
                    last = std::max(last, other.check);
                }
            }
            rank = field.x < firstX ? first * 4 - 1 : last * 4 + 1;
        } else if (field.check == 0) {
            for (std::size_t i = static_cast<std::size_t>(field.index) + 1; i < planfile::kPlanFields.size(); ++i) {
                if (planfile::kPlanFields[i].check > 0) {
                    rank = planfile::kPlanFields[i].check * 4 - 2;
                    break;
                }
            }
        }
        order.emplace_back(rank, widget);
    }
    std::stable_sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
    }
}

void TPlanForm::userEdited()
{
    if (m_filling == 0) {
        record(sender());
        emit edited();
    }
}

void TPlanForm::recordEdit(const QObject *typedIn)
{
    if (m_filling == 0) {
        record(typedIn);
        if (typedIn == nullptr) {
            m_typedIn = nullptr;
        }
        emit edited();
    }
}

// --- The plan's undo history ---------------------------------------------

TPlanForm::Snapshot TPlanForm::snapshot() const
{
    Snapshot values;
    values.reserve(m_controls.size());
    for (const PlanField &field : planfile::kPlanFields) {
        const FieldControl &control = fieldControl(field);
        if (field.widget == ControlKind::AgeLabel) {
            values.emplace_back(); // follows the two dates, no step of its own
        } else if (const auto *edit = std::get_if<TEdit *>(&control)) {
            values.push_back((*edit)->text());
        } else if (const auto *memo = std::get_if<TMemo *>(&control)) {
            values.push_back((*memo)->lineText());
        } else if (const auto *box = std::get_if<TChoiceBox *>(&control)) {
            values.push_back((*box)->isEditable() ? (*box)->currentText() : QString::number((*box)->currentIndex()));
        } else if (const auto *tick = std::get_if<QCheckBox *>(&control)) {
            values.push_back((*tick)->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        } else {
            values.push_back(widgetOf(control)->property("text").toString());
        }
    }
    return values;
}

void TPlanForm::restore(const Snapshot &values)
{
    ++m_filling;
    const PlanField *first = nullptr;
    for (const PlanField &field : planfile::kPlanFields) {
        const QString &value = values[static_cast<std::size_t>(field.index)];
        const FieldControl &control = fieldControl(field);
        bool changed = false;
        if (auto *edit = std::get_if<TEdit *>(&control)) {
            changed = (*edit)->text() != value;
            if (changed) {
                (*edit)->setText(value);
            }
        } else if (auto *memo = std::get_if<TMemo *>(&control)) {
            changed = (*memo)->lineText() != value;
            if (changed) {
                (*memo)->setText(value);
            }
        } else if (auto *box = std::get_if<TChoiceBox *>(&control)) {
            if ((*box)->isEditable()) {
                changed = (*box)->currentText() != value;
                if (changed) {
                    (*box)->setCurrentText(value);
                }
            } else {
                changed = (*box)->currentIndex() != value.toInt();
                (*box)->setCurrentIndex(value.toInt());
            }
        } else if (auto *tick = std::get_if<QCheckBox *>(&control)) {
            changed = (*tick)->isChecked() != (value == QStringLiteral("1"));
            (*tick)->setChecked(value == QStringLiteral("1"));
        } else if (auto *mark = std::get_if<TMarkCell *>(&control)) {
            changed = (*mark)->text() != value;
            if (changed) {
                (*mark)->setText(value);
                (*mark)->setColor(Qt::white);
            }
        } else if (auto *label = std::get_if<TClickLabel *>(&control); label && field.widget != ControlKind::AgeLabel) {
            changed = (*label)->text() != value;
            (*label)->setText(value);
        }
        if (changed && first == nullptr) {
            first = &field;
        }
    }
    // The age follows the dates the step put back.
    followDates();
    showHeader();
    --m_filling;
    m_typedIn = nullptr;
    // The field the step changed comes into view with the focus.
    if (first != nullptr) {
        focusField(*first);
    }
}

void TPlanForm::record(const QObject *source)
{
    Snapshot now = snapshot();
    if (now == m_history[m_at]) {
        return;
    }
    const bool typing =
        qobject_cast<const QLineEdit *>(source) != nullptr || qobject_cast<const QPlainTextEdit *>(source) != nullptr;
    m_history.resize(m_at + 1);
    if (typing && source == m_typedIn && m_at > 0) {
        // One typed run in one field is one step.
        m_history[m_at] = std::move(now);
    } else {
        m_history.push_back(std::move(now));
        ++m_at;
        constexpr std::size_t kSteps = 500;
        if (m_history.size() > kSteps) {
            m_history.erase(m_history.begin());
            --m_at;
        }
    }
    m_typedIn = typing ? source : nullptr;
}

void TPlanForm::startHistory()
{
    m_history.assign(1, snapshot());
    m_at = 0;
    m_typedIn = nullptr;
}

void TPlanForm::breakTypedRun()
{
    m_typedIn = nullptr;
}

bool TPlanForm::canUndo() const
{
    return m_at > 0;
}

bool TPlanForm::canRedo() const
{
    return m_at + 1 < m_history.size();
}

bool TPlanForm::undo()
{
    // What the controls hold now may be newer than the last step recorded.
    record(nullptr);
    if (!canUndo()) {
        return false;
    }
    const Snapshot &before = m_history[m_at - 1];
    restore(before);
    --m_at;
    return true;
}

bool TPlanForm::redo()
{
    if (!canRedo()) {
        return false;
    }
    restore(m_history[m_at + 1]);
    ++m_at;
    return true;
}

// An arrow key in a mark cell: the nearest cell that way on the same page,
// in the same line (left, right) or column (up, down).
void TPlanForm::moveInGrid(int dx, int dy)
{
    const PlanField *from = fieldOf(sender());
    if (from == nullptr) {
        return;
    }
    const PlanField *best = nullptr;
    int bestDistance = 0;
    for (const PlanField &field : planfile::kPlanFields) {
        if (field.widget != ControlKind::MarkCell || field.page != from->page) {
            continue;
        }
        const int along = dx != 0 ? (field.x - from->x) * dx : (from->y - field.y) * dy; // PDF y grows upwards
        const int across = dx != 0 ? std::abs(field.y - from->y) : std::abs(field.x - from->x);
        if (along <= 0 || across > 2) {
            continue;
        }
        if (best == nullptr || along < bestDistance) {
            best = &field;
            bestDistance = along;
        }
    }
    if (best == nullptr && dx != 0) {
        // Past the end of a line: the first cell of the next line (the
        // last of the line before), as text is read.
        for (const PlanField &field : planfile::kPlanFields) {
            if (field.widget != ControlKind::MarkCell || field.page != from->page ||
                (dx > 0 ? field.y >= from->y - 2 : field.y <= from->y + 2)) {
                continue;
            }
            const bool nearerLine = best == nullptr || (dx > 0 ? field.y > best->y + 2 : field.y < best->y - 2);
            const bool sameLine = best != nullptr && std::abs(field.y - best->y) <= 2;
            if (nearerLine || (sameLine && (dx > 0 ? field.x < best->x : field.x > best->x))) {
                best = &field;
            }
        }
    }
    if (best != nullptr) {
        focusField(*best);
    }
}

// The signals used fire for typing, pasting, ticking and choosing, not for
// the program's setText; memos have no such signal, so their changes count
// unless show() or clear() is at work.
void TPlanForm::watchForEdits()
{
    for (const FieldControl &control : m_controls) {
        if (auto *edit = std::get_if<TEdit *>(&control)) {
            connect(*edit, &QLineEdit::textEdited, this, &TPlanForm::userEdited);
        } else if (auto *memo = std::get_if<TMemo *>(&control)) {
            connect(*memo, &QPlainTextEdit::textChanged, this, &TPlanForm::userEdited);
        } else if (auto *tick = std::get_if<QCheckBox *>(&control)) {
            connect(*tick, &QCheckBox::clicked, this, &TPlanForm::userEdited);
        } else if (auto *mark = std::get_if<TMarkCell *>(&control)) {
            connect(*mark, &TMarkCell::markTyped, this, &TPlanForm::userEdited);
            connect(*mark, &TMarkCell::moveRequested, this, &TPlanForm::moveInGrid);
        } else if (auto *box = std::get_if<TChoiceBox *>(&control)) {
            connect(*box, &QComboBox::activated, this, &TPlanForm::userEdited);
            if ((*box)->lineEdit() != nullptr) {
                connect((*box)->lineEdit(), &QLineEdit::textEdited, this, &TPlanForm::userEdited);
            }
        }
    }
}

const TPlanForm::FieldControl &TPlanForm::fieldControl(const PlanField &field) const
{
    return m_controls[static_cast<std::size_t>(field.index)];
}

QWidget *TPlanForm::control(const PlanField &field) const
{
    return widgetOf(fieldControl(field));
}

QWidget *TPlanForm::control(std::string_view name) const
{
    if (const PlanField *field = planfile::fieldByControl(name)) {
        return control(*field);
    }
    for (QWidget *label : {static_cast<QWidget *>(m_nameHeader), static_cast<QWidget *>(m_dateHeader),
                           static_cast<QWidget *>(m_ageUnit)}) {
        if (label != nullptr && label->objectName().toStdString() == name) {
            return label;
        }
    }
    return nullptr;
}

const PlanField *TPlanForm::fieldOf(const QObject *widget) const
{
    const auto *asWidget = qobject_cast<const QWidget *>(widget);
    if (asWidget == nullptr) {
        return nullptr;
    }
    const PlanField *field = planfile::fieldByControl(asWidget->objectName().toStdString());
    return field != nullptr && control(*field) == asWidget ? field : nullptr;
}

QWidget *TPlanForm::page(int number) const
{
    return m_pages.at(static_cast<std::size_t>(number - 1));
}

QScrollArea *TPlanForm::scrollBox(int number) const
{
    return m_scrolls.at(static_cast<std::size_t>(number - 1));
}

TFormPanel *TPlanForm::panel(int number) const
{
    return m_panels.at(static_cast<std::size_t>(number - 1));
}

void TPlanForm::setTeamChoices(const QStringList &names)
{
    ++m_filling;
    for (const FieldControl &control : m_controls) {
        if (auto *box = std::get_if<TChoiceBox *>(&control); box != nullptr && (*box)->isEditable()) {
            (*box)->clear();
            (*box)->addItems(names);
            (*box)->setCurrentIndex(-1);
        }
    }
    --m_filling;
}
