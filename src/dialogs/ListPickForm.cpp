#include "dialogs/ListPickForm.h"

#include "dialogs/ListEditor.h"
#include "dialogs/ListFile.h"
#include "dialogs/Prompter.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TListPickForm::TListPickForm(const Build &build, Prompter &prompter, ListEditor &editor, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_prompter(prompter), m_editor(editor), m_missingMessage(build.missingMessage)
{
    setObjectName(QString::fromLatin1(build.formName));
    setWindowTitle(build.caption);
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    FileMenu = bar->addMenu(QStringLiteral("ファイル"));
    FileMenu->setObjectName(QString::fromLatin1(build.fileMenu));
    NRefresh = FileMenu->addAction(QStringLiteral("最新の状態に更新"));
    NRefresh->setObjectName(QStringLiteral("NRefresh"));
    FileMenu->addSeparator();
    NClose = FileMenu->addAction(QStringLiteral("閉じる"));
    NClose->setObjectName(QStringLiteral("NClose"));
    EditMenu = bar->addMenu(QStringLiteral("編集"));
    EditMenu->setObjectName(QString::fromLatin1(build.editMenu));
    NCopy = EditMenu->addAction(QStringLiteral("コピー"));
    NCopy->setObjectName(QStringLiteral("NCopy"));
    connect(NRefresh, &QAction::triggered, this, &TListPickForm::NRefreshClick);
    connect(NClose, &QAction::triggered, this, &TListPickForm::NCloseClick);
    connect(NCopy, &QAction::triggered, this, &TListPickForm::NCopyClick);

    for (std::size_t i = 0; i < Boxes.size(); ++i) {
        auto *box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(build.boxStem) + QString::number(i + 1));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setFixedWidth(build.boxWidth);
        box->setMaxVisibleItems(20);
        // A double-click reaches the box's edit field, not the box.
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
        layout->addWidget(box);
        Boxes[i] = box;
    }

    CopyEdit = new QLineEdit(this);
    CopyEdit->setObjectName(QStringLiteral("CopyEdit"));
    CopyEdit->hide();

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    OkButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    buttons->addWidget(OkButton);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(OkButton, &QPushButton::clicked, this, [this] { done(ResultOk); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(ResultCancel); });

    FormCreate();
}

void TListPickForm::FormCreate()
{
    for (QComboBox *box : Boxes) {
        box->clear();
    }
}

void TListPickForm::FormShow()
{
    NRefreshClick();
    for (std::size_t i = 0; i < Boxes.size(); ++i) {
        const auto index = static_cast<qsizetype>(i);
        Boxes[i]->setEditText(index < m_startTexts.size() ? m_startTexts.at(index) : QString());
    }
}

void TListPickForm::startFrom(const QStringList &texts)
{
    m_startTexts = texts;
}

void TListPickForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TListPickForm::NRefreshClick()
{
    if (!listfile::exists(ListPath)) {
        return;
    }
    // What the boxes hold stays: a reload only brings the list up to date.
    const listfile::Read list = listfile::read(ListPath);
    for (QComboBox *box : Boxes) {
        const QString text = box->currentText();
        box->clear();
        box->addItems(list.entries);
        box->setCurrentIndex(-1);
        box->setEditText(text);
    }
    if (list.failed) {
        m_prompter.error(this, listfile::readErrorText(ListPath));
    }
}

void TListPickForm::NCloseClick()
{
    done(ResultCancel);
}

void TListPickForm::reject()
{
    done(ResultCancel);
}

void TListPickForm::NCopyClick()
{
    const QWidget *focus = QApplication::focusWidget();
    for (QComboBox *box : Boxes) {
        if (focus != nullptr && (focus == box || box->isAncestorOf(focus))) {
            CopyEdit->setText(box->currentText());
            CopyEdit->selectAll();
            CopyEdit->copy();
            return;
        }
    }
}

void TListPickForm::BoxDblClick()
{
    if (!listfile::exists(ListPath)) {
        m_prompter.information(this, m_missingMessage);
        return;
    }
    if (!m_editor.edit(ListPath)) {
        m_prompter.error(this, QStringLiteral("テキストエディタを起動できません。"), Prompter::Button::Abort);
    }
}

bool TListPickForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (QComboBox *box : Boxes) {
            if (watched == box || watched == box->lineEdit()) {
                BoxDblClick();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
