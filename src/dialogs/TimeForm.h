#pragma once

// "到達時期": a numeric keypad for the target-period cells. The digits typed
// show in NumLabel; "月" (result 6) or "カ月" (result 1) close it with the
// number in TimeValue, Escape and the window's close with ResultCancel and
// no number.

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

class TTimeForm : public QDialog {
    Q_OBJECT
public:
    // Result codes of exec().
    static constexpr int ResultMonths = 1; // "カ月"
    static constexpr int ResultMonth = 6;  // "月"
    static constexpr int ResultCancel = 2; // Escape, the window's close

    explicit TTimeForm(QWidget *parent = nullptr);

    QLabel *NumLabel = nullptr;
    QPushButton *ClearButton = nullptr;
    std::array<QPushButton *, 10> Buttons{}; // Button0 - Button9
    QPushButton *MButton = nullptr;
    QPushButton *KButton = nullptr;

    // The digits of NumLabel as a decimal number when the dialog closed; 0
    // when there were none or they do not make a 32-bit integer.
    int TimeValue = 0;
    // Whether any digit was typed before the dialog closed.
    bool HasNumber = false;

    // Escape and the window's close request answer ResultCancel.
    void reject() override;
    void done(int result) override;

public slots:
    void ClearButtonClick();
    // Appends the digit `digit` to NumLabel; there is no limit on the count.
    void ButtonClick(int digit);

protected:
    void FormShow();
    void FormClose();
    void showEvent(QShowEvent *event) override;
};
