#pragma once

// "計画書一覧": the plans of a folder grouped by patient (name and birth
// date), the patients ordered by their latest plan, newest first; each
// patient row shows the number of plans and the date of the latest, its
// children the plans. A search box narrows the list by part of a name (kana
// in either script, kanji, full- or half-width alike) or of a date (era
// text, 2024-01-31, 2024/1/31 or 2024年1月31日). Enter or a double-click
// opens a plan; on a patient row, the patient's latest plan. The files of
// the folder that are not plans are listed below with the reader's message.
//
// The window only lists; opening and starting the next plan are the main
// window's, reached through the callbacks.

#include <QDialog>
#include <QString>

#include <filesystem>
#include <functional>

namespace planindex {
struct FolderIndex;
}
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

    // The file of the selected plan, or of the latest plan of the selected
    // patient; empty when nothing is selected.
    QString selectedPlan() const;
    // Selects the first visible plan row whose file is `path`.
    bool selectPlan(const QString &path);
    // The patient rows and the plan rows now shown (after the search).
    int shownPatients() const;
    int shownPlans() const;

    // Called with the chosen plan file by 開く / Enter / double-click and by
    // "この計画書を元に新規作成".
    std::function<void(const QString &)> openPlan;
    std::function<void(const QString &)> startNextPlan;
    // Asks for another folder; empty when the user cancels.
    std::function<QString(const QString &)> chooseFolder;

    QLabel *FolderLabel = nullptr;
    QLineEdit *SearchEdit = nullptr;
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
    void fill(const planindex::FolderIndex &index);
    void chosen(const std::function<void(const QString &)> &action);

    QString m_folder;
    std::filesystem::path m_cacheFile;
    QStandardItemModel *m_model = nullptr;
    PlanFilterModel *m_filter = nullptr;
};
