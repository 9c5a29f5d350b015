#include "AppName.h"

#include "Commands.h"
#include "Resource.h"

std::string AfxGetAppName() { return res::LoadString(IDS_APP_TITLE); }

std::string AfxSwitchVariable(const char* lpszSwitch)
{
    std::string name = AfxGetAppName();
    for (char& c : name) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        else if (!(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9'))
            c = '_';
    }
    return name + '_' + (lpszSwitch ? lpszSwitch : "");
}
