#pragma once

// The "ＡＢＣ記入" dialog: three boxes choose which of the marks Ａ (goal),
// Ｂ (performance) and Ｃ (capability) to write, and four buttons say where:
// into the selected mark cells (Ok), into all cells (全て記載), erase all
// cells (全て消去) or nothing (Cancel). The dialog is made once and reused,
// so the ticks stay from one use to the next.

#include <QDialog>
#include <QString>

class QCheckBox;
class QPushButton;

class TABCForm : public QDialog {
    Q_OBJECT
public:
    // Result codes of exec().
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;
    static constexpr int ResultEraseAll = 9;
    static constexpr int ResultWriteAll = 10;

    explicit TABCForm(QWidget *parent = nullptr);

    QCheckBox *ABox;
    QCheckBox *BBox;
    QCheckBox *CBox;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *ALLSet;
    QPushButton *ALLCancel;

    // The mark to write: "Ａ", "Ｂ", "Ｃ" for the ticked boxes, in that order.
    QString MarkText;

    // Escape and the window's close request answer Cancel.
    void reject() override;

public slots:
    void OkButtonClick();
    void ALLSetClick();

private:
    void composeMark();
};
