#include "Keyboard.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

LockKeys ReadLockKeys()
{
    LockKeys keys;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return keys;
    auto named = [display](const char* name) {
        Bool on = False;
        const Atom atom = XInternAtom(display, name, True);
        return atom != None &&
               XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
    };
    keys.caps = named("Caps Lock");
    keys.num = named("Num Lock");
    keys.scroll = named("Scroll Lock");
    return keys;
}
