// The keyboard: lock states as the windowing system tells them, and virtual keys beside Qt's
// key codes. Framework-internal.
#pragma once

#include "framework/core/Types.h"

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// All off where the platform does not tell (no X display).
LockKeys ReadLockKeys();

// Qt's key for a virtual key, and back; 0 for a key the other side does not name.
int QtKeyOf(WORD vk);
WORD VirtualKeyOf(int qtKey);
