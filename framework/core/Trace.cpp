#include "Trace.h"

#include "AppName.h"

#include <QLoggingCategory>

#include <cstdarg>
#include <cstdio>

namespace {

// "<application>.trace", the application's name in lower case: a log category is named once,
// so the program's tables must be handed over before the first trace.
const QLoggingCategory& TraceCategory()
{
    static const QByteArray name =
        (QString::fromStdString(AfxGetAppName()).toLower() + QStringLiteral(".trace")).toUtf8();
    static const QLoggingCategory category(name.constData());
    return category;
}

} // namespace

void AfxTrace(const char* lpszFormat, ...)
{
    char buf[1024];
    va_list args;
    va_start(args, lpszFormat);
    std::vsnprintf(buf, sizeof buf, lpszFormat, args);
    va_end(args);
    qCDebug(TraceCategory).noquote() << QString::fromUtf8(buf).trimmed();
}
