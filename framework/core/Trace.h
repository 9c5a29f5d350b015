// Diagnostic output for developers, written to the debug log.
#pragma once

void AfxTrace(const char* lpszFormat, ...) __attribute__((format(printf, 1, 2)));

#define TRACE(...) AfxTrace(__VA_ARGS__)
