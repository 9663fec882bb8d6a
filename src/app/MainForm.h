#pragma once

// The editor's main window: the menus and their commands around the plan
// view (both pages of the form and every field's behaviour, PlanForm.h),
// the flag `Modified`, the plan file in the editor and the remembered
// folders. The window starts locked (menu bar only, every keystroke
// discarded) until New or Open puts a plan into the editor. The commands
// reach the plan through the view: it shows a plan and reads one back.
//
// The window is split over several source files by command: MainForm.cpp
// (start, New, close, keyboard lock), MainFormGather.cpp (the checks
// before saving), and one file per command that other menus run.

#include "app/Clock.h"
#include "app/PlanFiles.h"
// moc cannot parse the concepts in the record's header, and needs nothing from it.
#ifndef Q_MOC_RUN
#include "plan/PracticePlanType.h"
#include "planfile/PlanCheck.h"
#include "planfile/PlanFieldTable.h"
#include "planlock/PlanLock.h"
#endif

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>
#include <cstdint>
#include <optional>
#include <vector>
#include <string>

class FileChooser;
class Launcher;
class ListEditor;
class Prompter;
class PrintPreviewer;
class QAction;
class QDialog;
class QLineEdit;
class QMenu;
class QTimer;
class TCommentForm;
class TGoodsForm;
class TKaigoForm;
class TTimeForm;
class TFolderForm;
class Tinfo;
class TMemo;
class TPlanDiffForm;
class TPlanForm;
class TPlanListForm;
class TRegistory;

