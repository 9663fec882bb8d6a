#pragma once

// The plan as the user edits it: both pages of the form in one tab widget.
// Each page is a white panel that draws the ruled frames and fixed texts of
// the printed page and holds one control per field of the field table, in
// the box where the printed page shows that field; nothing on a page is
// placed by hand.
//
// The view shows a plan (show) and hands one back (read); it does not
// decide anything about it. read() changes nothing: it gives the plan the
// controls hold, checked as a save checks it, or the first check that
// failed. Commands take that plan and decide what to do with it.
//
// Every field behaves on its own here: the era-date keys and the age that
// follows both dates, the mark cells with their A/B/C dialog, the priority
// marks, the red frame of a text that will not print whole, and each memo
// and edit showing its text as its printed box does.

#include "app/FormControls.h"
// moc cannot parse the concepts in the record's header, and needs nothing from it.
#ifndef Q_MOC_RUN
#include "plan/PracticePlanType.h"
#include "planfile/PlanCheck.h"
#include "planfile/PlanDecode.h"
#include "planfile/PlanFieldTable.h"
#endif

#include <QCheckBox>
#include <QComboBox>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QTabWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class Clock;
class Prompter;
class QScrollArea;
class TABCForm;

class TPlanForm : public QTabWidget {
    Q_OBJECT
public:
    explicit TPlanForm(QWidget *parent = nullptr);

    // What the view asks the user through (the date error, the warnings
    // before a save) and the clock the era-date keys and New read. Unset:
    // message boxes and the system clock.
    void setServices(std::shared_ptr<Prompter> prompter, std::shared_ptr<Clock> clock);

    // The control of one field, by its kind: a date, the HDS-R score, a
    // line of text or a target period in an edit; a memo; a fixed list or a
    // care team box in a combo box; a tick in a check box; a level mark, a
    // priority mark or the age in a label.
    using FieldControl = std::variant<TEdit *, TMemo *, TChoiceBox *, QCheckBox *, TMarkCell *, TClickLabel *>;

    // What read() found: the plan, or the first check it failed (`plan`
    // then empty) and every check that failed, in check order, each field
    // once (`faults`).
    struct Reading {
        std::optional<TPRACTDATA> plan;
        planfile::PlanFault fault;
        std::vector<planfile::PlanFault> faults;
    };
    // The plan the controls hold, dated as the plan-date field shows (a
    // date error on that field when it does not read as a date), or dated
    // `planDate`. The checks run in their order and the first fault is
    // returned; otherwise the plan holds every field, the birth date and
    // the age read from the birth-date field, the HDS-R score as a number.
    Reading read() const;
    Reading read(TDateTime planDate) const;

    // Fills every control from `plan`: dates as era date texts, numbers in
    // decimal, marks in full-width letters. The page-2 header repeats the
    // name and the plan date. The plan's dates and age become the ones the
    // view holds.
    void show(const TPRACTDATA &plan);
    // The same for a plan read back from its file, whose dates, age, HDS-R
    // score and priority marks are shown as printed, readable or not; the
    // dates that read as dates are held and the age follows them.
    void show(const planfile::PrintedPlan &printed);
    using QTabWidget::show;
    // Empties every control: the plan-date field shows "平成   年  月  日",
    // target periods, level marks and priority marks a full-width space.
    // The selection colour of the mark cells stays.
    void clear();

    const FieldControl &fieldControl(const planfile::PlanField &field) const;
    QWidget *control(const planfile::PlanField &field) const;
    template <typename T> T *control(const planfile::PlanField &field) const
    {
        return qobject_cast<T *>(control(field));
    }
    // By control name ("NameEdit", "Goods3", ...) through the field table,
    // or one of the labels that are no field: "UserLabel" and "DateLabel"
    // (the page-2 header) and "Label12" (the "歳" beside the age).
    // nullptr for any other name.
    QWidget *control(std::string_view name) const;
    template <typename T = QWidget> T *control(const char *name) const
    {
        return qobject_cast<T *>(control(std::string_view(name)));
    }
    template <typename T = QWidget> T *control(const QString &name) const
    {
        return qobject_cast<T *>(control(std::string_view(name.toStdString())));
    }
    // The field a control edits; nullptr for any other widget.
    const planfile::PlanField *fieldOf(const QObject *widget) const;

