#include "Keyboard.h"

#include "framework/core/VirtualKeys.h"

#include <QGuiApplication>

#include <array>
#include <utility>

namespace {

// The named keys; letters and digits share their codes with Qt's.
constexpr std::array<std::pair<WORD, int>, 20> kKeys = {{
    {VK_BACK, Qt::Key_Backspace},
    {VK_TAB, Qt::Key_Tab},
    {VK_RETURN, Qt::Key_Return},
    {VK_ESCAPE, Qt::Key_Escape},
    {VK_PRIOR, Qt::Key_PageUp},
    {VK_NEXT, Qt::Key_PageDown},
    {VK_END, Qt::Key_End},
    {VK_HOME, Qt::Key_Home},
    {VK_LEFT, Qt::Key_Left},
    {VK_UP, Qt::Key_Up},
    {VK_RIGHT, Qt::Key_Right},
    {VK_DOWN, Qt::Key_Down},
    {VK_INSERT, Qt::Key_Insert},
    {VK_DELETE, Qt::Key_Delete},
    {VK_F6, Qt::Key_F6},
    {VK_OEM_4, Qt::Key_BracketLeft},
    {VK_OEM_6, Qt::Key_BracketRight},
    {VK_ADD, Qt::Key_Plus},
    {VK_OEM_PLUS, Qt::Key_Equal},
    {VK_OEM_MINUS, Qt::Key_Minus},
}};

bool IsLetterOrDigit(int code)
{
    return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

} // namespace

int QtKeyOf(WORD vk)
{
    for (const auto& [v, q] : kKeys)
        if (v == vk)
            return q;
    return IsLetterOrDigit(vk) ? vk : 0;
}

WORD VirtualKeyOf(int qtKey)
{
    for (const auto& [v, q] : kKeys)
        if (q == qtKey)
            return v;
    return IsLetterOrDigit(qtKey) ? WORD(qtKey) : 0;
}

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
