// The keyboard's lock states, as the windowing system tells them. Framework-internal.
#pragma once

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// All off where the platform does not tell (no X display).
LockKeys ReadLockKeys();
