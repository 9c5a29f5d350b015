#include "Trace.h"

#include <QLoggingCategory>

#include <cstdarg>
#include <cstdio>

Q_LOGGING_CATEGORY(lcTrace, "skorel.trace")

void AfxTrace(const char* lpszFormat, ...)
{
    char buf[1024];
    va_list args;
    va_start(args, lpszFormat);
    std::vsnprintf(buf, sizeof buf, lpszFormat, args);
    va_end(args);
    qCDebug(lcTrace).noquote() << QString::fromUtf8(buf).trimmed();
}
