// The remembered folders through the main window: defaults on the first
// run and the load-at-start, store-at-exit cycle.

#include "settings/Registory.h"
#include "TestSupport.h"
#include "settings/TemporaryHome.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void firstRunUsesTheRootFolderAndStoresItAtExit();
    void foldersSurviveARestart();
    void closingTheWindowStoresTheFolders();

private:
    QString defaultFolder() const { return m_home.defaultFolder(); }

    TemporaryHome m_home;
};

void SettingsTest::initTestCase()
{
    QVERIFY(m_home.isValid());
    m_home.use();
}

void SettingsTest::firstRunUsesTheRootFolderAndStoresItAtExit()
{
    WindowFixture f;
    QVERIFY(!QFile::exists(f.settingsFile()));
    QCOMPARE(f.form->Registory->OpenFolder, defaultFolder());
    QCOMPARE(f.form->Registory->SaveFolder, defaultFolder());
    f.form.reset();
    QSettings stored(f.settingsFile(), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Open")).toString(), defaultFolder());
    QCOMPARE(stored.value(QStringLiteral("Save")).toString(), defaultFolder());
}

void SettingsTest::foldersSurviveARestart()
{
    WindowFixture f;
    f.form->Registory->OpenFolder = QStringLiteral("/data/opened");
    f.form->Registory->SaveFolder = QStringLiteral("/data/計画書");
    f.form.reset();
    auto again = f.makeWindow();
    QCOMPARE(again->Registory->OpenFolder, QStringLiteral("/data/opened"));
    QCOMPARE(again->Registory->SaveFolder, QStringLiteral("/data/計画書"));
}

void SettingsTest::closingTheWindowStoresTheFolders()
{
    WindowFixture f;
    f.form->NewMenuClick();
    f.form->Registory->SaveFolder = QStringLiteral("/data/save");
    // A close that the user cancels ends nothing and stores nothing.
    f.form->Modified = true;
    f.prompter->answers = {Prompter::Button::Cancel};
    QVERIFY(!f.form->close());
    QVERIFY(!QFile::exists(f.settingsFile()));
    f.prompter->answers = {Prompter::Button::Ok};
    QVERIFY(f.form->close());
    QSettings stored(f.settingsFile(), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Save")).toString(), QStringLiteral("/data/save"));
    QCOMPARE(stored.value(QStringLiteral("Open")).toString(), defaultFolder());
}

QTEST_MAIN(SettingsTest)
#include "SettingsTest.moc"
