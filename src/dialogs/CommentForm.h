#pragma once

// "定型文": shows the stock phrases of Teikeibun.txt in an editable text
// area. The user selects any stretch of it; Ok copies the selection to the
// clipboard, from which the main window pastes it into the field that was
// double-clicked. Edits made here are never saved and are lost at the next
// reload.

#include <QDialog>
#include <QString>

class Prompter;
class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;

class TCommentForm : public QDialog {
    Q_OBJECT
public:
    // Result codes of exec().
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;

    explicit TCommentForm(Prompter &prompter, QWidget *parent = nullptr);

    // The file read by the dialog; set by the window that owns it.
    QString ListPath;

    QPlainTextEdit *TeikeiMemo = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QMenu *N1 = nullptr;
    QAction *NRefresh = nullptr;
    QAction *NClose = nullptr;

    void reject() override;

public slots:
    // Puts every entry of the file into TeikeiMemo, one per line; a missing
    // file leaves TeikeiMemo as it is.
    void NRefreshClick();
    void NCloseClick();
    // With a selection: copies it to the clipboard and answers OK; without
    // one answers Cancel and leaves the clipboard alone.
    void OkButtonClick();

protected:
    void FormShow();
    void showEvent(QShowEvent *event) override;

private:
    Prompter &m_prompter;
};
