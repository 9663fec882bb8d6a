#include "app/FormControls.h"

#include "desktop/Desktop.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>

#include <cmath>


namespace {
// Side of a check box's tick box at 100 %.
constexpr int kTickBoxPixels = 13;
} // namespace

void keepTabsOut(QLineEdit *edit)
{
    // Tabs reach a line only by pasting (the Tab key moves the focus); each
    // becomes a space, the caret staying where it was.
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
        if (!text.contains(QLatin1Char('\t'))) {
            return;
        }
        const int caret = edit->cursorPosition();
        QString spaced = text;
        spaced.replace(QLatin1Char('\t'), QLatin1Char(' '));
        edit->setText(spaced);
        edit->setCursorPosition(caret);
    });
}

QColor infoBackground()
{
    return QColor(0xFF, 0xFF, 0xE1);
}

namespace {

void paintOnInfoBackground(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, infoBackground());
    palette.setColor(QPalette::Window, infoBackground());
    widget->setPalette(palette);
}


} // namespace

void InputMethodState::setOff(QWidget *widget, bool off)
{
    m_off = off;
    // The attribute stays on: the widget must be asked, so that it can
    // answer Qt::ImEnabled with false itself.
    widget->setAttribute(Qt::WA_InputMethodEnabled, true);
    widget->setInputMethodHints(off ? Qt::ImhLatinOnly | Qt::ImhPreferNumbers : Qt::ImhNone);
    if (widget->hasFocus()) {
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
    }
}

QVariant InputMethodState::answer(Qt::InputMethodQuery query, const QVariant &answer) const
{
    if (m_off && query == Qt::ImEnabled) {
        return false;
    }
    return answer;
}

namespace {

// The composition last committed, in the field it was typed in. When the
// focus leaves a field during a composition, the composition is committed
// there (by the toolkit on a mouse press elsewhere, by beforeFocusChange on
// Tab); some input methods (ibus in its commit-on-focus-out mode) then send
// the same text once more, a moment later, to whichever field has the focus
// by then. A field that has not started a composition of its own drops such
// a repeat.
struct CommittedComposition {
    QString text;
    QPointer<QWidget> field;
    QElapsedTimer since;
};

CommittedComposition &lastCommitted()
{
    static CommittedComposition last;
    return last;
}

// How long after its commit a composition may come back.
constexpr qint64 kRepeatWindowMs = 1000;

} // namespace

bool InputMethodState::accept(QWidget *widget, const QInputMethodEvent *event)
{
    if (m_off) {
        m_preedit.clear();
        return false;
    }
    CommittedComposition &last = lastCommitted();
    const QString commit = event->commitString();
    const bool ending = !m_preedit.isEmpty() && event->preeditString().isEmpty();
    if (!ending && !commit.isEmpty() && commit == last.text && last.field != widget &&
        last.since.elapsed() < kRepeatWindowMs) {
        last.text.clear();
        return false;
    }
    if (ending && !commit.isEmpty()) {
        last.text = commit;
        last.field = widget;
        last.since.start();
    } else if (!event->preeditString().isEmpty()) {
        last.text.clear(); // a new composition: nothing can come back any more
    }
    m_preedit = event->preeditString();
    return true;
}

void InputMethodState::beforeFocusChange(const QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        m_preedit.clear();
        return;
    }
    if (event->type() != QEvent::FocusAboutToChange || m_preedit.isEmpty()) {
        return;
    }
    // The input method sends the composition to the focus object, which is
    // still this field.
    QGuiApplication::inputMethod()->commit();
}

void InputMethodState::focusIn(QWidget *widget) const
{
    // Where the desktop keeps a mode per window (Windows), the field sets it
    // as it gets the focus: hiragana for text, closed for dates and numbers.
    if (desktop::setsInputModes()) {
        desktop::setJapaneseInput(static_cast<std::uintptr_t>(widget->window()->winId()), !m_off);
    }
}

TEdit::TEdit(QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    paintOnInfoBackground(this);
    m_inputMethod.setOff(this, false);
    keepTabsOut(this);
}

