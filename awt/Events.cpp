#include "awt/Events.h"

#include <windows.h>

namespace awt {

namespace {

bool isDown(int virtualKey) noexcept {
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace

int getModifiers() noexcept {
    int modifiers = 0;
    if (isDown(VK_SHIFT)) {
        modifiers |= SHIFT_MASK;
    }
    if (isDown(VK_CONTROL)) {
        modifiers |= CTRL_MASK;
    }
    if (isDown(VK_MENU)) {
        modifiers |= ALT_MASK;
    }
    if (isDown(VK_LWIN) || isDown(VK_RWIN)) {
        modifiers |= WINDOWS_MASK;
    }
    return modifiers;
}

}  // namespace awt
