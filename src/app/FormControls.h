#pragma once

// The kinds of control the two pages are built from: borderless edits and
// memos on the info-background colour, clickable labels for the age and the
// mark cells, and the white page panel that draws the ruled form behind
// them.

#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRectF>
#include <QVariant>
#include <QWidget>

class QInputMethodEvent;

// The blank of an untouched cell (marks, priorities, target periods): one
// full-width space.
inline const QString kBlank = QStringLiteral("\u3000");

// Background of every input control.
QColor infoBackground();

// No field of the form holds a tab: a tab pasted into `edit` becomes a space.
void keepTabsOut(QLineEdit *edit);

// Input method of the text controls. Fields that take digits and era keys
// (the dates, the HDS-R score, the two choice lists) switch it off: they
// answer the input method's Qt::ImEnabled query with false, whatever state
// the input method is in, so that keys reach them as plain keys, and they
// drop any composed text that arrives anyway. Every other text control
// keeps it on and opens it in hiragana mode where the platform lets the
// program choose the mode (Windows).
//
// A composition still open when the focus leaves its field is committed in
// that field, once, before the focus moves; a repeat of it that the input
// method sends to the next field is dropped there.
class InputMethodState {
public:
    bool off() const { return m_off; }
    // Sets the flag and the hints: Latin digits for fields without it, none
    // for the others.
    void setOff(QWidget *widget, bool off);
    // Qt::ImEnabled answered false while off; other queries unchanged.
    QVariant answer(Qt::InputMethodQuery query, const QVariant &answer) const;
    // Remembers the open composition of `widget`; returns false when the
    // event must be dropped: any composed text in a field without input
    // method, or the repeat of a composition committed in the field it was
    // typed in when the focus left it.
    bool accept(QWidget *widget, const QInputMethodEvent *event);
    // On focus about to change: commits an open composition where it was
    // typed. On focus in: no composition is open yet.
    void beforeFocusChange(const QEvent *event);
    // On focus in: the platform's input mode for the field (open in hiragana,
    // or closed).
    void focusIn(QWidget *widget) const;

private:
    bool m_off = false;
    QString m_preedit;
};

// Single-line edit that also reports double clicks. It keeps its selection
// while the menu bar has the keyboard, so that the Edit menu opened with the
// keyboard still finds it.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget *parent = nullptr);

    // Switches the input method off for this field (see InputMethodState).
    void setInputMethodOff(bool off) { m_inputMethod.setOff(this, off); }
    // Reached by Tab, the field puts its caret at the end (at the start when
    // set: the date fields, whose era editor types over from the left)
    // instead of selecting its whole text.
    void setTabCaretAtStart(bool start) { m_tabCaretAtStart = start; }
    bool inputMethodOff() const { return m_inputMethod.off(); }
    using QLineEdit::inputMethodQuery;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void doubleClicked();

protected:
    bool event(QEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    InputMethodState m_inputMethod;
    bool m_tabCaretAtStart = false;
};

// Combo box on the info-background colour; a drop-down list without free
// text, or with it (the care team). A list without free text takes no
// input method (see InputMethodState).
class TChoiceBox : public QComboBox {
    Q_OBJECT
public:
    explicit TChoiceBox(bool editable, QWidget *parent = nullptr);

    bool inputMethodOff() const { return m_inputMethod.off(); }
    using QComboBox::inputMethodQuery;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    InputMethodState m_inputMethod;
};

// Multi-line text whose value is its lines joined by CR LF. Every line
// break is a real one: Shift+Enter starts a new line like Enter, and a line
// separator character that arrives by pasting counts as a line break.
class TMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TMemo(QWidget *parent = nullptr);

    // The lines joined by "\r\n".
    QString Text() const;
    // The lines joined by "\n", one character per line break, so that an
    // index into it is a cursor position of the memo. Unlike toPlainText()
    // it keeps every character as typed (a no-break space stays one).
    QString lineText() const;
    // Replaces the whole text; CR LF, CR and LF all break lines.
    void setText(const QString &text);
    // Shows text only in the first `pixels` of the width, the document
    // margins included; the rest of the box stays empty. Any larger width:
    // all of it.
    void setTextWidth(int pixels);

signals:
    void doubleClicked();

protected:
    bool event(QEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Pasted text, its tabs made spaces.
    void insertFromMimeData(const QMimeData *source) override;

private:
    InputMethodState m_inputMethod;
};

// Label that reports clicks (left button released over it) and every
// mouse-button release. A label that takes the focus (the mark and priority
// cells) shows a focus frame, and Space counts as a left click on it.
class TClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit TClickLabel(QWidget *parent = nullptr);

    // Shows the text as plain text, only as many whole characters as fit
    // in the label's width, as the printout does with a text too long for
    // its box. The label's text itself stays whole.
    void setCutAtBox(bool cut);

