#include "dialogs/ABCForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

TABCForm::TABCForm(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ABCForm"));
    setWindowTitle(QStringLiteral("ＡＢＣ記入"));
    QFont dialogFont(QStringLiteral("Tahoma"));
    dialogFont.setPixelSize(11);
    setFont(dialogFont);

    QFont bold = dialogFont;
    bold.setBold(true);
    const auto makeBox = [&](const QString &name, const QString &caption) {
        auto *box = new QCheckBox(caption, this);
        box->setObjectName(name);
        box->setFont(bold);
        return box;
    };
    ABox = makeBox(QStringLiteral("ABox"), QStringLiteral("Ａ：目標"));
    BBox = makeBox(QStringLiteral("BBox"), QStringLiteral("Ｂ：実施状況"));
    CBox = makeBox(QStringLiteral("CBox"), QStringLiteral("Ｃ：能力"));

    const auto makeButton = [&](const QString &name, const QString &caption) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    OkButton = makeButton(QStringLiteral("OkButton"), QStringLiteral("Ok"));
    CancelButton = makeButton(QStringLiteral("CancelButton"), QStringLiteral("Cancel"));
    ALLSet = makeButton(QStringLiteral("ALLSet"), QStringLiteral("全て記載"));
    ALLCancel = makeButton(QStringLiteral("ALLCancel"), QStringLiteral("全て消去"));
    OkButton->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ABox);
    layout->addWidget(BBox);
    layout->addWidget(CBox);
    auto *buttons = new QGridLayout;
    buttons->addWidget(OkButton, 0, 0);
    buttons->addWidget(CancelButton, 0, 1);
    buttons->addWidget(ALLSet, 1, 0);
    buttons->addWidget(ALLCancel, 1, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(OkButton, &QPushButton::clicked, this, &TABCForm::OkButtonClick);
    connect(ALLSet, &QPushButton::clicked, this, &TABCForm::ALLSetClick);
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(ResultCancel); });
    // Erase-all leaves MarkText as it was.
    connect(ALLCancel, &QPushButton::clicked, this, [this] { done(ResultEraseAll); });
}

void TABCForm::composeMark()
{
    MarkText.clear();
    if (ABox->isChecked()) {
        MarkText += QStringLiteral("Ａ");
    }
    if (BBox->isChecked()) {
        MarkText += QStringLiteral("Ｂ");
    }
    if (CBox->isChecked()) {
        MarkText += QStringLiteral("Ｃ");
    }
}

void TABCForm::OkButtonClick()
{
    composeMark();
    done(ResultOk);
}

void TABCForm::ALLSetClick()
{
    composeMark();
    done(ResultWriteAll);
}

void TABCForm::reject()
{
    done(ResultCancel);
}
