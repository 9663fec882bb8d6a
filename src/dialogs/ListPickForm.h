#pragma once

// The build shared by the goods and care-service dialogs: three editable
// combo boxes that each offer every entry of one pick-list file, "Ok" and
// "Cancel", a "ファイル" menu (reload, close) and an "編集" menu (copy).
// The lists are read afresh every time the dialog opens. A double-click on
// a box opens the list file in the text editor; after saving there the user
// reloads with "最新の状態に更新".
//
// The dialog is made once and reused: when the file is missing its boxes
// keep their items and texts from the last use.

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>

class ListEditor;
class Prompter;
class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;

class TListPickForm : public QDialog {
    Q_OBJECT
public:
    // Result codes of exec().
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;

    struct Build {
        const char *formName; // object name of the dialog
        QString caption;      // window title
        const char *boxStem;  // box names: stem + 1..3
        int boxWidth;         // pixels
        const char *fileMenu; // object names of the two menus
        const char *editMenu;
        QString missingMessage; // shown when the file to edit is missing
    };

    TListPickForm(const Build &build, Prompter &prompter, ListEditor &editor, QWidget *parent = nullptr);

    // The file read by the dialog; set by the window that owns it.
    QString ListPath;

    std::array<QComboBox *, 3> Boxes{};
    QPushButton *CancelButton = nullptr;
    QPushButton *OkButton = nullptr;
    QLineEdit *CopyEdit = nullptr;
    QMenu *FileMenu = nullptr;
    QAction *NRefresh = nullptr;
    QAction *NClose = nullptr;
    QMenu *EditMenu = nullptr;
    QAction *NCopy = nullptr;

    // The texts the three boxes show when the dialog opens next (the lines of
    // the cell it was opened for); missing ones are empty.
    void startFrom(const QStringList &texts);

    // Escape and the window's close request answer Cancel.
    void reject() override;

public slots:
    // Reads the list file into the three boxes, keeping their texts; a
    // missing file changes nothing.
    void NRefreshClick();
    void NCloseClick();
    // Copies the text of the focused box to the clipboard.
    void NCopyClick();
    // Opens the list file in the text editor.
    void BoxDblClick();

protected:
    void FormCreate();
    void FormShow();
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Prompter &m_prompter;
    ListEditor &m_editor;
    QString m_missingMessage;
    QStringList m_startTexts;
};
