#pragma once

// "計画書一覧": the plans of a folder grouped by patient (name without
// blanks and birth date, as planindex::patientsOf groups them), the
// patients ordered by their latest plan, newest first; each patient row
// shows the number of plans, the date of the latest, the whole months since
// and the next review date (the latest plan date + the review interval),
// its children the plans. Patients whose review date has passed or comes
// within two weeks are marked (見直し: 期限超過, 2週間以内, and the row's
// colour) and counted above the list; "見直し時期の方のみ" keeps only them,
// soonest review first. Every column sorts when its header is clicked. A
// search box narrows the list by part of a name (kana in either script,
// kanji, full- or half-width alike) or of a date (era text, 2024-01-31,
// 2024/1/31 or 2024年1月31日). The list opens on the newest plan's row, with
// the keyboard focus. Enter or a double-click opens a plan; on a patient
// row, the patient's latest plan. The files of the folder that are
// not plans are listed below with the reader's message.
//
// The window only lists; opening and starting the next plan are the main
// window's, reached through the callbacks.

// moc cannot parse the concepts in the record's header, and needs nothing from it.
#ifndef Q_MOC_RUN
#include "planindex/ReviewDue.h"
#endif

#include <QDialog>
#include <QString>

#include <filesystem>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStandardItemModel;
class QTreeView;
class PlanFilterModel;

class TPlanListForm : public QDialog {
    Q_OBJECT
public:
    explicit TPlanListForm(QWidget *parent = nullptr);

    // Lists `folder` (a folder as the user sees it), using the index cache
    // `cacheFile` (empty: none). A folder that cannot be read
    // gives an empty list and says so above it.
    void showFolder(const QString &folder, const std::filesystem::path &cacheFile);
    QString folder() const { return m_folder; }
    // The review interval in months and the day the review dates are
    // judged on. A list already shown is filled again from the index it
    // holds when either changes; no file is read.
    void setReview(int months, TDateTime today);

    // The file of the selected plan, or of the latest plan of the selected
    // patient; empty when nothing is selected.
    QString selectedPlan() const;
    // Selects the first visible plan row whose file is `path`.
    bool selectPlan(const QString &path);
    // Selects the row of the newest plan shown and gives the list the
    // keyboard focus, so that Enter opens that plan.
    void focusNewestPlan();
    // The patient rows and the plan rows now shown (after the search).
    int shownPatients() const;
    int shownPlans() const;

    // Called with the chosen plan file by 開く / Enter / double-click and by
    // "この計画書を元に新規作成".
    std::function<void(const QString &)> openPlan;
    std::function<void(const QString &)> startNextPlan;
    // Who else holds the plan file at `path` in another editor, as the list
    // names them ("佐藤（ward-pc-2）"); empty when nobody does.
    std::function<QString(const QString &)> heldElsewhere;
    // Asks for another folder; empty when the user cancels.
    std::function<QString(const QString &)> chooseFolder;

    QLabel *FolderLabel = nullptr;
    QLineEdit *SearchEdit = nullptr;
    QCheckBox *DueOnlyBox = nullptr; // 見直し時期の方のみ
    QLabel *DueLabel = nullptr;      // how many patients are overdue and due soon
    QTreeView *PlanTree = nullptr;
    QListWidget *OtherList = nullptr;
    QPushButton *OpenButton = nullptr;
    QPushButton *NextPlanButton = nullptr;
    QPushButton *FolderButton = nullptr;
    QPushButton *CloseButton = nullptr;

    // Search text as the list compares it: compatibility forms folded
    // (full-width letters and digits, half-width kana), katakana as
    // hiragana, no spaces, lower case.
    static QString searchForm(const QString &text);

private:
    void fill();
    void chosen(const std::function<void(const QString &)> &action);
    // The default order, or with the due filter soonest review first.
    void sortRows();

    QString m_folder;
    std::filesystem::path m_cacheFile;
    planindex::FolderIndex m_index;
    int m_reviewMonths = planindex::kDefaultReviewMonths;
    TDateTime m_today = currentDateTime();
    QStandardItemModel *m_model = nullptr;
    PlanFilterModel *m_filter = nullptr;
};