// What the window talks to outside itself. Anything left empty gets the
// real thing: message boxes, file dialogs, the system clock, the user's own
// settings store and the folder of the running program.
struct MainFormServices {
    std::shared_ptr<Prompter> prompter;
    std::shared_ptr<FileChooser> fileChooser;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<Launcher> launcher; // other programs: viewer, browser, text editor
    std::shared_ptr<PrintPreviewer> printPreviewer; // the print preview of plans
    QString settingsFile; // INI file instead of the user's settings store
    QString programDir;   // folder of the program; holds the lists in a build tree or a portable copy
    QString dataDir;      // the user's data folder for the lists when the program folder has none
    QStringList textEditor; // program and arguments ("%f" the file) that edit a list; empty: the desktop's
    QString cacheDir;       // the user's cache folder (the index of plan files); empty: the platform's
    // Who this editor is in the lock files of the plans it holds; empty:
    // this process (user, host, process id).
    std::optional<planlock::LockOwner> lockOwner;
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(MainFormServices services = {}, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Folder the four list files are read from: `ProgramDir` when it holds
    // any of them, else the user's data folder, where missing lists are
    // first copied from the installed defaults.
    QString ListDir;
    QString ProgramDir; // folder of the program, no trailing separator
    QString GoodsPath;
    QString KaigoPath;
    // The team list read from Stuff.txt at start-up.
    QStringList stuffList() const { return m_stuff; }

    // Set by every edit the user makes; cleared by New, Open and a save
    // that wrote its file. Controls filled by the program do not set it.
    // The window's title carries Qt's modified mark while it is set.
    class ModifiedFlag {
    public:
        explicit ModifiedFlag(QWidget &window) : m_window(window) {}
        ModifiedFlag &operator=(bool value)
        {
            m_value = value;
            m_window.setWindowModified(value);
            if (changed) {
                changed(value);
            }
            return *this;
        }
        operator bool() const { return m_value; }
        // Called with every value set (the recovery copy follows it).
        std::function<void(bool)> changed;

    private:
        QWidget &m_window;
        bool m_value = false;
    };
    ModifiedFlag Modified{*this};
    std::unique_ptr<TRegistory> Registory;
    // While true every keystroke aimed at the window is discarded.
    bool KeyPreview = false;

    // Controls written while a ProgramFill exists do not set `Modified`
    // (New, ClearForm and Open refilling the editor).
    class ProgramFill {
    public:
        explicit ProgramFill(TMainForm &form);
        ~ProgramFill();
        ProgramFill(const ProgramFill &) = delete;
        ProgramFill &operator=(const ProgramFill &) = delete;

    private:
        TMainForm &m_form;
    };

    // Empties every control of both pages; touches neither `Modified` nor
    // the selection colour of the mark cells.
    void ClearForm();
    // The plan the view reads, dated `planDate` (or the plan date the view
    // holds), checked as a save checks it. On the first fault shows its
    // message with the focus in the control and gives nothing; otherwise
    // page 2 is in front.
    std::optional<TPRACTDATA> GatherPlan(std::optional<TDateTime> planDate = std::nullopt);
    // Reads the plan file at `path` into the editor as the open command does
    // with the file chosen in its dialog (also used for a file named on the
    // command line): the open folder becomes the file's folder, a refused
    // file is reported in an error box. Returns whether the plan was read.
    bool openPlanFile(const QString &path);
    // The control the Edit menu's commands act on, chosen when it opens.
    QWidget *editTarget() const { return m_editTarget; }
    // The other editor that holds the plan file at `path`, as "user（host）";
    // empty when none does (or only this one, or a stale lock).
    QString planHolder(const QString &path) const;

    // --- The recovery copy (MainFormRecovery.cpp) -------------------------
    // While the plan has unsaved changes, a copy of it is kept in the user's
    // data folder: written a few seconds after the last edit, and at least
    // every half minute while edits go on; removed when the plan is saved
    // or its changes are thrown away. Closing on a signal keeps it.
    //
    // At start: offers the plan of an editor that ended without saving
    // ("復元する", "破棄する", "後で"); a copy that cannot be read is
    // reported and left where it is.
    void offerRecovery();
    // Writes the copy now when one is due (tests, and before the window goes).
    void flushRecovery();
    // Where this window keeps its copy.
    QString recoveryCopyPath() const;
    static constexpr int kRecoveryQuietMs = 3000;

    // --- Window size and zoom (MainFormZoom.cpp) --------------------------
    // Zoom of both pages in percent, 75 to 200; remembered across runs.
    int zoomPercent() const { return m_zoomPercent; }
    void setZoomPercent(int percent);
    // The first size of the window (client area) on a screen whose
    // available area is `available`: the designed size, made smaller to fit.
    static QSize firstWindowSize(QSize available);

    // The menu commands, each run by its menu action.
protected slots:
    void NewMenuClick();
    void OpenMenuClick();
    void NewSaveMenuClick();
    void OldSaveMenuClick();
    void N3Click();
    void PreviewMenuClick();
    void CloseMenuClick();
    void EditMenuClick();
    // 元に戻す / やり直し: one step of the plan's undo history (TPlanForm).
    void UndoMenuClick();
    void RedoMenuClick();
    void CutMenuClick();
    void CopyMenuClick();
    void PasteMenuClick();
    void AllMenuClick();
    void SettingMenuClick();
    void NInfoMenuClick();
    void HelpMenuClick();
    void PlanListMenuClick();
    void NextPlanMenuClick();
    void DiffMenuClick();
    void ReviewMenuClick();

private:
    // Opens the plan file as the open command does and starts the next plan
    // from it (NextPlanMenuClick). False when refused or not opened.
    bool startNextPlanFrom(const QString &path);
    // The index cache of the plan folders (native path; empty: none).
    std::filesystem::path planIndexCacheFile() const;

    // --- Pick lists, keypad and stock phrases (MainFormLists.cpp) --------
    // Double-click on a goods or care-service memo: the picked or typed
    // entries of the dialog's three boxes become the memo's lines.
    void GoodsDblClick(TMemo *memo);
    void KaigoDblClick(TMemo *memo);
    // Double-click on a target-period edit: the keypad's number + "月" or "ヵ月".
    void TimeDblClick(QLineEdit *edit);
    // Double-click on a memo (other than the goods and care cells) or an
    // edit: the stock phrase chosen is pasted at the caret, replacing the
    // selection.
    void MemoDblClick(QWidget *field);
    void EditDblClick(QWidget *field);
    QString StuffPath;
    QString TeikeibunPath;

    // The plan file in the editor: the one this window last opened or saved,
    // as it was on disk then. Saving over any other existing file asks
    // first. Empty after New. Set through setPlanFile.
    PlanFileStamp PlanFile;
    // The plan file in the editor becomes the file at `path` as it is on disk
    // now (none for an empty path). The window's title is "リハビリ実施計画書",
    // then " - " and the file's name when there is a file.
    void setPlanFile(const QString &path);
    // Says in the status bar, for a few seconds, what a command did.
    void showStatus(const QString &text);

    // --- The shared plan folder (MainFormShared.cpp) ----------------------
    // Several editors may work in one plan folder, often a network folder
    // where file locks cannot be relied on. The plan file this window holds
    // carries a lock file that says so to the others; before opening a plan
    // another editor holds, and before saving over this window's plan file
    // when it changed on disk since, the user is asked. A lock file that
    // cannot be written only loses the notice.
    //
    // Makes `path` this window's plan file (PlanFile) as it is on disk now,
    // and holds it; lets go of any other.
    void holdPlanFile(const QString &path);
    // After a save wrote `path`: leaves the note that this editor saved it.
    void noteSaved(const QString &path);
    // How often a plan file held by another editor is tried again.
    static constexpr int kLockRetryMs = 2000;
    // Lets go of the plan file held (New, the next plan, closing).
    void releasePlanFile();
    // Before opening `path`: when another editor holds it, says who and
    // since when and asks. True when it may be opened.
    bool confirmOpenHeld(const QString &path);
    // Before a save writes `path`: a file there that is this window's plan
    // file but changed on disk since (another editor saved it) asks with
    // what is known of who and when; any other existing file asks whether to
    // replace it. True when the save may go on.
    bool confirmReplace(const QString &path);

    Prompter &prompter() const { return *m_prompter; }
    FileChooser &fileChooser() const { return *m_fileChooser; }
    const Clock &clock() const { return *m_clock; }
    Launcher &launcher() const { return *m_launcher; }
    PrintPreviewer &printPreviewer() const { return *m_printPreviewer; }

    // --- Operations used by the commands ---------------------------------
    // The save commands' common steps for a plan dated `planDate`: check,
    // warn about texts that will not print whole, put back the page the
    // user was on, refuse a file in use, write the file.
    void gatherAndWrite(TDateTime planDate, QWidget *activePage);
    bool writePlanFile(const TPRACTDATA &plan, const QString &path);
    void reportSaveFailure(const QString &reason);
    // Before New or Open replaces the editor's plan: when `Modified` is
    // set, asks whether to throw the changes away. True when it may go on.
    bool confirmDiscard();
    // Leaves the locked state: pages shown, save and Edit menus enabled,
    // keys to the controls. New and Open end with it.
    void unlockEditor();
    static constexpr int kRecoveryLatestMs = 30000;
    void zoomIn();
    void zoomOut();
    void zoomReset();

    void FormCreate();
    void FormShow();
    void FormDestroy();

protected:
    // The plan view: both pages and their controls, built on first use.
    TPlanForm &planView();

    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildPlanMenus();
    void setEditMenuEnabled(bool enabled);
    void readStuff();
    QString chooseListDir() const;
    void buildListDialogs();
    // Double-clicks on the view's cells open the pick lists and the keypad.
    void connectPickLists(TPlanForm &view);
    void pasteStockPhrase(QWidget *field);
    void userEdited();
    // The plan view read as a save reads it; a fault is reported (its
    // message, then the focus in its control) and gives nothing.
    std::optional<TPRACTDATA> readPlan(std::optional<TDateTime> planDate);
    void reportFault(const planfile::PlanFault &fault);
    void reportFaults(const std::vector<planfile::PlanFault> &faults);
    bool handleEditShortcut(QEvent *event);
    void watchFocusForEditMenu();
    // Remembered place and zoom, or the first size centred on the screen.
    void placeWindow();
    // Puts place, size and zoom into the settings store and writes them.
    void rememberWindow();
    bool handleZoomKey(QEvent *event);
    bool handleZoomWheel(QEvent *event);
    void showZoom();
    void retryLock();
    QTimer *m_lockRetry = nullptr;
    void startRecovery();
    void recoveryFollows(bool modified);
    void writeRecovery();
    void removeRecovery();
    // Closes 計画書一覧 and brings the editor to the front.
    void showEditorOverPlanList();

    std::shared_ptr<Prompter> m_prompter;
    std::shared_ptr<FileChooser> m_fileChooser;
    std::shared_ptr<Clock> m_clock;
    std::shared_ptr<Launcher> m_launcher;
    std::shared_ptr<PrintPreviewer> m_printPreviewer;
    QString m_settingsFile;
    QString m_dataDir;
    QString m_cacheDir;
    std::unique_ptr<ListEditor> m_listEditor;
    // Author and Subject of the plan file last opened, trimmed.
    QString OpenedAuthor;
    QString OpenedSubject;
    QStringList m_stuff;
    int m_programFill = 0;
    bool m_shown = false;
    bool m_editing = false; // New or Open has put a plan into the editor
    QPointer<QWidget> m_focusBeforeMenuBar;
    QPointer<QWidget> m_editTarget;
    int m_zoomPercent = 100;
    QTimer *m_recoveryQuiet = nullptr;  // restarted by each edit
    QTimer *m_recoveryLatest = nullptr; // started by the first edit since the last copy
    bool m_recoveryFailed = false;      // the last write failed and was said
    int m_wheelDelta = 0; // wheel turned with Ctrl, short of a whole notch

    TPlanForm *m_planForm = nullptr;
    // This window's identity in lock files (empty: this process), the lock
    // of the plan file it holds, and that file's content when opened or saved.
    std::optional<planlock::LockOwner> m_lockOwner;
    planlock::PlanLock m_lock;
    std::optional<std::uint64_t> m_planDigest;
    planlock::LockOwner lockOwner() const;
    std::optional<planlock::LockOwner> otherHolder(const QString &path) const;

    // Menus, made once; other parts find them by name.
    QMenu *FileMenu = nullptr;
    QAction *NewMenu = nullptr;
    QAction *OpenMenu = nullptr;
    QAction *NewSaveMenu = nullptr;
    QAction *OldSaveMenu = nullptr;
    QAction *N3 = nullptr;
    QAction *PreviewMenu = nullptr;
    QAction *CloseMenu = nullptr;
    QMenu *EditMenu = nullptr;
    QAction *UndoMenu = nullptr;
    QAction *RedoMenu = nullptr;
    QAction *CutMenu = nullptr;
    QAction *CopyMenu = nullptr;
    QAction *PasteMenu = nullptr;
    QAction *AllMenu = nullptr;
    QMenu *NSet = nullptr;
    QAction *SettingMenu = nullptr;
    QMenu *NInfo = nullptr;
    QAction *NInfoMenu = nullptr;
    QMenu *N2 = nullptr;
    QAction *HelpMenu = nullptr;
    QAction *PlanListMenu = nullptr; // 計画書一覧
    QAction *NextPlanMenu = nullptr; // この計画書を元に新規作成
    QAction *DiffMenu = nullptr;     // 前回との違い
    QAction *ReviewMenu = nullptr;   // 設定 → 見直し間隔

    // Dialogs, made once and reused (the two plan windows on first use).
    TFolderForm *FolderForm = nullptr;
    Tinfo *Info = nullptr;
    TGoodsForm *GoodsForm = nullptr;
    TKaigoForm *KaigoForm = nullptr;
    TCommentForm *CommentForm = nullptr;
    TTimeForm *TimeForm = nullptr;
    TPlanListForm *PlanListForm = nullptr;
    TPlanDiffForm *PlanDiffForm = nullptr;
    QDialog *HelpWindow = nullptr; // the manual (トピックス, F1)
};
