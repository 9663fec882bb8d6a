#include "app/MainForm.h"

#include "dialogs/WheelGuard.h"
#include "plan/Common.h"
#include "dialogs/FileChooser.h"
#include "dialogs/Launcher.h"
#include "dialogs/ListEditor.h"
#include "dialogs/ListFile.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanForm.h"
#include "app/PrintPreviewer.h"
#include "planfile/PlanFieldValue.h"
#include "dialogs/Prompter.h"
#include "settings/Registory.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>

namespace {

// "ＭＳ Ｐゴシック" where it is installed, else another proportional
// Japanese Gothic face.
QString uiFontFamily()
{
    const QStringList installed = QFontDatabase::families();
    for (const QString &family : {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                  QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")}) {
        if (installed.contains(family)) {
            return family;
        }
    }
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    return japanese.isEmpty() ? QString() : japanese.first();
}

} // namespace

TMainForm::ProgramFill::ProgramFill(TMainForm &form) : m_form(form)
{
    ++m_form.m_programFill;
}

TMainForm::ProgramFill::~ProgramFill()
{
    --m_form.m_programFill;
}

TMainForm::TMainForm(MainFormServices services, QWidget *parent)
    : QMainWindow(parent), m_prompter(std::move(services.prompter)), m_fileChooser(std::move(services.fileChooser)),
      m_clock(std::move(services.clock)), m_launcher(std::move(services.launcher)), m_settingsFile(std::move(services.settingsFile)),
      m_dataDir(std::move(services.dataDir)), m_cacheDir(std::move(services.cacheDir)),
      m_lockOwner(std::move(services.lockOwner))
{
    if (!m_prompter) {
        m_prompter = std::make_shared<MessageBoxPrompter>();
    }
    if (!m_fileChooser) {
        m_fileChooser = std::make_shared<DialogFileChooser>();
    }
    if (!m_clock) {
        m_clock = std::make_shared<SystemClock>();
    }
    if (!m_launcher) {
        m_launcher = std::make_shared<DesktopLauncher>();
    }
    m_printPreviewer = services.printPreviewer ? std::move(services.printPreviewer)
                                               : std::make_shared<DialogPrintPreviewer>();
    ProgramDir = services.programDir.isEmpty() ? QCoreApplication::applicationDirPath() : services.programDir;
    while (ProgramDir.size() > 1 && (ProgramDir.endsWith(QLatin1Char('/')) || ProgramDir.endsWith(QLatin1Char('\\')))) {
        ProgramDir.chop(1);
    }

    setObjectName(QStringLiteral("MainForm"));
    // Locked, with no plan that could change: the bare caption.
    setWindowTitle(QStringLiteral("リハビリ実施計画書"));
    resize(791, 881);
    QFont uiFont(uiFontFamily());
    uiFont.setPixelSize(12);
    setFont(uiFont);

    // Before any control is made: none may take the wheel unfocused.
    WheelGuard::install();
    buildMenus();
    buildPlanMenus();
    // The plan view is built when New, Open or a recovered plan first needs
    // it: the locked window shows none, and starts without waiting for it.
    // Where a save tells where it wrote the plan.
    statusBar()->setObjectName(QStringLiteral("StatusBar"));

    // The mark, save-folder and product dialogs are built when first shown
    // (the save-folder one lists the file system): the first window does not
    // wait for them.
    watchFocusForEditMenu();
    qApp->installEventFilter(this);
    startRecovery();
    FormCreate();
    placeWindow();
    m_listEditor = std::make_unique<ListEditor>(*m_launcher, services.textEditor);
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    FormDestroy();
}

void TMainForm::buildMenus()
{
    QMenuBar *bar = menuBar();
    const auto item = [this](QMenu *menu, const char *name, const QString &caption, void (TMainForm::*slot)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    const auto separator = [](QMenu *menu, const char *name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    FileMenu = bar->addMenu(QStringLiteral("ファイル(&F)"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    NewMenu = item(FileMenu, "NewMenu", QStringLiteral("新規作成(&N)"), &TMainForm::NewMenuClick);
    NewMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    OpenMenu = item(FileMenu, "OpenMenu", QStringLiteral("開く(&O)"), &TMainForm::OpenMenuClick);
    OpenMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    NewSaveMenu = item(FileMenu, "NewSaveMenu", QStringLiteral("今日の日付で保存(&T)"), &TMainForm::NewSaveMenuClick);
    OldSaveMenu = item(FileMenu, "OldSaveMenu", QStringLiteral("開いた時の日付で保存(&S)"), &TMainForm::OldSaveMenuClick);
    // Ctrl+S keeps the plan date the form shows: what the user sees is saved.
    OldSaveMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    separator(FileMenu, "N6");
    N3 = item(FileMenu, "N3", QStringLiteral("印刷(&P)"), &TMainForm::N3Click);
    N3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    PreviewMenu = item(FileMenu, "PreviewMenu", QStringLiteral("印刷プレビュー(&V)"), &TMainForm::PreviewMenuClick);
    separator(FileMenu, "N4");
    CloseMenu = item(FileMenu, "CloseMenu", QStringLiteral("閉じる(&X)"), &TMainForm::CloseMenuClick);

    EditMenu = bar->addMenu(QStringLiteral("編集(&E)"));
    EditMenu->setObjectName(QStringLiteral("EditMenu"));
    connect(EditMenu, &QMenu::aboutToShow, this, &TMainForm::EditMenuClick);
    UndoMenu = item(EditMenu, "UndoMenu", QStringLiteral("元に戻す(&U)"), &TMainForm::UndoMenuClick);
    UndoMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoMenu = item(EditMenu, "RedoMenu", QStringLiteral("やり直し(&R)"), &TMainForm::RedoMenuClick);
    RedoMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    separator(EditMenu, "UndoSeparator");
    CutMenu = item(EditMenu, "CutMenu", QStringLiteral("切り取り(&T)"), &TMainForm::CutMenuClick);
    CutMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    CopyMenu = item(EditMenu, "CopyMenu", QStringLiteral("コピー(&C)"), &TMainForm::CopyMenuClick);
    CopyMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    PasteMenu = item(EditMenu, "PasteMenu", QStringLiteral("貼り付け(&P)"), &TMainForm::PasteMenuClick);
    PasteMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    separator(EditMenu, "N5");
    AllMenu = item(EditMenu, "AllMenu", QStringLiteral("全て選択(&A)"), &TMainForm::AllMenuClick);
    AllMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));

    NSet = bar->addMenu(QStringLiteral("設定(&S)"));
    NSet->setObjectName(QStringLiteral("NSet"));
    SettingMenu = item(NSet, "SettingMenu", QStringLiteral("計画書保存フォルダー(&F)"), &TMainForm::SettingMenuClick);

    NInfo = bar->addMenu(QStringLiteral("情報(&I)"));
    NInfo->setObjectName(QStringLiteral("NInfo"));
    NInfoMenu = item(NInfo, "NInfoMenu", QStringLiteral("製品情報(&A)"), &TMainForm::NInfoMenuClick);

    N2 = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    N2->setObjectName(QStringLiteral("N2"));
    HelpMenu = item(N2, "HelpMenu", QStringLiteral("トピックス(&H)"), &TMainForm::HelpMenuClick);
    HelpMenu->setShortcut(QKeySequence(Qt::Key_F1));
}

void TMainForm::FormCreate()
{
    Registory = std::make_unique<TRegistory>(m_settingsFile);
    Registory->LoadFolders();
    Registory->LoadReview();
    Modified = false;
    ListDir = chooseListDir();
    StuffPath = ListDir + QStringLiteral("/Stuff.txt");
    readStuff();
    GoodsPath = ListDir + QStringLiteral("/Goods.txt");
    KaigoPath = ListDir + QStringLiteral("/Kaigo.txt");
    TeikeibunPath = ListDir + QStringLiteral("/Teikeibun.txt");
}

// Stuff.txt holds one team member per line in code page 932; the same list
// goes into all thirteen team boxes.
void TMainForm::readStuff()
{
    const listfile::Read list = listfile::read(StuffPath);
    if (list.failed) {
        prompter().error(this, listfile::readErrorText(StuffPath));
        return;
    }
    m_stuff = list.entries;
    if (m_planForm != nullptr) {
        m_planForm->setTeamChoices(m_stuff);
    }
}

void TMainForm::FormShow()
{
    // There is no way back from editing to the locked state: a plan started
    // or opened before the window was first shown stays editable.
    if (m_editing) {
        return;
    }
    OldSaveMenu->setEnabled(false);
    NewSaveMenu->setEnabled(false);
    PreviewMenu->setEnabled(false);
    setEditMenuEnabled(false);
    KeyPreview = true;
}

// The menu and its entry in the menu bar are switched together, so that
// neither the bar nor anything asking the menu itself sees it enabled.
void TMainForm::setEditMenuEnabled(bool enabled)
{
    EditMenu->setEnabled(enabled);
    EditMenu->menuAction()->setEnabled(enabled);
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMainForm::FormDestroy()
{
    // Ended without a close (a signal, the end of the session): the copy of
    // unsaved changes stays for the next start, with the last edits in it.
    flushRecovery();
    rememberWindow();
    if (Registory) {
        Registory->StoreFolders();
        Registory.reset();
    }
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // Enter saves: the default button keeps the work.
    if (Modified) {
        const Prompter::Button answer = prompter().ask(
            this, Prompter::Kind::Confirmation, QStringLiteral("保存されていません。\n保存して終了しますか?"),
            {Prompter::Button::SaveAndQuit, Prompter::Button::QuitWithoutSaving, Prompter::Button::Cancel});
        if (answer == Prompter::Button::SaveAndQuit) {
            OldSaveMenuClick(); // the save of Ctrl+S
        }
        if (answer == Prompter::Button::Cancel || (answer == Prompter::Button::SaveAndQuit && Modified)) {
            event->ignore();
            return;
        }
    }
    event->accept();
    // The user has let the changes go (or there were none).
    removeRecovery();
    releasePlanFile();
    // Closing the main window ends the program: the folders are stored now,
    // and once more when the window is destroyed.
    rememberWindow();
    if (Registory) {
        Registory->StoreFolders();
    }
}

void TMainForm::CloseMenuClick()
{
    close();
}

void TMainForm::unlockEditor()
{
    m_editing = true;
    planView().show();
    OldSaveMenu->setEnabled(true);
    NewSaveMenu->setEnabled(true);
    PreviewMenu->setEnabled(true);
    setEditMenuEnabled(true);
    KeyPreview = false;
}

bool TMainForm::confirmDiscard()
{
    return !Modified || prompter().confirmKeeping(this, QStringLiteral("保存されていません。\n編集中の内容を破棄しますか?"));
}

void TMainForm::NewMenuClick()
{
    if (!confirmDiscard()) {
        return;
    }
    const ProgramFill fill(*this);
    releasePlanFile();
    ClearForm();
    unlockEditor();
    planView().startDates(clock().now());

    Modified = false;
    planView().startHistory();
    planView().setCurrentWidget(planView().page(1));
    planView().control(*planfile::fieldByKey("Name"))->setFocus();
}

void TMainForm::ClearForm()
{
    const ProgramFill fill(*this);
    planView().clear();
}

void TMainForm::setPlanFile(const QString &path)
{
    PlanFile = path.isEmpty() ? PlanFileStamp{} : planFileStamp(path);
    // "[*]" is where Qt shows the modified mark.
    QString title = QStringLiteral("リハビリ実施計画書");
    if (!path.isEmpty()) {
        title += QStringLiteral(" - ") + QFileInfo(path).fileName();
    }
    setWindowTitle(title + QStringLiteral("[*]"));
}

void TMainForm::showStatus(const QString &text)
{
    constexpr int kShownMs = 8000;
    statusBar()->showMessage(text, kShownMs);
}

void TMainForm::userEdited()
{
    if (m_programFill == 0) {
        Modified = true;
    }
}

TPlanForm &TMainForm::planView()
{
    if (m_planForm != nullptr) {
        return *m_planForm;
    }
    m_planForm = new TPlanForm(this);
    m_planForm->setServices(m_prompter, m_clock);
    m_planForm->setTeamChoices(m_stuff);
    for (int page = 1; page <= 2; ++page) {
        m_planForm->panel(page)->setZoom(m_zoomPercent / 100.0);
    }
    if (!m_editing) {
        m_planForm->hide();
    }
    setCentralWidget(m_planForm);
    // The user's edits in the plan view set `Modified`.
    connect(m_planForm, &TPlanForm::edited, this, &TMainForm::userEdited);
    connectPickLists(*m_planForm);
    return *m_planForm;
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Wheel && !KeyPreview && (watched == this || isAncestorOf(qobject_cast<QWidget *>(watched))) &&
        handleZoomWheel(event)) {
        return true;
    }
    const bool keyEvent = type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride ||
                          type == QEvent::InputMethod;
    if (!keyEvent) {
        return QMainWindow::eventFilter(watched, event);
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    if (widget == nullptr || (widget != this && !isAncestorOf(widget))) {
        return QMainWindow::eventFilter(watched, event);
    }
    // Locked: every keystroke for this window is dropped before any control
    // sees it.
    if (KeyPreview) {
        return true;
    }
    if (type != QEvent::InputMethod && (handleZoomKey(event) || handleEditShortcut(event))) {
        return true;
    }
    // The date fields' keys are the plan view's own.
    return QMainWindow::eventFilter(watched, event);
}
