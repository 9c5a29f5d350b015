// A test program's own home: HOME and every XDG folder point into a scratch folder, so that
// the settings, recovery copies, caches and runtime files of what the tests start never touch
// the caller's, whoever runs the program and however.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Call before the QApplication exists: Qt reads the folders when it starts. They last as long
// as the process, longer than any lock taken in them.
inline void IsolateUserFolders()
{
    static QTemporaryDir home;
    for (const char* variable :
         {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = home.filePath(QString::fromLatin1(variable).toLower());
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(variable, QFile::encodeName(path));
    }
}
