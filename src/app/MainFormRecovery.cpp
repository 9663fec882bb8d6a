// The recovery copy of the plan being edited (RecoveryCopy.h): kept while
// `Modified` is set, offered back at the next start when the editor ended
// without saving.
//
// Writing follows the edits through two timers, never the key press itself:
// each edit restarts the quiet timer (a copy a few seconds after typing
// stops); the first edit since the last copy starts the other, which is not
// restarted, so that steady typing still writes a copy every half minute.

#include "app/MainForm.h"

#include "app/PlanForm.h"
#include "app/RecoveryCopy.h"
#include "dialogs/Prompter.h"
#include "planfile/PlanFieldValue.h"
#include "planfile/PlanFormat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <exception>

namespace {

const QString kOfferText = QStringLiteral("前回、保存されずに終了した計画書があります。復元しますか？");

} // namespace

QString TMainForm::recoveryCopyPath() const
{
    const QString dataDir =
        m_dataDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) : m_dataDir;
    const planlock::LockOwner me = lockOwner();
    return recovery::pathFor(recovery::folderIn(dataDir), QString::fromStdString(me.host), me.pid);
}

void TMainForm::startRecovery()
{
    m_recoveryQuiet = new QTimer(this);
    m_recoveryQuiet->setSingleShot(true);
    m_recoveryQuiet->setInterval(kRecoveryQuietMs);
    m_recoveryLatest = new QTimer(this);
    m_recoveryLatest->setSingleShot(true);
    m_recoveryLatest->setInterval(kRecoveryLatestMs);
    connect(m_recoveryQuiet, &QTimer::timeout, this, &TMainForm::writeRecovery);
    connect(m_recoveryLatest, &QTimer::timeout, this, &TMainForm::writeRecovery);
    Modified.changed = [this](bool modified) { recoveryFollows(modified); };
}

void TMainForm::recoveryFollows(bool modified)
{
    if (!modified) {
        removeRecovery();
        return;
    }
    m_recoveryQuiet->start();
    if (!m_recoveryLatest->isActive()) {
        m_recoveryLatest->start();
    }
}

void TMainForm::flushRecovery()
{
    if (Modified && (m_recoveryQuiet->isActive() || m_recoveryLatest->isActive())) {
        writeRecovery();
    }
}

void TMainForm::writeRecovery()
{
    m_recoveryQuiet->stop();
    m_recoveryLatest->stop();
    if (!Modified) {
        return;
    }
    const planlock::LockOwner me = lockOwner();
    recovery::Copy copy;
    copy.host = QString::fromStdString(me.host);
    copy.pid = me.pid;
    copy.planFile = PlanFile.path.isEmpty() ? QString() : QDir::toNativeSeparators(PlanFile.path);
    copy.planDate = planView().planDate();
    copy.fields = planView().texts();
    try {
        recovery::write(recoveryCopyPath(), copy);
        m_recoveryFailed = false;
    } catch (const std::exception &e) {
        // Said once, in the status bar: a box every few seconds would stop
        // the typing it is meant to protect.
        if (!m_recoveryFailed) {
            showStatus(QStringLiteral("復元用のコピーを書き込めませんでした: ") + QString::fromUtf8(e.what()));
        }
        m_recoveryFailed = true;
    }
}

void TMainForm::removeRecovery()
{
    m_recoveryQuiet->stop();
    m_recoveryLatest->stop();
    QFile::remove(recoveryCopyPath());
}

void TMainForm::offerRecovery()
{
    const planlock::LockOwner me = lockOwner();
    const QString folder = QFileInfo(recoveryCopyPath()).absolutePath();
    bool restored = false;
    for (const recovery::Left &left : recovery::leftBehind(folder, QString::fromStdString(me.host), me.pid)) {
        if (!left.copy) {
            prompter().warning(this, QStringLiteral("復元用のコピーを読み込めませんでした。ファイルはそのまま残してあります。\n") +
                                         QDir::toNativeSeparators(left.path));
            continue;
        }
        // One plan a window: once one is restored, the others wait for the
        // next start.
        if (restored) {
            continue;
        }
        QString name;
        for (const auto &[key, text] : left.copy->fields) {
            if (key == QStringLiteral("Name")) {
                name = text;
            }
        }
        QString detail = QStringLiteral("\n氏名：") + name;
        if (!left.copy->planFile.isEmpty()) {
            detail += QStringLiteral("\nファイル：") + left.copy->planFile;
        }
        const Prompter::Button answer = prompter().ask(this, Prompter::Kind::Confirmation, kOfferText + detail,
                                                       {Prompter::Button::Restore, Prompter::Button::Discard,
                                                        Prompter::Button::Later});
        if (answer == Prompter::Button::Discard) {
            QFile::remove(left.path);
            continue;
        }
        if (answer != Prompter::Button::Restore || (Modified && !confirmDiscard())) {
            continue;
        }
        {
            const ProgramFill fill(*this);
            releasePlanFile();
            ClearForm();
            planView().showTexts(left.copy->fields);
            planView().holdPlanDate(left.copy->planDate);
        }
        const QString planFile = left.copy->planFile;
        if (!planFile.isEmpty() && QFileInfo(planFile).isFile()) {
            holdPlanFile(QDir::fromNativeSeparators(planFile));
        } else {
            setPlanFile(QString());
        }
        unlockEditor();
        restored = true;
        planView().setCurrentWidget(planView().page(1));
        // Unsaved, as it was: this window's own copy replaces the one left.
        Modified = true;
        writeRecovery();
        if (!m_recoveryFailed) {
            QFile::remove(left.path);
        }
        showStatus(QStringLiteral("復元しました（未保存）: ") + (name.isEmpty() ? QStringLiteral("氏名なし") : name));
    }
}
