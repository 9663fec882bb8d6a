#pragma once

// The about box "情報": product name, version, release month, maker and the
// maker's web address, which opens in the browser when clicked. It has no
// buttons and closes with its title-bar button or Escape.

#include <QDialog>
#include <QString>

class Launcher;
class QLabel;

// The maker's web page: shown in the about box and opened by help when the
// manual is missing.
QString makerWebAddress();

class Tinfo : public QDialog {
    Q_OBJECT
public:
    explicit Tinfo(Launcher &launcher, QWidget *parent = nullptr);

    QLabel *ProductLabel;
    QLabel *VersionLabel;
    QLabel *ReleaseLabel;
    QLabel *MakerLabel;
    QLabel *Label4; // the web address

public slots:
    // Opens the address in the browser; the outcome is not examined.
    void Label4Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Launcher &m_launcher;
};
