// The settings store on its own: a missing value, and the per-user store
// named after the maker.

#include "settings/Registory.h"
#include "settings/TemporaryHome.h"

#include <QMap>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class RegistoryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void aMissingValueReadsAsEmpty();
    void theUserStoreIsNamedAfterTheMaker();

private:
    QString defaultFolder() const { return m_home.defaultFolder(); }

    TemporaryHome m_home;
};

void RegistoryTest::initTestCase()
{
    QVERIFY(m_home.isValid());
    m_home.use();
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
#ifdef _WIN32
    // The registry is the user's own, whatever the paths: what the test
    // changes is put back.
    QMap<QString, QVariant> before;
    {
        QSettings user(QStringLiteral("Quenmark"), QStringLiteral("Ovilant"));
        for (const QString &key : user.allKeys()) {
            before.insert(key, user.value(key));
        }
    }
#endif
    TRegistory settings;
    settings.SaveFolder = QStringLiteral("/x");
    settings.StoreFolders();
    QSettings stored(QStringLiteral("Quenmark"), QStringLiteral("Ovilant"));
    QCOMPARE(stored.value(QStringLiteral("Save")).toString(), QStringLiteral("/x"));
#ifdef _WIN32
    // The registry key the settings have always been kept under.
    QCOMPARE(stored.fileName(), QStringLiteral("\\HKEY_CURRENT_USER\\Software\\Quenmark\\Ovilant"));
    stored.clear();
    for (auto value = before.cbegin(); value != before.cend(); ++value) {
        stored.setValue(value.key(), value.value());
    }
#else
    QVERIFY2(stored.fileName().startsWith(dir.path()), qPrintable(stored.fileName()));
#endif
}

QTEST_GUILESS_MAIN(RegistoryTest)
#include "RegistoryTest.moc"
