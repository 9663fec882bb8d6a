#include "settings/Registory.h"

#include "planindex/ReviewDue.h"

#include <QDir>
#include <QSettings>

#include <algorithm>
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

const QString &windowGroup()
{
    static const QString name = QStringLiteral("Window");
    return name;
}

const QString &reviewGroup()
{
    static const QString name = QStringLiteral("Review");
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

TRegistory::TRegistory(QString settingsFile)
    : ReviewMonths(planindex::kDefaultReviewMonths), m_settingsFile(std::move(settingsFile))
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
    // A store without folder values stands for a key that does not exist
    // yet (first run); the window's and the review values do not count.
    const QStringList keys = store->allKeys();
    const QString windowPrefix = windowGroup() + QLatin1Char('/');
    const QString reviewPrefix = reviewGroup() + QLatin1Char('/');
    if (std::all_of(keys.begin(), keys.end(),
                    [&](const QString &key) { return key.startsWith(windowPrefix) || key.startsWith(reviewPrefix); })) {
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

void TRegistory::LoadWindow()
{
    const auto store = openStore(m_settingsFile);
    store->beginGroup(windowGroup());
    WindowGeometry = store->value(QStringLiteral("Geometry")).toByteArray();
    bool ok = false;
    const int zoom = store->value(QStringLiteral("Zoom")).toInt(&ok);
    if (ok) {
        Zoom = zoom;
    }
    store->endGroup();
}

void TRegistory::StoreWindow()
{
    const auto store = openStore(m_settingsFile);
    if (!store->isWritable()) {
        return;
    }
    store->beginGroup(windowGroup());
    if (!WindowGeometry.isEmpty()) {
        store->setValue(QStringLiteral("Geometry"), WindowGeometry);
    }
    store->setValue(QStringLiteral("Zoom"), Zoom);
    store->endGroup();
    store->sync();
}

void TRegistory::LoadReview()
{
    const auto store = openStore(m_settingsFile);
    bool ok = false;
    const int months = store->value(reviewGroup() + QStringLiteral("/Months")).toInt(&ok);
    ReviewMonths = ok && months >= planindex::kMinReviewMonths && months <= planindex::kMaxReviewMonths
                       ? months
                       : planindex::kDefaultReviewMonths;
}

void TRegistory::StoreReview()
{
    const auto store = openStore(m_settingsFile);
    if (!store->isWritable()) {
        return;
    }
    store->setValue(reviewGroup() + QStringLiteral("/Months"), ReviewMonths);
    store->sync();
}
