#include "app/FormControls.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>

#include <cmath>

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

TEdit::TEdit(QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    paintOnInfoBackground(this);
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

TMemo::TMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    document()->setDocumentMargin(1);
    paintOnInfoBackground(this);
    viewport()->setAutoFillBackground(true);
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

void TMarkCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
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
    : QWidget(parent), m_scaleX(scaleX), m_scaleY(scaleY)
{
    setFixedSize(size);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

QRect TFormPanel::toPixels(double left, double top, double width, double height) const
{
    const int x = static_cast<int>(std::lround(left * m_scaleX));
    const int y = static_cast<int>(std::lround(top * m_scaleY));
    const int right = static_cast<int>(std::lround((left + width) * m_scaleX));
    const int bottom = static_cast<int>(std::lround((top + height) * m_scaleY));
    return QRect(x, y, std::max(1, right - x), std::max(1, bottom - y));
}

void TFormPanel::addFrame(double left, double top, double width, double height)
{
    m_frames.append(toPixels(left, top, width, height));
}

void TFormPanel::addCaption(double left, double top, double width, double height, const QString &text, int pixelSize,
                            int flags, bool bold)
{
    m_captions.append(Caption{toPixels(left, top, width, height), text, pixelSize, flags, bold});
}

void TFormPanel::addVerticalCaption(double left, double top, double width, double height, const QString &text,
                                    int pixelSize)
{
    QStringList characters;
    for (const QChar c : text) {
        characters.append(QString(c));
    }
    addCaption(left, top, width, height, characters.join(QLatin1Char('\n')), pixelSize, Qt::AlignCenter);
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
    for (const QRect &frame : m_frames) {
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    }
    for (const Caption &caption : m_captions) {
        QFont captionFont = font();
        captionFont.setPixelSize(caption.pixelSize);
        captionFont.setBold(caption.bold);
        painter.setFont(captionFont);
        // Captions are not clipped to their box, as on the printed form.
        painter.drawText(caption.box, caption.flags | Qt::TextDontClip, caption.text);
    }
}
