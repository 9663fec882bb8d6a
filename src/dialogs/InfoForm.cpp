#include "dialogs/InfoForm.h"

#include "dialogs/Launcher.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>
#include <QVBoxLayout>

QString makerWebAddress()
{
    return QStringLiteral("https://quenmark.example/ovilant/");
}

Tinfo::Tinfo(Launcher &launcher, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_launcher(launcher)
{
    setObjectName(QStringLiteral("info"));
    setWindowTitle(QStringLiteral("情報"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0, 255, 255));
    setPalette(palette);

    const auto makeLabel = [this](const QString &name, const QString &text, int pixelSize, bool bold) {
        auto *label = new QLabel(text, this);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignCenter);
        if (pixelSize > 0) {
            QFont font = label->font();
            font.setPixelSize(pixelSize);
            font.setBold(bold);
            label->setFont(font);
        }
        return label;
    };
    ProductLabel = makeLabel(QStringLiteral("ProductLabel"), QStringLiteral("Ovilant"), 24, true);
    VersionLabel = makeLabel(QStringLiteral("VersionLabel"), QStringLiteral("Ｖeｒ　1.0"), 0, false);
    ReleaseLabel = makeLabel(QStringLiteral("ReleaseLabel"), QStringLiteral("2026年12月"), 0, false);
    MakerLabel = makeLabel(QStringLiteral("MakerLabel"), QStringLiteral("Quenmark"), 16, true);
    Label4 = makeLabel(QStringLiteral("Label4"), makerWebAddress(), 0, false);
    QFont link = Label4->font();
    link.setUnderline(true);
    Label4->setFont(link);
    Label4->setCursor(Qt::PointingHandCursor);
    Label4->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 20, 32, 20);
    layout->setSpacing(8);
    for (QLabel *label : {ProductLabel, VersionLabel, ReleaseLabel, MakerLabel, Label4}) {
        layout->addWidget(label);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool Tinfo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label4 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
        Label4->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        Label4Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tinfo::Label4Click()
{
    m_launcher.openDocument(QUrl(Label4->text()));
}
