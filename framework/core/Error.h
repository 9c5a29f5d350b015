// The calling thread's last error, as the platform keeps it: file operations set it when they
// fail, and whoever reports the failure turns it into words.
#pragma once

#include "Types.h"

#include <string>

// Codes are errno values, plus the framework's own ones with bit 29 set, the bit the platform
// leaves to applications.
constexpr DWORD ERROR_NOT_REGULAR_FILE = 0x20000001; // a folder, FIFO, socket or device
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY_FOR_FILE = 0x20000002;

DWORD GetLastError();
void SetLastError(DWORD dwError);

// A short Korean sentence saying what the error means to the user; empty for 0.
std::string AfxErrorText(DWORD dwError);