QVariant TEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    return m_inputMethod.answer(query, QLineEdit::inputMethodQuery(query));
}

bool TEdit::event(QEvent *event)
{
    m_inputMethod.beforeFocusChange(event);
    return QLineEdit::event(event);
}

void TEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (!m_inputMethod.accept(this, event)) {
        event->ignore();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void TEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if ((event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) &&
        text() != kBlank) {
        // The first key adds to the text instead of replacing it; only the
        // blank of an untouched cell stays selected, to give way to it.
        if (m_tabCaretAtStart) {
            home(false);
        } else {
            end(false);
        }
    }
    m_inputMethod.focusIn(this);
}

void TEdit::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() == Qt::MenuBarFocusReason) {
        // Treated like a popup taking the keyboard, which leaves the selection.
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QLineEdit::focusOutEvent(&popup);
        return;
    }
    QLineEdit::focusOutEvent(event);
}

void TEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

TChoiceBox::TChoiceBox(bool editable, QWidget *parent) : QComboBox(parent)
{
    setEditable(editable);
    setFrame(false);
    if (editable) {
        setInsertPolicy(QComboBox::NoInsert);
    }
    QPalette boxPalette = palette();
    boxPalette.setColor(QPalette::Base, infoBackground());
    boxPalette.setColor(QPalette::Button, infoBackground());
    setPalette(boxPalette);
    m_inputMethod.setOff(this, !editable);
    if (editable) {
        keepTabsOut(lineEdit());
    }
}

QVariant TChoiceBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    return m_inputMethod.answer(query, QComboBox::inputMethodQuery(query));
}

bool TChoiceBox::event(QEvent *event)
{
    m_inputMethod.beforeFocusChange(event);
    return QComboBox::event(event);
}

void TChoiceBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (!m_inputMethod.accept(this, event)) {
        event->ignore();
        return;
    }
    QComboBox::inputMethodEvent(event);
}

void TChoiceBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    if (lineEdit() != nullptr &&
        (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)) {
        lineEdit()->end(false);
    }
    m_inputMethod.focusIn(this);
}

TMemo::TMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    document()->setDocumentMargin(1);
    paintOnInfoBackground(this);
    // Beside a text narrower than the box (setTextWidth) too.
    setAutoFillBackground(true);
    viewport()->setAutoFillBackground(true);
    m_inputMethod.setOff(this, false);
}

void TMemo::setTextWidth(int pixels)
{
    setViewportMargins(0, 0, std::max(0, width() - 2 * frameWidth() - pixels), 0);
}

