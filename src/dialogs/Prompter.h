#pragma once

// Every message the editor shows goes through a Prompter: a modal box whose
// caption names its kind ("情報", "確認", "エラー", "警告") and whose buttons
// come from "OK", "キャンセル", "はい(&Y)", "いいえ(&N)", "中止(&A)", and for
// the warning before a text is cut, "保存" and "改行を入れる", and for a
// plan left unsaved, "復元する", "破棄する" and "後で". The
// window asks the interface, so tests answer with a scripted fake and the
// program with real message boxes.

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

class Prompter {
public:
    enum class Kind { Information, Confirmation, Error, Warning };
    enum class Button {
        Ok, Cancel, Yes, No, Abort, Save, BreakLines, Open, Overwrite, SaveAndQuit, QuitWithoutSaving, Restore, Discard,
        Later
    };

    virtual ~Prompter() = default;

    // Shows `text` ("\n" is a line break) with the given buttons, the first
    // the default (Enter), and returns the one pressed. A box closed without
    // pressing a button answers Cancel when it offers Cancel, No when it
    // offers No, else its last button.
    virtual Button ask(QWidget *parent, Kind kind, const QString &text, const QList<Button> &buttons) = 0;
    // The same with `list` below the text, one entry a row, each whole (a
    // long one wraps), in a box that scrolls when there are more than eight.
    virtual Button askWithList(QWidget *parent, Kind kind, const QString &text, const QStringList &list,
                               const QList<Button> &buttons) = 0;

    // "情報" with "OK".
    void information(QWidget *parent, const QString &text);
    // "確認" with "OK" and "キャンセル"; true when OK was pressed.
    bool confirm(QWidget *parent, const QString &text);
    // The same for a question whose OK throws work away: "キャンセル" comes
    // first and is the default, so that Enter keeps the work.
    bool confirmKeeping(QWidget *parent, const QString &text);
    // "エラー" with "OK", or with "中止(&A)" for failures to hand a file to
    // another program.
    void error(QWidget *parent, const QString &text, Button button = Button::Ok);
    // "警告" with "OK".
    void warning(QWidget *parent, const QString &text);

    static QString caption(Kind kind);
    static QString buttonText(Button button);

protected:
    // The answer of a box closed without pressing a button.
    static Button closedAnswer(const QList<Button> &buttons);
};

// The real boxes, application modal: QMessageBox, and for a list a dialog
// of the same look (object name "ListBox", the list "ListBoxEntries").
class MessageBoxPrompter : public Prompter {
public:
    Button ask(QWidget *parent, Kind kind, const QString &text, const QList<Button> &buttons) override;
    Button askWithList(QWidget *parent, Kind kind, const QString &text, const QStringList &list,
                       const QList<Button> &buttons) override;
};
