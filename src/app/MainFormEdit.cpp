// The Edit menu: cut, copy, paste and select-all for the field the user is
// working in. The target is chosen once, when the menu opens or one of its
// shortcuts is pressed (`EditMenuClick`), among the controls placed directly
// on the two page panels; the four commands then act on that target when it
// is a single-line edit or a memo, and do nothing on anything else.

#include "app/MainForm.h"

#include "app/FormControls.h"
#include "app/PlanForm.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>

namespace {

bool isTextField(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) != nullptr || qobject_cast<const TMemo *>(widget) != nullptr;
}

// Read-only fields give nothing away and take nothing in: cut and paste
// leave them as they are (copy still works).
bool isReadOnly(const QWidget *widget)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget)) {
        return edit->isReadOnly();
    }
    if (const auto *memo = qobject_cast<const TMemo *>(widget)) {
        return memo->isReadOnly();
    }
    return true;
}

} // namespace

// Opening the menu bar with the keyboard moves the focus to the bar; the
// field that had it is still the one the user is working in.
void TMainForm::watchFocusForEditMenu()
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
        if (now != nullptr && now == menuBar() && old != menuBar()) {
            m_focusBeforeMenuBar = old;
        }
    });
}

void TMainForm::EditMenuClick()
{
    UndoMenu->setEnabled(planView().canUndo() || Modified);
    RedoMenu->setEnabled(planView().canRedo());
    const QMimeData *clipboard = QApplication::clipboard()->mimeData();
    PasteMenu->setEnabled(clipboard != nullptr && clipboard->hasText());

    QWidget *focus = QApplication::focusWidget();
    if (focus != nullptr && focus == menuBar()) {
        focus = m_focusBeforeMenuBar;
    }
    // No label or frame of the page can be a target, so the search starts
    // with none and only a focused control found below is taken.
    m_editTarget = nullptr;
    bool found = false;
    if (focus != nullptr) {
        for (const QWidget *panel : {planView().panel(1), planView().panel(2)}) {
            for (QObject *object : panel->children()) {
                auto *child = qobject_cast<QWidget *>(object);
                if (child == nullptr || child->focusPolicy() == Qt::NoFocus) {
                    continue;
                }
                // A combo box counts as focused while its own edit has the focus.
                if (child == focus || child->isAncestorOf(focus)) {
                    m_editTarget = child;
                    found = true;
                    break;
                }
            }
            if (found) {
                break;
            }
        }
    }
    AllMenu->setEnabled(found);

    bool selection = false;
    if (const auto *edit = qobject_cast<const QLineEdit *>(m_editTarget.data())) {
        selection = edit->hasSelectedText();
    } else if (const auto *memo = qobject_cast<const TMemo *>(m_editTarget.data())) {
        selection = memo->textCursor().hasSelection();
    }
    CutMenu->setEnabled(selection);
    CopyMenu->setEnabled(selection);
}

void TMainForm::UndoMenuClick()
{
    if (planView().undo()) {
        userEdited();
    }
}

void TMainForm::RedoMenuClick()
{
    if (planView().redo()) {
        userEdited();
    }
}

void TMainForm::CutMenuClick()
{
    if (!isTextField(m_editTarget) || isReadOnly(m_editTarget)) {
        return;
    }
    if (auto *edit = qobject_cast<QLineEdit *>(m_editTarget.data())) {
        edit->cut();
    } else if (auto *memo = qobject_cast<TMemo *>(m_editTarget.data())) {
        memo->cut();
    }
}

void TMainForm::CopyMenuClick()
{
    if (auto *edit = qobject_cast<QLineEdit *>(m_editTarget.data())) {
        edit->copy();
    } else if (auto *memo = qobject_cast<TMemo *>(m_editTarget.data())) {
        memo->copy();
    }
}

void TMainForm::PasteMenuClick()
{
    if (!isTextField(m_editTarget) || isReadOnly(m_editTarget)) {
        return;
    }
    if (auto *edit = qobject_cast<QLineEdit *>(m_editTarget.data())) {
        edit->paste();
    } else if (auto *memo = qobject_cast<TMemo *>(m_editTarget.data())) {
        memo->paste();
    }
}

void TMainForm::AllMenuClick()
{
    if (auto *edit = qobject_cast<QLineEdit *>(m_editTarget.data())) {
        edit->selectAll();
    } else if (auto *memo = qobject_cast<TMemo *>(m_editTarget.data())) {
        memo->selectAll();
    }
}

// Ctrl+X, C, V and A pressed anywhere in the window belong to the Edit
// menu: the menu's own click runs first, then the item if it is enabled.
// The key is consumed either way, so no field handles these combinations
// itself (a date field would otherwise type their control characters).
bool TMainForm::handleEditShortcut(QEvent *event)
{
    const auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence pressed(key->keyCombination());
    QAction *item = nullptr;
    for (QAction *action : {UndoMenu, RedoMenu, CutMenu, CopyMenu, PasteMenu, AllMenu}) {
        if (action->shortcut() == pressed) {
            item = action;
            break;
        }
    }
    if (item == nullptr) {
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed here, so that the key press comes to this filter instead of
        // triggering the item without the menu's click.
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress && EditMenu->isEnabled()) {
        EditMenuClick();
        if (item->isEnabled()) {
            item->trigger();
        }
    }
    return true;
}
