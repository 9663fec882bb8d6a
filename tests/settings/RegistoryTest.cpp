// The settings store on its own: a missing value, and the per-user store
// named after the maker.

#include "settings/Registory.h"

#include <QFile>
#include <QSettings>
#include <QOperatingSystemVersion>
#include <QTemporaryDir>
#include <QTest>

class RegistoryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void aMissingValueReadsAsEmpty();
    void theUserStoreIsNamedAfterTheMaker();

private:
    // The folder both settings start with: the root of the system drive on
    // Windows, the user's home folder elsewhere (here a temporary one).
    QString defaultFolder() const
    {
        if (QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows) {
            return QStringLiteral("C:\\");
        }
        return m_home.path();
    }

    QTemporaryDir m_home;
};

void RegistoryTest::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
}

void RegistoryTest::aMissingValueReadsAsEmpty()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.ini"));
    {
        QSettings stored(file, QSettings::IniFormat);
        stored.setValue(QStringLiteral("Open"), QStringLiteral("/only/open"));
    }
    TRegistory settings(file);
    QCOMPARE(settings.OpenFolder, defaultFolder()); // the constructor's defaults
    settings.LoadFolders();
    QCOMPARE(settings.OpenFolder, QStringLiteral("/only/open"));
    QCOMPARE(settings.SaveFolder, QString());
}

void RegistoryTest::theUserStoreIsNamedAfterTheMaker()
{
    // Without a file the store is the platform's per-user one for
    // Quenmark / Ovilant; point the user scope into a temporary folder.
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    TRegistory settings;
    settings.SaveFolder = QStringLiteral("/x");
    settings.StoreFolders();
    QSettings stored(QStringLiteral("Quenmark"), QStringLiteral("Ovilant"));
    QCOMPARE(stored.value(QStringLiteral("Save")).toString(), QStringLiteral("/x"));
    QVERIFY2(stored.fileName().startsWith(dir.path()), qPrintable(stored.fileName()));
}

QTEST_GUILESS_MAIN(RegistoryTest)
#include "RegistoryTest.moc"
