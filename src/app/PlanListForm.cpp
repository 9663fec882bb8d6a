#include "app/PlanListForm.h"

#include "app/GuiText.h"
#include "app/PlanFiles.h"
#include "plan/Common.h"
#include "plan/DateTime.h"
#include "planfile/PlanFormat.h"
#include "planindex/PlanIndex.h"
#include "planindex/ReviewDue.h"

#include <QBrush>
#include <QCheckBox>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include <cmath>
#include <exception>

namespace {

// Item data: the file of a plan row, the search text of a row (on column
// 0) and the value a column sorts by.
constexpr int kPathRole = Qt::UserRole + 1;
constexpr int kSearchRole = Qt::UserRole + 2;
constexpr int kSortRole = Qt::UserRole + 3;
// On column 0 of a patient row: whether the review is due (overdue or soon).
constexpr int kDueRole = Qt::UserRole + 4;

enum Column {
    NameColumn,
    BirthColumn,
    SexColumn,
    PlanDateColumn,
    CareColumn,
    CountColumn,
    MonthsColumn,
    ReviewColumn,
    DueColumn,
    FileColumn,
    ColumnCount
};

// Sort value of a missing date: before every date.
constexpr double kNoDate = -1e9;

template <std::size_t N> QString choiceText(const std::array<std::string_view, N> &items, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < N
               ? guitext::fromCp932(items[static_cast<std::size_t>(index)])
               : QString();
}

// The ways a date may be typed into the search box.
QString dateForms(const QString &eraText, const std::optional<TDateTime> &date)
{
    // The era text as printed (令和06年01月31日) and without its leading zeros.
    QString forms = eraText;
    QString unpadded = eraText;
    unpadded.replace(QRegularExpression(QStringLiteral("(\\D)0(\\d)")), QStringLiteral("\\1\\2"));
    forms += QLatin1Char('|') + unpadded;
    if (date) {
        const CivilDate d = decodeDate(*date);
        const QString y = QString::number(d.year);
        const QString m = QString::number(d.month);
        const QString day = QString::number(d.day);
        const QString mm = QStringLiteral("%1").arg(d.month, 2, 10, QLatin1Char('0'));
        const QString dd = QStringLiteral("%1").arg(d.day, 2, 10, QLatin1Char('0'));
        forms += QLatin1Char('|') + y + QLatin1Char('-') + mm + QLatin1Char('-') + dd;
        forms += QLatin1Char('|') + y + QLatin1Char('/') + m + QLatin1Char('/') + day;
        forms += QLatin1Char('|') + y + QLatin1Char('/') + mm + QLatin1Char('/') + dd;
        forms += QLatin1Char('|') + y + QStringLiteral("年") + m + QStringLiteral("月") + day + QStringLiteral("日");
        forms += QLatin1Char('|') + y + mm + dd;
    }
    return TPlanListForm::searchForm(forms);
}

QStandardItem *cell(const QString &text, const QVariant &sortValue = QVariant())
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    item->setData(sortValue.isValid() ? sortValue : QVariant(text), kSortRole);
    return item;
}

} // namespace

// Shows the rows whose search text holds the query, and with the due filter
// only the rows of due patients; a patient row stays while any of its plans
// is shown.
class PlanFilterModel : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setQuery(const QString &query)
    {
        m_query = TPlanListForm::searchForm(query);
        invalidateFilter();
    }
    void setDueOnly(bool dueOnly)
    {
        m_dueOnly = dueOnly;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const QModelIndex index = sourceModel()->index(row, 0, parent);
        const QModelIndex patient = parent.isValid() ? parent : index;
        if (m_dueOnly && !patient.data(kDueRole).toBool()) {
            return false;
        }
        return m_query.isEmpty() || index.data(kSearchRole).toString().contains(m_query);
    }

private:
    QString m_query;
    bool m_dueOnly = false;
};

