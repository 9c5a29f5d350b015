// The application's name: the title in the string table that the program hands over at
// start-up (IDS_APP_TITLE). What the framework makes for the program is named after it: the
// captions of its messages, the folders of its data, the log category of its trace and the
// environment switches of its diagnostics.
#pragma once

#include <string>

// Empty until the program's tables are handed over.
std::string AfxGetAppName();
// The environment variable of one of the application's switches: the name in capitals, with
// "_" for each byte that is no ASCII letter or digit, then "_" and the switch. For an
// application named "Paint 2", AfxSwitchVariable("TRACE") is "PAINT_2_TRACE".
std::string AfxSwitchVariable(const char* lpszSwitch);