    // Page 1 or 2: its tab, the scroll box filling it and the page panel.
    QWidget *page(int number) const;
    QScrollArea *scrollBox(int number) const;
    TFormPanel *panel(int number) const;

    // The page-2 header: the patient's name and the plan date, repeated.
    void showHeader();

    // The text of a field's control as CP932, memo lines joined by CR LF.
    std::string controlText(const planfile::PlanField &field) const;
    // The same as the control shows it, before any conversion.
    QString controlShownText(const planfile::PlanField &field) const;
    // Brings the field's page to the front, scrolls the control into view
    // and gives it the focus. A text holding a character code page 932
    // cannot hold gets that character selected.
    void focusField(const planfile::PlanField &field);

    // Every field's value as its control shows it, by field key: texts as
    // typed (memo lines joined by LF, characters code page 932 cannot hold
    // kept), a fixed list's choice as its index, a tick as "1" or "0".
    // showTexts() puts such values back as the program's own fill; keys it
    // does not know are passed over. (PlanFormTexts.cpp)
    QList<QPair<QString, QString>> texts() const;
    void showTexts(const QList<QPair<QString, QString>> &texts);

    // The names every care team box offers.
    void setTeamChoices(const QStringList &names);

    // A member of a table row (its level marks, goods, care, target period
    // and priority mark) rather than a field of its own.
    static bool inTableRow(const planfile::PlanField &field);

    // --- The plan's undo history -------------------------------------------
    // Every change the user makes is one step: a typed run in one field, a
    // pick, a mark, a whole-grid command. Steps are what the controls hold
    // after each change; undo and redo put the controls back to one of them
    // (the mark cells' selection is not part of a step and goes white).
    // The history starts afresh with what the controls hold now (New, Open).
    void startHistory();
    // A change made by a command rather than through a control's own signal
    // (a pick, a mark, a date key): a step of its own, or, with `typedIn`,
    // part of the typed run in that field. Emits edited().
    void recordEdit(const QObject *typedIn = nullptr);
    // The next change starts a step of its own even in the same field.
    void breakTypedRun();
    bool canUndo() const;
    bool canRedo() const;
    // Put the controls back one step (forward again); false when there is
    // none. The field the step changed gets the focus.
    bool undo();
    bool redo();

    // --- The two dates and the age (PlanFormDates.cpp) ----------------------
    // The view holds the plan date and the birth date the fields last
    // committed (Enter, leaving the field, or a key that made a whole date)
    // and the age between them, which the age label shows.
    //
    // The plan date held: the date "開いた時の日付で保存" keeps, the one the
    // age is counted to.
    TDateTime planDate() const { return m_planDate; }
    // The birth date held, and the age between the two (shown unless the
    // birth date lies after the plan date).
    TDateTime birthDate() const { return m_birthDate; }
    std::int32_t age() const { return m_age; }
    // New: the birth-date field blank, the plan-date field today; both dates
    // held are `now`, the age 0.
    void startDates(TDateTime now);
    // The dates and age of `plan` (a plan just saved) become the ones held;
    // the plan date is shown in its field and the page-2 header, and the
    // age in its label (the program's own fill, no edit).
    void showPlanDate(const TPRACTDATA &plan);
    // The next plan from this one: the plan date today (`now` held), the age
    // counted to it from the birth date shown.
    void restartPlanDate(TDateTime now);
    // Starts the recovered plan's dates: `planDate` held as it was, the birth
    // date and the age from the fields.
    void holdPlanDate(TDateTime planDate);
    // The date error: "日付エラーです。", page 1 to the front, the focus on
    // the date field.
    void showDateError(const planfile::PlanField &field);

    // --- Mark cells and priority marks (PlanFormMarks.cpp) -----------------
    // Left button on a mark cell toggles its selection (white / aqua); the
    // right button (or Shift+F10 / the menu key) opens the A/B/C dialog,
    // whose answer applies to the whole grid.
    void ABCMouseUp(Qt::MouseButton button);
    // Cycles the priority mark of the clicked row "　" -> "○" -> "◎".
    void SpecialClick();

