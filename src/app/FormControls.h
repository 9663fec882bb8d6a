#pragma once

// The kinds of control the two pages are built from: borderless edits and
// memos on the info-background colour, clickable labels for the age and the
// mark cells, and the white page panel that draws the ruled form behind
// them.

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPlainTextEdit>
#include <QRectF>
#include <QWidget>

// Background of every input control.
QColor infoBackground();

// Single-line edit that also reports double clicks. It keeps its selection
// while the menu bar has the keyboard, so that the Edit menu opened with the
// keyboard still finds it.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget *parent = nullptr);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
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

signals:
    void doubleClicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// Label that reports clicks (left button released over it) and every
// mouse-button release.
class TClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit TClickLabel(QWidget *parent = nullptr);

signals:
    void clicked();
    void mouseUp(Qt::MouseButton button);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};

// The white page panel. Positions are given in the points of the printed
// A4 page and scaled to pixels by the panel's factors.
class TFormPanel : public QWidget {
    Q_OBJECT
public:
    TFormPanel(QSize size, double scaleX, double scaleY, QWidget *parent = nullptr);

    QRect toPixels(double left, double top, double width, double height) const;
    // A ruled frame.
    void addFrame(double left, double top, double width, double height);
    // A fixed caption; "\n" breaks lines. `flags` are Qt alignment and
    // wrapping flags within the given box.
    void addCaption(double left, double top, double width, double height, const QString &text, int pixelSize,
                    int flags = Qt::AlignLeft | Qt::AlignTop, bool bold = false);
    // A caption written downwards, one character per line, centred in the box.
    void addVerticalCaption(double left, double top, double width, double height, const QString &text, int pixelSize);

    int frameCount() const { return static_cast<int>(m_frames.size()); }
    QStringList captions() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Caption {
        QRect box;
        QString text;
        int pixelSize;
        int flags;
        bool bold;
    };
    double m_scaleX;
    double m_scaleY;
    QList<QRect> m_frames;
    QList<Caption> m_captions;
};
