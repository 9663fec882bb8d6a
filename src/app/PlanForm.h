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
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class QScrollArea;

class TPlanForm : public QTabWidget {
    Q_OBJECT
public:
    explicit TPlanForm(QWidget *parent = nullptr);

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
    // name and the plan date.
    void show(const TPRACTDATA &plan);
    // The same for a plan read back from its file, whose dates, age, HDS-R
    // score and priority marks are shown as printed, readable or not.
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

signals:
    // The user changed a control: typed, pasted, ticked or chose. Controls
    // that show() and clear() fill do not count.
    void edited();

private:
    void buildPage(int number);
    void placeField(const planfile::PlanField &field, TFormPanel *panel);
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

    std::vector<FieldControl> m_controls;
    std::array<QWidget *, 2> m_pages{};
    std::array<QScrollArea *, 2> m_scrolls{};
    std::array<TFormPanel *, 2> m_panels{};
    TClickLabel *m_nameHeader = nullptr;
    TClickLabel *m_dateHeader = nullptr;
    TClickLabel *m_ageUnit = nullptr;
    int m_filling = 0; // show() and clear() at work
    std::vector<Snapshot> m_history;
    std::size_t m_at = 0;               // the step the controls show
    const QObject *m_typedIn = nullptr; // the field of the typed run going on
};
