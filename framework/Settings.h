// The application's settings store. Framework-internal.
#pragma once

#include <QSettings>

#include <memory>

// The store under the application's registry key and name; null while the application has
// set no key, so that nothing is read or written for it.
std::unique_ptr<QSettings> AfxOpenSettings();
