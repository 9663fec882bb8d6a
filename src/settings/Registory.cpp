#include "settings/Registory.h"

#include <QDir>
#include <QSettings>

#include <memory>

namespace {

const QString &openValueName()
{
    static const QString name = QStringLiteral("Open");
    return name;
}

const QString &saveValueName()
{
    static const QString name = QStringLiteral("Save");
    return name;
}

std::unique_ptr<QSettings> openStore(const QString &file)
{
    if (file.isEmpty()) {
        return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quenmark"),
                                           QStringLiteral("Ovilant"));
    }
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

} // namespace

QString RootFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\");
#else
    return QDir::homePath();
#endif
}

TRegistory::TRegistory(QString settingsFile) : m_settingsFile(std::move(settingsFile))
{
    SetDefaultFolders();
}

void TRegistory::SetDefaultFolders()
{
    OpenFolder = RootFolder();
    SaveFolder = RootFolder();
}

void TRegistory::LoadFolders()
{
    const auto store = openStore(m_settingsFile);
    // An empty store stands for a key that does not exist yet (first run).
    if (store->allKeys().isEmpty()) {
        SetDefaultFolders();
        return;
    }
    OpenFolder = store->value(openValueName()).toString();
    SaveFolder = store->value(saveValueName()).toString();
}

void TRegistory::StoreFolders()
{
    const auto store = openStore(m_settingsFile);
    if (!store->isWritable()) {
        return;
    }
    store->setValue(openValueName(), OpenFolder);
    store->setValue(saveValueName(), SaveFolder);
    store->sync();
}
