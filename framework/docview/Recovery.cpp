#include "Recovery.h"

#include "App.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <algorithm>
#include <map>
#include <memory>

#include <unistd.h>

namespace {

const QString kCopySuffix = QStringLiteral(".skrj");
const QString kLockSuffix = QStringLiteral(".lock");

QString Folder()
{
    const CWinApp* app = AfxGetApp();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!app || app->GetSettingsKey().empty() || data.isEmpty())
        return {};
    const QString folder = data + '/' + QString::fromStdString(app->GetSettingsKey()) + '/' +
                           QString::fromUtf8(app->m_pszAppName) + QStringLiteral("/recovery");
    return QDir().mkpath(folder) ? folder : QString();
}

// The locks this process holds, by the path of the copy they guard. Held until the copy is
// removed or the process ends; a lock is never considered stale while its process runs.
std::map<QString, std::unique_ptr<QLockFile>>& Locks()
{
    static std::map<QString, std::unique_ptr<QLockFile>> locks;
    return locks;
}

bool Lock(const QString& copy)
{
    auto lock = std::make_unique<QLockFile>(copy.chopped(kCopySuffix.size()) + kLockSuffix);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    Locks()[copy] = std::move(lock);
    return true;
}

} // namespace

std::string AfxRecoveryPath()
{
    static const QString path = [] {
        const QString folder = Folder();
        if (folder.isEmpty())
            return QString();
        // The process and the moment it started: a process id alone comes back.
        const QString copy =
            folder + '/' +
            QStringLiteral("%1-%2").arg(::getpid()).arg(QDateTime::currentMSecsSinceEpoch()) +
            kCopySuffix;
        return Lock(copy) ? copy : QString();
    }();
    return QFile::encodeName(path).toStdString();
}

std::vector<CRecoveryCopy> AfxClaimLeftRecoveries()
{
    std::vector<CRecoveryCopy> left;
    const QString folder = Folder();
    if (folder.isEmpty())
        return left;
    const QFileInfoList copies =
        QDir(folder).entryInfoList({'*' + kCopySuffix}, QDir::Files, QDir::Time);
    for (const QFileInfo& copy : copies) {
        const QString path = copy.absoluteFilePath();
        if (Locks().count(path) || Lock(path))
            left.push_back(
                {QFile::encodeName(path).toStdString(), copy.lastModified().toSecsSinceEpoch()});
    }
    return left;
}

void AfxRemoveRecovery(const std::string& path)
{
    const QString copy = QFile::decodeName(path.c_str());
    QFile::remove(copy);
    Locks().erase(copy);
}
