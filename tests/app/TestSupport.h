#pragma once

// Fakes and helpers for the tests that drive the real main window: a
// prompter that records every box and answers from a script, a clock fixed
// to a chosen moment, and a window set up in a temporary folder with its
// own settings file.

#include "app/Clock.h"
#include "dialogs/FileChooser.h"
#include "dialogs/Launcher.h"
#include "app/MainForm.h"
#include "app/PlanForm.h"
#include "app/PrintPreviewer.h"
#include "dialogs/Prompter.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class FakePrompter : public Prompter {
public:
    struct Shown {
        Kind kind;
        QString caption;
        QString text;
        QList<Button> buttons;
        QStringList list = {}; // the entries of a box with a list
    };

    Button ask(QWidget *parent, Kind kind, const QString &text, const QList<Button> &buttons) override;
    Button askWithList(QWidget *parent, Kind kind, const QString &text, const QStringList &list,
                       const QList<Button> &buttons) override;

    QList<Shown> shown;
    // Answers used in turn; when none is left the first button is pressed.
    QList<Button> answers;
    // When set, every box is recorded and then shown for real (QMessageBox),
    // for the tests that press keys on the box itself.
    bool realBoxes = false;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(TDateTime value) : value(value) {}
    TDateTime now() const override { return value; }
    TDateTime value;
};

class FakeFileChooser : public FileChooser {
public:
    QString openFileName(QWidget *, const QString &initial) override
    {
        requested.append(initial);
        return answer;
    }
    QString existingFolder(QWidget *, const QString &folder) override
    {
        requested.append(folder);
        return answer;
    }
    QString answer;
    QStringList requested;
};

// Records what would be started instead of starting it.
class FakeLauncher : public Launcher {
public:
    bool openDocument(const QUrl &url) override
    {
        opened.append(url);
        return openSucceeds;
    }
    qint64 startProgram(const QString &program, const QStringList &arguments) override
    {
        started.append({program, arguments});
        return startSucceeds ? ++lastProcess : 0;
    }
    bool isRunning(qint64 process) const override { return process > 0 && !ended.contains(process); }

    struct Started {
        QString program;
        QStringList arguments;
    };
    QList<QUrl> opened;
    QList<Started> started;
    QList<qint64> ended; // processes that have finished
    bool openSucceeds = true;
    bool startSucceeds = true;
    qint64 lastProcess = 100;
};

// Records the plans the print preview would show instead of showing them.
class FakePrintPreviewer : public PrintPreviewer {
public:
    void preview(QWidget *, const std::vector<TPRACTDATA> &plans) override { previewed.push_back(plans); }
    std::vector<std::vector<TPRACTDATA>> previewed;
};

// The main window as the tests drive it: its plan view found among its
// children, and the menu commands run as their actions run them.
class TestMainForm : public TMainForm {
public:
    using TMainForm::TMainForm;
    // The plan view: both pages, their controls by objectName.
    TPlanForm &planForm() const;
    using TMainForm::CloseMenuClick;
    using TMainForm::DiffMenuClick;
    using TMainForm::HelpMenuClick;
    using TMainForm::N3Click;
    using TMainForm::NewMenuClick;
    using TMainForm::NewSaveMenuClick;
    using TMainForm::NextPlanMenuClick;
    using TMainForm::NInfoMenuClick;
    using TMainForm::OldSaveMenuClick;
    using TMainForm::OpenMenuClick;
    using TMainForm::PlanListMenuClick;
    using TMainForm::SettingMenuClick;
};

// The plan the view reads, dated as it holds (checked as a save checks
// it); a plan that fails the checks fails the test and gives an empty one.
TPRACTDATA viewPlan(const TestMainForm &form);

// A main window with fakes, its settings file and program folder inside a
// temporary folder, its data folder the subfolder "data". `stuff` (UTF-8
// lines joined by "\r\n") is written as Stuff.txt in code page 932 unless it
// is null.
struct WindowFixture {
    explicit WindowFixture(const char *stuff = "山本 一郎\r\n佐藤 花子\r\n", bool show = true);
    ~WindowFixture();

    // A second window over the same folder and settings (a restart), or, with
    // `lockOwner`, another editor on that folder as the lock files name it.
    std::unique_ptr<TestMainForm> makeWindow(std::optional<planlock::LockOwner> lockOwner = {});

    QString settingsFile() const;

    QTemporaryDir dir;
    std::shared_ptr<FakePrompter> prompter = std::make_shared<FakePrompter>();
    std::shared_ptr<FixedClock> clock;
    std::shared_ptr<FakeFileChooser> chooser = std::make_shared<FakeFileChooser>();
    std::shared_ptr<FakeLauncher> launcher = std::make_shared<FakeLauncher>();
    std::shared_ptr<FakePrintPreviewer> previewer = std::make_shared<FakePrintPreviewer>();
    std::unique_ptr<TestMainForm> form;
};

// 2003-04-01 10:30, a Tuesday in 平成15年.
TDateTime testNow();

// Writes `utf8` to `path` in code page 932.
void writeCp932(const QString &path, const char *utf8);

// The whole file; empty when it cannot be read.
QByteArray readAll(const QString &path);

// Fills every control with plausible sample data, as a user would.
void fillSampleData(TestMainForm &form);

// Runs `act` on the modal dialog as soon as one is shown (within a few
// seconds), or with nullptr when none appears. Call before the command that
// opens the dialog; `act` must close it.
void whenModalShown(const std::function<void(QWidget *)> &act);
