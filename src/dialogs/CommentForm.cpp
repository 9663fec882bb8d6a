#include "dialogs/CommentForm.h"

#include "dialogs/ListFile.h"
#include "dialogs/Prompter.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TCommentForm::TCommentForm(Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_prompter(prompter)
{
    setObjectName(QStringLiteral("CommentForm"));
    setWindowTitle(QStringLiteral("定型文"));

    auto *layout = new QVBoxLayout(this);
    auto *bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    N1 = bar->addMenu(QStringLiteral("ファイル"));
    N1->setObjectName(QStringLiteral("N1"));
    NRefresh = N1->addAction(QStringLiteral("最新の状態に更新"));
    NRefresh->setObjectName(QStringLiteral("NRefresh"));
    N1->addSeparator();
    NClose = N1->addAction(QStringLiteral("閉じる"));
    NClose->setObjectName(QStringLiteral("NClose"));
    connect(NRefresh, &QAction::triggered, this, &TCommentForm::NRefreshClick);
    connect(NClose, &QAction::triggered, this, &TCommentForm::NCloseClick);

    TeikeiMemo = new QPlainTextEdit(this);
    TeikeiMemo->setObjectName(QStringLiteral("TeikeiMemo"));
    TeikeiMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TeikeiMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(TeikeiMemo, 1);

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    OkButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
    connect(OkButton, &QPushButton::clicked, this, &TCommentForm::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(ResultCancel); });

    resize(420, 320);
}

void TCommentForm::FormShow()
{
    NRefreshClick();
}

void TCommentForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TCommentForm::NRefreshClick()
{
    if (!listfile::exists(ListPath)) {
        return;
    }
    const listfile::Read list = listfile::read(ListPath);
    TeikeiMemo->setPlainText(list.entries.join(QLatin1Char('\n')));
    if (list.failed) {
        m_prompter.error(this, listfile::readErrorText(ListPath));
    }
}

void TCommentForm::OkButtonClick()
{
    if (!TeikeiMemo->textCursor().hasSelection()) {
        done(ResultCancel);
        return;
    }
    TeikeiMemo->copy();
    done(ResultOk);
}

void TCommentForm::NCloseClick()
{
    done(ResultCancel);
}

void TCommentForm::reject()
{
    done(ResultCancel);
}
