// A test program's own home: HOME and every XDG folder point into a scratch folder, so that
// the settings, recovery copies, caches and runtime files of what the tests start never touch
// the caller's, whoever runs the program and however.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Call before the QApplication exists: Qt reads the folders when it starts. They last as long
// as the process, longer than any lock taken in them.
inline void IsolateUserFolders()
{
    static QTemporaryDir home;
    const struct {
        const char* variable;
        const char* folder;
    } folders[] = {{"HOME", ""},
                   {"XDG_CONFIG_HOME", "/config"},
                   {"XDG_DATA_HOME", "/data"},
                   {"XDG_CACHE_HOME", "/cache"},
                   {"XDG_RUNTIME_DIR", "/runtime"}};
    for (const auto& [variable, folder] : folders) {
        const QString path = home.path() + QString::fromUtf8(folder);
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(variable, QFile::encodeName(path));
    }
}