TPlanListForm::TPlanListForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PlanListForm"));
    setWindowTitle(QStringLiteral("計画書一覧"));
    resize(980, 560);

    FolderLabel = new QLabel(this);
    FolderLabel->setObjectName(QStringLiteral("FolderLabel"));
    FolderButton = new QPushButton(QStringLiteral("フォルダーを選ぶ..."), this);
    FolderButton->setObjectName(QStringLiteral("FolderButton"));
    SearchEdit = new QLineEdit(this);
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchEdit->setPlaceholderText(QStringLiteral("氏名（かな・漢字）または日付で検索"));
    SearchEdit->setClearButtonEnabled(true);
    DueOnlyBox = new QCheckBox(QStringLiteral("見直し時期の方のみ"), this);
    DueOnlyBox->setObjectName(QStringLiteral("DueOnlyBox"));
    DueLabel = new QLabel(this);
    DueLabel->setObjectName(QStringLiteral("DueLabel"));

    m_model = new QStandardItemModel(this);
    m_model->setHorizontalHeaderLabels(
        {QStringLiteral("氏名"), QStringLiteral("生年月日"), QStringLiteral("性別"), QStringLiteral("計画評価実施日"),
         QStringLiteral("要介護度"), QStringLiteral("計画書数"), QStringLiteral("経過月数"),
         QStringLiteral("次回見直し日"), QStringLiteral("見直し"), QStringLiteral("ファイル")});
    m_filter = new PlanFilterModel(this);
    m_filter->setSourceModel(m_model);
    m_filter->setRecursiveFilteringEnabled(true);
    m_filter->setSortRole(kSortRole);
    PlanTree = new QTreeView(this);
    PlanTree->setObjectName(QStringLiteral("PlanTree"));
    PlanTree->setModel(m_filter);
    PlanTree->setSortingEnabled(true);
    PlanTree->setSelectionBehavior(QAbstractItemView::SelectRows);
    PlanTree->setSelectionMode(QAbstractItemView::SingleSelection);
    PlanTree->setUniformRowHeights(true);
    PlanTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    OtherList = new QListWidget(this);
    OtherList->setObjectName(QStringLiteral("OtherList"));
    OtherList->setMaximumHeight(90);

    OpenButton = new QPushButton(QStringLiteral("開く"), this);
    OpenButton->setObjectName(QStringLiteral("OpenButton"));
    NextPlanButton = new QPushButton(QStringLiteral("この計画書を元に新規作成"), this);
    NextPlanButton->setObjectName(QStringLiteral("NextPlanButton"));
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    OpenButton->setAutoDefault(false);
    NextPlanButton->setAutoDefault(false);
    FolderButton->setAutoDefault(false);
    CloseButton->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(FolderLabel, 1);
    top->addWidget(FolderButton);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(OpenButton);
    buttons->addWidget(NextPlanButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    auto *search = new QHBoxLayout;
    search->addWidget(SearchEdit, 1);
    search->addWidget(DueOnlyBox);
    layout->addLayout(search);
    layout->addWidget(DueLabel);
    layout->addWidget(PlanTree, 1);
    layout->addWidget(new QLabel(QStringLiteral("計画書ではないファイル"), this));
    layout->addWidget(OtherList);
    layout->addLayout(buttons);

    connect(SearchEdit, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_filter->setQuery(text);
        PlanTree->expandAll();
    });
    connect(DueOnlyBox, &QCheckBox::toggled, this, [this](bool dueOnly) {
        m_filter->setDueOnly(dueOnly);
        sortRows();
        PlanTree->expandAll();
    });
    // Enter and double-click both activate a row.
    connect(PlanTree, &QTreeView::activated, this, [this] { chosen(openPlan); });
    connect(OpenButton, &QPushButton::clicked, this, [this] { chosen(openPlan); });
    connect(NextPlanButton, &QPushButton::clicked, this, [this] { chosen(startNextPlan); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    connect(FolderButton, &QPushButton::clicked, this, [this] {
        if (!chooseFolder) {
            return;
        }
        const QString picked = chooseFolder(m_folder);
        if (!picked.isEmpty()) {
            showFolder(picked, m_cacheFile);
        }
    });
}

QString TPlanListForm::searchForm(const QString &text)
{
    QString folded = text.normalized(QString::NormalizationForm_KC).toLower();
    QString out;
    out.reserve(folded.size());
    for (const QChar c : folded) {
        if (c.isSpace()) {
            continue;
        }
        const char16_t u = c.unicode();
        // Katakana ァ..ヶ as the hiragana ぁ..ゖ.
        out += (u >= 0x30A1 && u <= 0x30F6) ? QChar(static_cast<char16_t>(u - 0x60)) : c;
    }
    return out;
}

void TPlanListForm::showFolder(const QString &folder, const std::filesystem::path &cacheFile)
{
    m_folder = folder;
    m_cacheFile = cacheFile;
    FolderLabel->setText(folder);
    m_index = {};
    try {
        m_index = planindex::indexFolder(planPath(folder), cacheFile);
    } catch (const std::exception &) {
        FolderLabel->setText(folder + QStringLiteral("（フォルダーを読めません）"));
    }
    fill();
}

void TPlanListForm::setReview(int months, TDateTime today)
{
    const bool changed = months != m_reviewMonths || std::trunc(today) != std::trunc(m_today);
    m_reviewMonths = months;
    m_today = today;
    if (changed && !m_folder.isEmpty()) {
        fill();
    }
}

void TPlanListForm::fill()
{
    m_model->removeRows(0, m_model->rowCount());
    OtherList->clear();

    int overdue = 0;
    int soon = 0;
    // Patients in the order of their latest plan: the index is newest first.
    for (const planindex::Patient &p : planindex::patientsOf(m_index, m_reviewMonths)) {
        const planindex::IndexedPlan &latest = p.latest();
        const QString name = guitext::fromCp932(latest.name);
        const QString birth = guitext::fromCp932(latest.birthText);
        const double birthSort = latest.birthDate ? *latest.birthDate : kNoDate;
        const planindex::ReviewState state = planindex::reviewState(p, m_today);
        QString mark;
        QColor colour;
        if (state == planindex::ReviewState::Overdue) {
            mark = QStringLiteral("期限超過");
            colour = QColor(0xF6, 0xC8, 0xC8);
            ++overdue;
        } else if (state == planindex::ReviewState::Soon) {
            mark = QStringLiteral("2週間以内");
            colour = QColor(0xFF, 0xEE, 0xB0);
            ++soon;
        }
        const int count = static_cast<int>(p.plans.size());
        const int months = p.latestPlanDate ? planindex::monthsBetween(*p.latestPlanDate, m_today) : -1;
        const QList<QStandardItem *> patient = {
            cell(name), cell(birth, birthSort), cell(choiceText(planfile::kSexes, latest.sex)),
            cell(guitext::fromCp932(latest.planDateText), p.latestPlanDate ? *p.latestPlanDate : kNoDate),
            cell(choiceText(planfile::kCareLevels, latest.kaigoLevel)), cell(QString::number(count), count),
            cell(months >= 0 ? QString::number(months) : QString(), months),
            // Patients without a review date sort after every date.
            cell(p.nextReview ? guitext::fromCp932(FormatEraDate(*p.nextReview)) : QString(),
                 p.nextReview ? *p.nextReview : -kNoDate),
            cell(mark, static_cast<int>(state)), cell(QString())};
        patient[0]->setData(searchForm(name) + QLatin1Char('|') + dateForms(birth, latest.birthDate), kSearchRole);
        patient[0]->setData(state != planindex::ReviewState::None, kDueRole);
        if (colour.isValid()) {
            for (QStandardItem *item : patient) {
                item->setBackground(colour);
                item->setForeground(QBrush(Qt::black));
            }
        }
        for (const planindex::IndexedPlan *plan : p.plans) {
            const double date = plan->planDate ? *plan->planDate : kNoDate;
            // Within a patient the review columns sort the plans newest first
            // in ascending order, which is the order the due filter uses.
            QList<QStandardItem *> row = {cell(QString(), name),
                                          cell(QString(), birthSort),
                                          cell(QString(), patient[SexColumn]->text()),
                                          cell(guitext::fromCp932(plan->planDateText), date),
                                          cell(choiceText(planfile::kCareLevels, plan->kaigoLevel)),
                                          cell(QString(), 0),
                                          cell(QString(), -date),
                                          cell(QString(), -date),
                                          cell(QString(), 0),
                                          cell(QString::fromStdString(plan->fileName))};
            const QString path = QString::fromStdString(plan->path);
            for (QStandardItem *item : row) {
                item->setData(path, kPathRole);
            }
            // A plan open in another editor is marked with who has it.
            if (const QString holder = heldElsewhere ? heldElsewhere(path) : QString(); !holder.isEmpty()) {
                row[FileColumn]->setText(QStringLiteral("［使用中: ") + holder + QStringLiteral("］") +
                                         row[FileColumn]->text());
                row[FileColumn]->setToolTip(holder + QStringLiteral(" が開いています"));
            }
            row[0]->setData(patient[0]->data(kSearchRole).toString() + QLatin1Char('|') +
                                dateForms(guitext::fromCp932(plan->planDateText), plan->planDate),
                            kSearchRole);
            patient[0]->appendRow(row);
        }
        m_model->appendRow(patient);
    }
    for (const planindex::RefusedFile &other : m_index.others) {
        OtherList->addItem(QString::fromStdString(other.fileName) + QStringLiteral("：") +
                           guitext::fromCp932(other.text) +
                           QString::fromStdString(other.messageFileName));
    }
    DueLabel->setText(QStringLiteral("見直し期限を過ぎた方 %1名、2週間以内の方 %2名（見直し間隔 %3か月）")
                          .arg(overdue)
                          .arg(soon)
                          .arg(m_reviewMonths));
    DueLabel->setStyleSheet(overdue > 0 ? QStringLiteral("color: #b00000; font-weight: bold;") : QString());
    sortRows();
    PlanTree->expandAll();
    if (m_filter->rowCount() > 0) {
        PlanTree->setCurrentIndex(m_filter->index(0, 0));
    }
    focusNewestPlan();
}

void TPlanListForm::focusNewestPlan()
{
    QModelIndex newest;
    double newestDate = 0;
    for (int p = 0; p < m_filter->rowCount(); ++p) {
        const QModelIndex patient = m_filter->index(p, 0);
        for (int c = 0; c < m_filter->rowCount(patient); ++c) {
            const double date = m_filter->index(c, PlanDateColumn, patient).data(kSortRole).toDouble();
            if (!newest.isValid() || date > newestDate) {
                newest = m_filter->index(c, 0, patient);
                newestDate = date;
            }
        }
    }
    if (newest.isValid()) {
        PlanTree->setCurrentIndex(newest);
        PlanTree->scrollTo(newest);
    }
    PlanTree->setFocus();
}

void TPlanListForm::sortRows()
{
    if (DueOnlyBox->isChecked()) {
        PlanTree->sortByColumn(ReviewColumn, Qt::AscendingOrder);
    } else {
        PlanTree->sortByColumn(PlanDateColumn, Qt::DescendingOrder);
    }
}

QString TPlanListForm::selectedPlan() const
{
    QModelIndex current = PlanTree->currentIndex();
    if (!current.isValid()) {
        return QString();
    }
    current = current.siblingAtColumn(0);
    if (!current.parent().isValid()) {
        // A patient: the latest plan, which is the first child by date.
        QString latest;
        double latestDate = -1e18;
        const QModelIndex source = m_filter->mapToSource(current);
        const QStandardItem *patient = m_model->itemFromIndex(source);
        for (int i = 0; i < patient->rowCount(); ++i) {
            const double date = patient->child(i, PlanDateColumn)->data(kSortRole).toDouble();
            if (latest.isEmpty() || date > latestDate) {
                latest = patient->child(i, 0)->data(kPathRole).toString();
                latestDate = date;
            }
        }
        return latest;
    }
    return current.data(kPathRole).toString();
}

bool TPlanListForm::selectPlan(const QString &path)
{
    for (int p = 0; p < m_filter->rowCount(); ++p) {
        const QModelIndex patient = m_filter->index(p, 0);
        for (int c = 0; c < m_filter->rowCount(patient); ++c) {
            const QModelIndex plan = m_filter->index(c, 0, patient);
            if (QDir::fromNativeSeparators(plan.data(kPathRole).toString()) == QDir::fromNativeSeparators(path)) {
                PlanTree->setCurrentIndex(plan);
                return true;
            }
        }
    }
    return false;
}

int TPlanListForm::shownPatients() const
{
    return m_filter->rowCount();
}

int TPlanListForm::shownPlans() const
{
    int plans = 0;
    for (int p = 0; p < m_filter->rowCount(); ++p) {
        plans += m_filter->rowCount(m_filter->index(p, 0));
    }
    return plans;
}

void TPlanListForm::chosen(const std::function<void(const QString &)> &action)
{
    const QString path = selectedPlan();
    if (!path.isEmpty() && action) {
        action(path);
    }
}
