#include "Recovery.h"

#include "App.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <map>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kLockSuffix = QStringLiteral(".lock");
// What a copy that cannot be read is renamed to: its name and this.
const QString kAsideSuffix = QStringLiteral(".unreadable");
// How often this process tries to take a lock of its own that another process, cleaning up,
// removed between its creation and its locking.
constexpr int kOwnLockTries = 3;

// The extension of the copies, which the application gives; empty without one.
QString CopySuffix()
{
    const CWinApp* app = AfxGetApp();
    return app ? QString::fromStdString(app->GetRecoveryExtension()) : QString();
}

QString Folder()
{
    const CWinApp* app = AfxGetApp();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!app || app->GetSettingsKey().empty() || CopySuffix().isEmpty() || data.isEmpty())
        return {};
    const QString folder = data + '/' + QString::fromStdString(app->GetSettingsKey()) + '/' +
                           QString::fromUtf8(app->m_pszAppName) + QStringLiteral("/recovery");
    return QDir().mkpath(folder) ? folder : QString();
}

QString LockOf(const QString& copy) { return copy.chopped(CopySuffix().size()) + kLockSuffix; }

// The locks this process holds, by the path of the lock file: open descriptors locked with
// flock, held until the copy is removed or set aside, or the process ends.
std::map<QString, int>& Locks()
{
    static std::map<QString, int> locks;
    return locks;
}

// Takes the lock at `path`, making the file when there is none; false when another process
// holds it.
bool Lock(const QString& path)
{
    if (Locks().count(path))
        return true;
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // Still the file of that name once locked: a process that let go of it may have removed
    // it meanwhile.
    struct stat held, named;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 ||
        ::stat(name.constData(), &named) != 0 || held.st_ino != named.st_ino ||
        held.st_dev != named.st_dev) {
        ::close(fd);
        return false;
    }
    Locks()[path] = fd;
    return true;
}

// Removes a lock file this process holds, then lets go of it.
void Unlock(const QString& path)
{
    const auto it = Locks().find(path);
    if (it == Locks().end())
        return;
    QFile::remove(path);
    ::close(it->second);
    Locks().erase(it);
}

} // namespace

std::string AfxRecoveryPath()
{
    static const QString path = [] {
        const QString folder = Folder();
        for (int attempt = 0; !folder.isEmpty() && attempt < kOwnLockTries; ++attempt) {
            // The process and the moment it started: a process id alone comes back.
            const QString copy =
                folder + '/' +
                QStringLiteral("%1-%2").arg(::getpid()).arg(QDateTime::currentMSecsSinceEpoch()) +
                CopySuffix();
            if (Lock(LockOf(copy)))
                return copy;
        }
        return QString();
    }();
    return QFile::encodeName(path).toStdString();
}

std::vector<CRecoveryCopy> AfxLeftRecoveries()
{
    std::vector<CRecoveryCopy> left;
    const QString folder = Folder();
    if (folder.isEmpty())
        return left;
    // The names are told by their ends here, not by a wildcard filter: that one compiles a
    // regular expression, and with it a matcher's code, at every start.
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files);
    auto named = [](const QFileInfo& file, const QString& suffix) {
        return file.fileName().endsWith(suffix);
    };
    for (const QFileInfo& lock : files) {
        if (!named(lock, kLockSuffix))
            continue;
        const QString path = lock.absoluteFilePath();
        if (!QFileInfo::exists(path.chopped(kLockSuffix.size()) + CopySuffix()) &&
            !Locks().count(path) && Lock(path))
            Unlock(path);
    }
    const std::string own = AfxRecoveryPath();
    // Sorted to the millisecond: copies left within a second of each other come in order.
    std::vector<std::pair<qint64, CRecoveryCopy>> found;
    for (const QFileInfo& copy : files) {
        if (!named(copy, CopySuffix()))
            continue;
        const QDateTime modified = copy.lastModified();
        CRecoveryCopy entry{QFile::encodeName(copy.absoluteFilePath()).toStdString(),
                            modified.toSecsSinceEpoch()};
        if (entry.path != own)
            found.emplace_back(modified.toMSecsSinceEpoch(), std::move(entry));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto& [modified, copy] : found)
        left.push_back(std::move(copy));
    return left;
}

bool AfxClaimRecovery(const std::string& path)
{
    return Lock(LockOf(QFile::decodeName(path.c_str())));
}

void AfxRemoveRecovery(const std::string& path)
{
    const QString copy = QFile::decodeName(path.c_str());
    QFile::remove(copy);
    Unlock(LockOf(copy));
}

std::string AfxSetRecoveryAside(const std::string& path)
{
    const QString copy = QFile::decodeName(path.c_str());
    const QString aside = copy + kAsideSuffix;
    const bool renamed = !QFileInfo::exists(aside) && QFile::rename(copy, aside);
    Unlock(LockOf(copy));
    return renamed ? QFile::encodeName(aside).toStdString() : std::string();
}
