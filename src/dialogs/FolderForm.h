#pragma once

// The "計画書保存フォルダー" chooser: a tree of the file system's folders
// (folders only, from the root of the file system, the home folder opened
// out), the chosen path in a read-only field below it, and the buttons
// "設定" (result 1) and "キャンセル" (result 2). The dialog is made once and
// reused: the caller puts the current folder into `FolderPath`, runs exec()
// and on "設定" takes `FolderPath` back, which holds what the field showed
// when the dialog closed, whichever way it closed.

#include <QDialog>
#include <QString>

class Prompter;
class QFileSystemModel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;

class TFolderForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;

    // `prompter` reports a folder that cannot be selected when the dialog opens.
    explicit TFolderForm(Prompter &prompter, QWidget *parent = nullptr);

    QTreeView *ShellTreeView1;
    QLineEdit *Edit1;
    QPushButton *Button1;   // "設定"
    QPushButton *Button2;   // "キャンセル"
    QPushButton *NewFolder; // "新しいフォルダー" in the selected folder

    QString FolderPath;

    // The folder of a tree item as the platform writes paths.
    QString pathOf(const QModelIndex &index) const;
    QModelIndex indexOf(const QString &path) const;

    // Escape answers Cancel like "キャンセル".
    void reject() override;
    // Every way of closing copies the field into `FolderPath`.
    void done(int result) override;

public slots:
    // Selects `FolderPath` in the tree and shows it in the field; a folder
    // that no longer exists is reported ("パス設定エラー : " and the path in
    // double quotes) and the field keeps what it showed before.
    void FormShow();
    void ShellTreeView1Click();
    // Makes "新しいフォルダー" (or "新しいフォルダー (2)", ...) inside the
    // selected folder and selects it.
    void NewFolderClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    Prompter &m_prompter;
    QFileSystemModel *m_model;
    // Parent of the folder selected on opening, until it has been read.
    QString m_scrollPending;
};