void TMemo::insertFromMimeData(const QMimeData *source)
{
    // A tab pasted into a memo becomes a space: no field of the form holds one.
    if (source->hasText() && source->text().contains(QLatin1Char('\t'))) {
        QString text = source->text();
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
        insertPlainText(text);
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

bool TMemo::event(QEvent *event)
{
    m_inputMethod.beforeFocusChange(event);
    return QPlainTextEdit::event(event);
}

void TMemo::inputMethodEvent(QInputMethodEvent *event)
{
    if (!m_inputMethod.accept(this, event)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void TMemo::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        moveCursor(QTextCursor::End); // the first key adds to the text
    }
    m_inputMethod.focusIn(this);
}

QString TMemo::Text() const
{
    QString text = lineText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

QString TMemo::lineText() const
{
    QStringList lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        // A line separator inside a block is a line break of its own.
        lines.append(block.text().replace(QChar::LineSeparator, QLatin1Char('\n')));
    }
    // An empty memo has one empty block but no lines.
    if (lines.size() == 1 && lines.first().isEmpty()) {
        return QString();
    }
    return lines.join(QLatin1Char('\n'));
}

void TMemo::keyPressEvent(QKeyEvent *event)
{
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (lineBreak && event->modifiers().testFlag(Qt::ShiftModifier)) {
        // Shift+Enter would insert a line separator inside the line; make it
        // the same new line as Enter.
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                        event->isAutoRepeat(), static_cast<ushort>(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TMemo::setText(const QString &text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString plain = text;
    plain.replace(lineBreak, QStringLiteral("\n"));
    setPlainText(plain);
}

void TMemo::mouseDoubleClickEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

TClickLabel::TClickLabel(QWidget *parent) : QLabel(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    emit mouseUp(button);
}

void TClickLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        emit clicked();
        emit mouseUp(Qt::LeftButton);
        return;
    }
    QLabel::keyPressEvent(event);
}

void TClickLabel::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
}

void TClickLabel::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
}

void TClickLabel::paintFocusFrame(QPainter &painter) const
{
    if (!hasFocus()) {
        return;
    }
    QPen pen(palette().color(QPalette::Highlight));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

void TClickLabel::setCutAtBox(bool cut)
{
    m_cutAtBox = cut;
    if (cut) {
        setTextFormat(Qt::PlainText);
    }
    update();
}

void TClickLabel::paintEvent(QPaintEvent *event)
{
    if (!m_cutAtBox) {
        QLabel::paintEvent(event);
        if (hasFocus()) {
            QPainter painter(this);
            paintFocusFrame(painter);
        }
        return;
    }
    const QRect box = contentsRect();
    const QFontMetrics metrics(font());
    QString shown = text();
    while (!shown.isEmpty() && metrics.horizontalAdvance(shown) > box.width()) {
        // Drop the last character whole, both halves of a surrogate pair.
        const bool pair = shown.size() >= 2 && shown.back().isLowSurrogate() && shown.at(shown.size() - 2).isHighSurrogate();
        shown.chop(pair ? 2 : 1);
    }
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.setFont(font());
    painter.drawText(box, static_cast<int>(alignment()), shown);
}

TMarkCell::TMarkCell(QWidget *parent) : TClickLabel(parent)
{
    setColor(Qt::white);
}

void TMarkCell::setColor(const QColor &color)
{
    m_color = color;
    QPalette cellPalette = palette();
    cellPalette.setColor(QPalette::Window, color);
    setPalette(cellPalette);
    setAutoFillBackground(true);
    update();
}

QString TMarkCell::toggledLetter(const QString &mark, char letter)
{
    QString shown;
    for (const char each : {'A', 'B', 'C'}) {
        const QChar wide(0xFF21 + (each - 'A'));
        if (mark.contains(wide) != (each == letter)) {
            shown += wide;
        }
    }
    return shown.isEmpty() ? QStringLiteral("　") : shown;
}

void TMarkCell::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        emit mouseUp(Qt::RightButton);
        return;
    }
    if (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier) {
        if (key == Qt::Key_A || key == Qt::Key_B || key == Qt::Key_C) {
            setText(toggledLetter(text(), static_cast<char>('A' + (key - Qt::Key_A))));
            emit markTyped();
            return;
        }
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            if (text() != QStringLiteral("　")) {
                setText(QStringLiteral("　"));
                emit markTyped();
            }
            return;
        }
    }
    if (modifiers == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Left:
            emit moveRequested(-1, 0);
            return;
        case Qt::Key_Right:
            emit moveRequested(1, 0);
            return;
        case Qt::Key_Up:
            emit moveRequested(0, -1);
            return;
        case Qt::Key_Down:
            emit moveRequested(0, 1);
            return;
        default:
            break;
        }
    }
    TClickLabel::keyPressEvent(event);
}

void TMarkCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
    paintFocusFrame(painter);
    const QString mark = text();
    if (mark.trimmed().isEmpty()) {
        return;
    }
    painter.setFont(font());
    painter.setPen(Qt::black);
    const QStringList lines = mark.size() > 2 ? QStringList{mark.left(2), mark.mid(2)} : QStringList{mark};
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    const int totalHeight = lineHeight * static_cast<int>(lines.size());
    int y = (height() - totalHeight) / 2;
    for (const QString &line : lines) {
        const int lineWidth = metrics.horizontalAdvance(line);
        painter.save();
        const double squeeze = lineWidth > width() - 2 ? double(width() - 2) / lineWidth : 1.0;
        const double drawnWidth = lineWidth * squeeze;
        painter.translate((width() - drawnWidth) / 2.0, y);
        painter.scale(squeeze, 1.0);
        painter.drawText(0, metrics.ascent(), line);
        painter.restore();
        y += lineHeight;
    }
}

