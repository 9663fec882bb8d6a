#include "dialogs/TimeForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TTimeForm::TTimeForm(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("TimeForm"));
    setWindowTitle(QStringLiteral("到達時期"));

    auto *layout = new QVBoxLayout(this);
    NumLabel = new QLabel(this);
    NumLabel->setObjectName(QStringLiteral("NumLabel"));
    NumLabel->setAutoFillBackground(true);
    NumLabel->setBackgroundRole(QPalette::ToolTipBase);
    NumLabel->setForegroundRole(QPalette::ToolTipText);
    NumLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    NumLabel->setMinimumHeight(24);
    QFont numberFont = NumLabel->font();
    numberFont.setPixelSize(13);
    numberFont.setBold(true);
    NumLabel->setFont(numberFont);
    layout->addWidget(NumLabel);

    const auto makeButton = [this](const QString &name, const QString &caption) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    ClearButton = makeButton(QStringLiteral("ClearButton"), QStringLiteral("クリア"));
    layout->addWidget(ClearButton);
    connect(ClearButton, &QPushButton::clicked, this, &TTimeForm::ClearButtonClick);

    // 7 8 9 / 4 5 6 / 1 2 3 / 0
    auto *keypad = new QGridLayout;
    for (int digit = 0; digit <= 9; ++digit) {
        QPushButton *button = makeButton(QStringLiteral("Button%1").arg(digit), QString(QChar(0xFF10 + digit)));
        Buttons.at(static_cast<std::size_t>(digit)) = button;
        connect(button, &QPushButton::clicked, this, [this, digit] { ButtonClick(digit); });
        if (digit == 0) {
            keypad->addWidget(button, 3, 0);
        } else {
            keypad->addWidget(button, 2 - (digit - 1) / 3, (digit - 1) % 3);
        }
    }
    layout->addLayout(keypad);

    MButton = makeButton(QStringLiteral("MButton"), QStringLiteral("月"));
    KButton = makeButton(QStringLiteral("KButton"), QStringLiteral("カ月"));
    auto *units = new QHBoxLayout;
    units->addWidget(MButton);
    units->addWidget(KButton);
    layout->addLayout(units);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(MButton, &QPushButton::clicked, this, [this] { done(ResultMonth); });
    connect(KButton, &QPushButton::clicked, this, [this] { done(ResultMonths); });
}

void TTimeForm::FormShow()
{
    NumLabel->clear();
}

void TTimeForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TTimeForm::ClearButtonClick()
{
    NumLabel->clear();
}

void TTimeForm::ButtonClick(int digit)
{
    NumLabel->setText(NumLabel->text() + QString::number(digit));
}

void TTimeForm::FormClose()
{
    bool ok = false;
    const int value = NumLabel->text().toInt(&ok, 10);
    TimeValue = ok ? value : 0;
    HasNumber = !NumLabel->text().isEmpty();
}

void TTimeForm::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TTimeForm::reject()
{
    done(ResultCancel);
}
