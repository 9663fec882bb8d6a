// A plan folder shared by several editors. The plan file this window holds
// has a lock file beside it that names this editor; opening a plan another
// live editor holds says who has it and since when, and asks. A save over
// this window's own plan file that changed on disk since it was opened or
// saved here (another editor saved it) says so and asks before replacing
// it. Nothing here relies on file locks of the system, and a lock file that
// cannot be made (a read-only folder) only loses the notice.

#include "app/MainForm.h"

#include "app/PlanFiles.h"
#include "dialogs/Prompter.h"
#include "plan/DateTime.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimer>

#include <cmath>

namespace {

// The clock's time as seconds on the same scale as the lock files' times:
// the clock's local time read as if it were UTC, as every editor of one
// clinic writes it.
std::time_t lockSeconds(TDateTime now)
{
    constexpr double kUnixEpoch = 25569.0; // 1970-01-01 as a date-time
    return static_cast<std::time_t>(std::llround((now - kUnixEpoch) * 86400.0));
}

QString lockTime(std::time_t seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

// The user name as the lock file holds it (UTF-8 on Windows, the system's
// bytes elsewhere, which are UTF-8 on a current desktop).
QString lockText(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool sameEditor(const planlock::LockOwner &a, const planlock::LockOwner &b)
{
    return a.user == b.user && a.host == b.host && a.pid == b.pid;
}

} // namespace

planlock::LockOwner TMainForm::lockOwner() const
{
    const std::time_t now = lockSeconds(clock().now());
    if (m_lockOwner) {
        planlock::LockOwner owner = *m_lockOwner;
        owner.since = now;
        return owner;
    }
    return planlock::currentOwner(now);
}

void TMainForm::noteSaved(const QString &path)
{
    planlock::writeSavedNote(planPath(path), lockOwner());
}

// A plan opened while another editor held it is taken as soon as that
// editor lets it go, so that a third is told that this one has it.
void TMainForm::retryLock()
{
    if (PlanFile.path.isEmpty() || m_lock.held()) {
        return;
    }
    m_lock = planlock::PlanLock::acquire(planPath(PlanFile.path), lockOwner(), lockSeconds(clock().now()));
}

void TMainForm::holdPlanFile(const QString &path)
{
    if (m_lockRetry == nullptr) {
        m_lockRetry = new QTimer(this);
        m_lockRetry->setInterval(kLockRetryMs);
        connect(m_lockRetry, &QTimer::timeout, this, &TMainForm::retryLock);
        m_lockRetry->start();
    }
    setPlanFile(path);
    m_planDigest = planlock::fileDigest(planPath(path));
    const std::filesystem::path plan = planPath(PlanFile.path.isEmpty() ? path : PlanFile.path);
    if (m_lock.held() && m_lock.plan() == plan) {
        return;
    }
    m_lock.release();
    m_lock = planlock::PlanLock::acquire(plan, lockOwner(), lockSeconds(clock().now()));
}

void TMainForm::releasePlanFile()
{
    m_lock.release();
    setPlanFile(QString());
    m_planDigest.reset();
}

// The lock of `path` when another live editor holds it.
std::optional<planlock::LockOwner> TMainForm::otherHolder(const QString &path) const
{
    const std::optional<planlock::LockOwner> holder = planlock::readLock(planPath(path));
    if (!holder || sameEditor(*holder, lockOwner()) || planlock::isStale(*holder, lockSeconds(clock().now()))) {
        return std::nullopt;
    }
    return holder;
}

QString TMainForm::planHolder(const QString &path) const
{
    const auto holder = otherHolder(path);
    return holder ? lockText(holder->user) + QStringLiteral("（") + lockText(holder->host) + QStringLiteral("）")
                  : QString();
}

bool TMainForm::confirmOpenHeld(const QString &path)
{
    const std::optional<planlock::LockOwner> holder = otherHolder(path);
    if (!holder) {
        return true;
    }
    const QString text = QStringLiteral("この計画書は %1（%2）が %3 から開いています。\n開きますか？")
                             .arg(lockText(holder->user), lockText(holder->host), lockTime(holder->since));
    return prompter().ask(this, Prompter::Kind::Warning, text, {Prompter::Button::Open, Prompter::Button::Cancel}) ==
           Prompter::Button::Open;
}

bool TMainForm::confirmReplace(const QString &path)
{
    const PlanFileStamp existing = planFileStamp(path);
    if (existing.path.isEmpty()) {
        return true;
    }
    if (existing.path != PlanFile.path) {
        return prompter().confirmKeeping(this, QStringLiteral("同じ名前の計画書があります。\n上書きしますか？"));
    }
    // This window's own plan file: unchanged when it is the same file with
    // the same size and time and, as a time can be put back, the same bytes.
    if (existing == PlanFile && planlock::fileDigest(planPath(path)) == m_planDigest) {
        return true;
    }
    // Who saved it: the note the saver left, else the lock's holder.
    QStringList who;
    const std::filesystem::path plan = planPath(existing.path);
    std::optional<planlock::LockOwner> saver = planlock::readSavedNote(plan);
    if (!saver || sameEditor(*saver, lockOwner())) {
        saver = planlock::readLock(plan);
    }
    if (saver && !sameEditor(*saver, lockOwner())) {
        who.append(lockText(saver->user) + QStringLiteral("（") + lockText(saver->host) + QStringLiteral("）"));
    }
    const QDateTime changed = QFileInfo(existing.path).lastModified();
    if (changed.isValid()) {
        who.append(changed.toString(QStringLiteral("yyyy/MM/dd HH:mm")));
    }
    const QString byWhom = who.isEmpty() ? QString() : QStringLiteral("（") + who.join(QStringLiteral("、")) + QStringLiteral("）");
    const QString text =
        QStringLiteral("この計画書は開いた後に他で変更されています") + byWhom + QStringLiteral("。\n上書きしますか？");
    return prompter().ask(this, Prompter::Kind::Warning, text, {Prompter::Button::Overwrite, Prompter::Button::Cancel}) ==
           Prompter::Button::Overwrite;
}