signals:
    void clicked();
    void mouseUp(Qt::MouseButton button);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // The focus frame, drawn over the cell while it has the focus.
    void paintFocusFrame(QPainter &painter) const;

private:
    bool m_cutAtBox = false;
};

// A level-column mark cell: its caption is the mark ("Ａ", "ＡＣ", "　", ...),
// its background colour the selection (white or aqua). Up to two letters
// are drawn on the first line and the rest below, squeezed to the cell.
class TMarkCell : public TClickLabel {
    Q_OBJECT
    // The selection colour, also kept as the background (Window) colour of
    // the cell's palette, so that it can be read like any widget's colour.
    Q_PROPERTY(QColor color READ color WRITE setColor)
public:
    explicit TMarkCell(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    // The mark with `letter` ('A', 'B' or 'C') added or taken away; the
    // letters stay in A, B, C order, none is "　".
    static QString toggledLetter(const QString &mark, char letter);

signals:
    // The keyboard changed the mark (A, B, C, Delete, Backspace).
    void markTyped();
    // An arrow key: the neighbour in the grid `dx` columns and `dy` rows away.
    void moveRequested(int dx, int dy);

protected:
    void paintEvent(QPaintEvent *event) override;
    // A, B and C toggle their letter, Delete and Backspace empty the cell,
    // the arrows move in the grid, the context-menu key and Shift+F10 open
    // the A/B/C dialog (a right button release); Space as on any cell.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QColor m_color;
};

// The white page panel. Positions are given in the points of the printed
// A4 page and scaled to pixels by the panel's factors times its zoom. The
// panel keeps every frame, caption and placed control in points, so that a
// new zoom lays the whole page out again: geometry and text sizes scale,
// and the text is drawn afresh at its new size.
class TFormPanel : public QWidget {
    Q_OBJECT
public:
    TFormPanel(QSize size, double scaleX, double scaleY, QWidget *parent = nullptr);

    // A box in points as pixels at the current zoom.
    QRect toPixels(double left, double top, double width, double height) const;
    // A ruled frame. As on the printed form, its lines lie on its left and
    // top edges and one point inside its right and bottom edges, so that
    // frames laid out 1 point apart share one line.
    void addFrame(double left, double top, double width, double height);
    // A fixed caption; "\n" breaks lines. `flags` are Qt alignment and
    // wrapping flags within the given box. `pixelSize` is the text size at
    // 100 %.
    void addCaption(double left, double top, double width, double height, const QString &text, int pixelSize,
                    int flags = Qt::AlignLeft | Qt::AlignTop, bool bold = false);
    // Fixed lines of text, `leading` points apart, from the top of the box.
    void addTextBlock(double left, double top, double width, double height, const QStringList &lines, int pixelSize,
                      double leading);
    // Puts the child `widget` in the box (points) with its text `pixelSize`
    // pixels high at 100 % and at least `minHeight` pixels high at 100 %,
    // and keeps it there at every zoom. The widget keeps its font family.
    void placeControl(QWidget *widget, double left, double top, double width, double height, int pixelSize,
                      int minHeight = 0);
    // Puts the child `widget` between the ruled lines at `left`, `top`,
    // `right` and `bottom` (points), one pixel clear of each line at every
    // zoom, so that the control never covers the rules around it.
    void placeInCell(QWidget *widget, double left, double top, double right, double bottom, int pixelSize);
    // The text of a placed edit or memo is made small enough, at every zoom,
    // that `lines` lines of it show at once, each holding any of
    // `fullLines` whole: what its printed box shows is all in view. Its text
    // shows no wider than the widest of them, so that a line is cut where
    // the printout cuts it.
    void keepTextVisible(QWidget *widget, int lines, const QStringList &fullLines);

    // 1.0 is 100 %.
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);

    int frameCount() const { return static_cast<int>(m_frames.size()); }
    QStringList captions() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Caption {
        QRectF box;
        QString text;
        int pixelSize;
        int flags;
        bool bold;
        double leading; // a text block's line distance (points); 0 for a caption
    };
    struct Placed {
        QPointer<QWidget> widget;
        QRectF box; // for a control in a cell: its ruled lines
        int pixelSize;
        int minHeight;
        bool inCell;
        int lines = 0;          // the lines that must show at once (keepTextVisible)
        QStringList fullLines;  // and the longest lines each must show
    };
    QRect toPixels(const QRectF &box) const { return toPixels(box.x(), box.y(), box.width(), box.height()); }
    QPoint pointToPixels(double x, double y) const;
    int scaledPixels(int pixels) const;
    void layOut(const Placed &placed) const;
    void fitText(const Placed &placed) const;

    QSize m_baseSize;
    double m_scaleX;
    double m_scaleY;
    double m_zoom = 1.0;
    QList<QRectF> m_frames;
    QList<Caption> m_captions;
    QList<Placed> m_placed;
};
