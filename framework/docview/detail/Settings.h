// The application's settings store. Framework-internal.
#pragma once

#include <QSettings>

#include <memory>

// The store under the application's registry key and name: the file
// $XDG_CONFIG_HOME/<key>/<name>.conf. Null while the application has set no key, or when
// something other than a regular file (or a link to one) is at that path, so that nothing is
// read or written for it.
std::unique_ptr<QSettings> AfxOpenSettings();
