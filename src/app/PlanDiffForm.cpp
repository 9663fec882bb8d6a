#include "app/PlanDiffForm.h"

#include "app/GuiText.h"
#include "planindex/PlanDiff.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TPlanDiffForm::TPlanDiffForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PlanDiffForm"));
    setWindowTitle(QStringLiteral("前回との違い"));
    resize(720, 480);

    TitleLabel = new QLabel(this);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    DiffTable = new QTableWidget(0, 3, this);
    DiffTable->setObjectName(QStringLiteral("DiffTable"));
    DiffTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DiffTable->setWordWrap(true);
    DiffTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    DiffTable->verticalHeader()->setVisible(false);
    // Each row as tall as its wrapped text at the columns' present width,
    // followed whenever the window changes size.
    DiffTable->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    InsertButton = new QPushButton(QStringLiteral("変化点に記入"), this);
    InsertButton->setObjectName(QStringLiteral("InsertButton"));
    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(InsertButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TitleLabel);
    layout->addWidget(DiffTable, 1);
    layout->addLayout(buttons);

    connect(InsertButton, &QPushButton::clicked, this, [this] {
        if (insertSummary) {
            insertSummary(m_summary);
        }
    });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
}

void TPlanDiffForm::showChanges(const std::vector<planindex::FieldChange> &changes, const QString &older,
                                const QString &newer, const QString &summary)
{
    m_summary = summary;
    TitleLabel->setText(changes.empty() ? QStringLiteral("前回の計画書との違いはありません。")
                                        : QStringLiteral("前回の計画書と違う項目：%1件").arg(changes.size()));
    DiffTable->setHorizontalHeaderLabels({QStringLiteral("項目"), older, newer});
    DiffTable->setRowCount(static_cast<int>(changes.size()));
    const auto text = [](const std::string &cp932Text) {
        QString shown = guitext::fromCp932(cp932Text);
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return new QTableWidgetItem(shown);
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const int row = static_cast<int>(i);
        DiffTable->setItem(row, 0, new QTableWidgetItem(QString::fromUtf8(changes[i].field->caption)));
        DiffTable->setItem(row, 1, text(changes[i].before));
        DiffTable->setItem(row, 2, text(changes[i].after));
    }
    InsertButton->setEnabled(!summary.isEmpty());
}
