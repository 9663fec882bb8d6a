#pragma once

// "前回との違い": the fields in which the plan in the editor differs from
// the patient's previous plan, side by side with the form's captions. Its
// button puts a short summary of them into 前回計画書作成時からの変化点.

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

namespace planindex {
struct FieldChange;
}
class QLabel;
class QPushButton;
class QTableWidget;

class TPlanDiffForm : public QDialog {
    Q_OBJECT
public:
    explicit TPlanDiffForm(QWidget *parent = nullptr);

    // Shows the changes; `older` and `newer` head the two value columns.
    // `summary` is what the button inserts.
    void showChanges(const std::vector<planindex::FieldChange> &changes, const QString &older, const QString &newer,
                     const QString &summary);

    // Called with the summary when the user asks for it.
    std::function<void(const QString &)> insertSummary;

    QLabel *TitleLabel = nullptr;
    QTableWidget *DiffTable = nullptr;
    QPushButton *InsertButton = nullptr;
    QPushButton *CloseButton = nullptr;

private:
    QString m_summary;
};
