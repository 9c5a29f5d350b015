#include "XSelection.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

std::string QtXDisplayName()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    return display ? std::string(DisplayString(display)) : std::string();
}