TFormPanel::TFormPanel(QSize size, double scaleX, double scaleY, QWidget *parent)
    : QWidget(parent), m_baseSize(size), m_scaleX(scaleX), m_scaleY(scaleY)
{
    setFixedSize(size);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

QRect TFormPanel::toPixels(double left, double top, double width, double height) const
{
    const double scaleX = m_scaleX * m_zoom;
    const double scaleY = m_scaleY * m_zoom;
    const int x = static_cast<int>(std::lround(left * scaleX));
    const int y = static_cast<int>(std::lround(top * scaleY));
    const int right = static_cast<int>(std::lround((left + width) * scaleX));
    const int bottom = static_cast<int>(std::lround((top + height) * scaleY));
    return QRect(x, y, std::max(1, right - x), std::max(1, bottom - y));
}

QPoint TFormPanel::pointToPixels(double x, double y) const
{
    return QPoint(static_cast<int>(std::lround(x * m_scaleX * m_zoom)),
                  static_cast<int>(std::lround(y * m_scaleY * m_zoom)));
}

int TFormPanel::scaledPixels(int pixels) const
{
    return std::max(1, static_cast<int>(std::lround(pixels * m_zoom)));
}

void TFormPanel::addFrame(double left, double top, double width, double height)
{
    m_frames.append(QRectF(left, top, width, height));
}

void TFormPanel::addCaption(double left, double top, double width, double height, const QString &text, int pixelSize,
                            int flags, bool bold)
{
    m_captions.append(Caption{QRectF(left, top, width, height), text, pixelSize, flags, bold, 0});
}

void TFormPanel::addTextBlock(double left, double top, double width, double height, const QStringList &lines,
                              int pixelSize, double leading)
{
    m_captions.append(Caption{QRectF(left, top, width, height), lines.join(QLatin1Char('\n')), pixelSize,
                              Qt::AlignLeft | Qt::AlignTop, false, leading});
}

void TFormPanel::placeControl(QWidget *widget, double left, double top, double width, double height, int pixelSize,
                              int minHeight)
{
    m_placed.append(Placed{widget, QRectF(left, top, width, height), pixelSize, minHeight, false});
    layOut(m_placed.last());
}

void TFormPanel::placeInCell(QWidget *widget, double left, double top, double right, double bottom, int pixelSize)
{
    m_placed.append(Placed{widget, QRectF(QPointF(left, top), QPointF(right, bottom)), pixelSize, 0, true});
    layOut(m_placed.last());
}

void TFormPanel::keepTextVisible(QWidget *widget, int lines, const QStringList &fullLines)
{
    for (Placed &placed : m_placed) {
        if (placed.widget == widget) {
            placed.lines = lines;
            placed.fullLines = fullLines;
            layOut(placed);
        }
    }
}

// The largest text size, up to the one the control was placed with, at
// which its lines and their widths fit the room its text has: a memo's
// viewport within the document margin (and the caret), an edit's contents
// within its text margins.
void TFormPanel::fitText(const Placed &placed) const
{
    QWidget *widget = placed.widget;
    auto *memo = qobject_cast<TMemo *>(widget);
    auto *edit = qobject_cast<QLineEdit *>(widget);
    int width = widget->width();
    int height = widget->height();
    int chrome = 0; // the pixels of the width that hold no text
    if (memo != nullptr) {
        const int margin = static_cast<int>(std::ceil(memo->document()->documentMargin()));
        chrome = 2 * (memo->frameWidth() + margin) + memo->cursorWidth();
        height -= 2 * (memo->frameWidth() + margin);
    } else if (edit != nullptr) {
        // QLineEdit keeps 2 pixels clear left and right; its one line is
        // centred in its height, whatever that is.
        edit->setTextMargins(QMargins());
        const QMargins margins = edit->contentsMargins();
        chrome = margins.left() + margins.right() + 4 + (edit->hasFrame() ? 4 : 0);
    } else {
        return;
    }
    width -= chrome;
    QFont font = widget->font();
    for (int size = font.pixelSize(); size > 1; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        bool fits = edit != nullptr || metrics.lineSpacing() * placed.lines <= height;
        for (const QString &line : placed.fullLines) {
            fits = fits && metrics.horizontalAdvance(line) <= width;
        }
        if (fits) {
            break;
        }
    }
    widget->setFont(font);
    int widest = 0;
    for (const QString &line : placed.fullLines) {
        widest = std::max(widest, QFontMetrics(font).horizontalAdvance(line));
    }
    if (memo != nullptr) {
        memo->setTextWidth(widest + chrome - 2 * memo->frameWidth());
    } else {
        edit->setTextMargins(0, 0, std::max(0, width - widest), 0);
    }
}

void TFormPanel::layOut(const Placed &placed) const
{
    if (placed.widget.isNull()) {
        return;
    }
    QFont font = placed.widget->font();
    font.setPixelSize(scaledPixels(placed.pixelSize));
    placed.widget->setFont(font);
    if (qobject_cast<QCheckBox *>(placed.widget) != nullptr) {
        // The tick box grows and shrinks with the text; at 100 % it keeps
        // the style's own look.
        const int side = std::max(8, static_cast<int>(std::lround(kTickBoxPixels * m_zoom)));
        placed.widget->setStyleSheet(m_zoom == 1.0 ? QString()
                                                   : QStringLiteral("QCheckBox::indicator { width: %1px; height: %1px; }")
                                                         .arg(side));
    }
    if (placed.inCell) {
        const QPoint topLeft = pointToPixels(placed.box.left(), placed.box.top()) + QPoint(1, 1);
        const QPoint bottomRight = pointToPixels(placed.box.right(), placed.box.bottom()) - QPoint(1, 1);
        placed.widget->setGeometry(QRect(topLeft, bottomRight));
    } else {
        QRect rect = toPixels(placed.box);
        if (placed.minHeight > 0) {
            rect.setHeight(std::max(rect.height(), scaledPixels(placed.minHeight)));
        }
        placed.widget->setGeometry(rect);
    }
    if (placed.lines > 0) {
        fitText(placed);
    }
}

void TFormPanel::setZoom(double zoom)
{
    if (zoom <= 0 || zoom == m_zoom) {
        return;
    }
    m_zoom = zoom;
    setFixedSize(static_cast<int>(std::lround(m_baseSize.width() * zoom)),
                 static_cast<int>(std::lround(m_baseSize.height() * zoom)));
    for (const Placed &placed : m_placed) {
        layOut(placed);
    }
    update();
}

QStringList TFormPanel::captions() const
{
    QStringList texts;
    for (const Caption &caption : m_captions) {
        texts.append(caption.text);
    }
    return texts;
}

void TFormPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::black, 0));
    for (const QRectF &frame : m_frames) {
        const QPoint topLeft = pointToPixels(frame.left(), frame.top());
        const QPoint bottomRight = pointToPixels(frame.right() - 1, frame.bottom() - 1);
        painter.drawRect(QRect(topLeft, bottomRight - QPoint(1, 1)));
    }
    for (const Caption &caption : m_captions) {
        QFont captionFont = font();
        captionFont.setPixelSize(scaledPixels(caption.pixelSize));
        captionFont.setBold(caption.bold);
        painter.setFont(captionFont);
        // Captions are not clipped to their box, as on the printed form.
        if (caption.leading <= 0) {
            painter.drawText(toPixels(caption.box), caption.flags | Qt::TextDontClip, caption.text);
            continue;
        }
        QRectF line = caption.box;
        line.setHeight(caption.leading);
        for (const QString &text : caption.text.split(QLatin1Char('\n'))) {
            painter.drawText(toPixels(line), caption.flags | Qt::TextDontClip, text);
            line.translate(0, caption.leading);
        }
    }
}