    // --- Texts that will not print whole (PlanFormFit.cpp) -----------------
    // Before a save: when texts of `plan` will not print whole (the plan
    // file keeps only what prints), one warning lists every such field in
    // the order of the checks, with its caption and the start of what will
    // be lost, and offers "保存", "キャンセル" and, when breaking the
    // too-wide lines of a memo saves it whole, "改行を入れる". True to save;
    // false to write nothing, the first such field shown with the focus in
    // it. "改行を入れる" breaks the lines of every memo it saves, in the
    // controls and in `plan`, and asks again only when something still does
    // not fit.
    bool ConfirmPrintedFit(TPRACTDATA &plan);
    // Asks whether to save when a text holds characters code page 932
    // keeps only as look-alikes (〜 as ～, ¥ as \), listing them per field.
    bool ConfirmLookAlikes();

signals:
    // The user changed a control: typed, pasted, ticked or chose. Controls
    // that show() and clear() fill do not count.
    void edited();

private:
    void buildPage(int number);
    void placeField(const planfile::PlanField &field, TFormPanel *panel);
    void showAsPrinted(const planfile::PlanField &field, const FieldControl &control, TFormPanel *panel);
    void setTabOrder();
    void watchForEdits();
    void userEdited();
    void moveInGrid(int dx, int dy);
    using Snapshot = std::vector<QString>; // per field, in field order
    Snapshot snapshot() const;
    void restore(const Snapshot &values);
    void record(const QObject *source);
    // Shows the value `text` (CP932) of a field that holds a text, and the
    // number, tick or choice of the others from `plan`.
    void fill(const TPRACTDATA &plan, const planfile::PlanField &field, const std::string &text);
    Reading read(std::optional<TDateTime> planDate) const;
    Prompter &prompter() const;

    // Date fields (PlanFormDates.cpp).
    void watchDates();
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool handleDateKey(QLineEdit *field, QEvent *event);
    // Backspace and Delete on a date field move the caret left instead.
    void DateItemKeyDown(QLineEdit *field, int &key);
    // Applies one typed character to a date field through the era editor.
    void DateItemKeyPress(QLineEdit *field, char key);
    void PlanDateEditKeyUp();
    void BirthEditKeyUp();
    void OldLabelClick();
    void ShowDateError(QLineEdit *field);
    // A date field losing the focus takes its date when the text is one;
    // otherwise nothing happens.
    void commitDateQuietly(QLineEdit *field);
    // The plan date and the birth date as their fields show them, where they
    // read as dates, and the age between them.
    void followDates();
    // Shows the age in its label, nothing while the birth date lies after
    // the plan date.
    void showAge();
    // The date a date field shows, or the date error on it and none.
    std::optional<TDateTime> dateOf(QLineEdit *field);
    // The birth date, and the age against the plan date shown.
    void takeBirthDate(TDateTime birth);
    // Marks every text control whose text will not print whole with a red
    // frame and a tooltip, following each change of its text.
    void watchPrintedFit();
    void watchMarks();

    std::vector<FieldControl> m_controls;
    std::array<QWidget *, 2> m_pages{};
    std::array<QScrollArea *, 2> m_scrolls{};
    std::array<TFormPanel *, 2> m_panels{};
    TClickLabel *m_nameHeader = nullptr;
    TClickLabel *m_dateHeader = nullptr;
    TClickLabel *m_ageUnit = nullptr;
    TEdit *m_planDateEdit = nullptr;
    TEdit *m_birthEdit = nullptr;
    TClickLabel *m_ageLabel = nullptr;
    // The date field in which Enter went down; its key-up commits only there.
    QLineEdit *m_enterDownIn = nullptr;
    TDateTime m_planDate = 0;
    TDateTime m_birthDate = 0;
    std::int32_t m_age = 0;
    std::shared_ptr<Prompter> m_prompter;
    std::shared_ptr<Clock> m_clock;
    TABCForm *m_abcForm = nullptr; // made when first shown, then reused
    int m_filling = 0; // show() and clear() at work
    std::vector<Snapshot> m_history;
    std::size_t m_at = 0;               // the step the controls show
    const QObject *m_typedIn = nullptr; // the field of the typed run going on
};
