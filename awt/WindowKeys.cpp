#include "awt/Window.h"

#include "awt/Toolkit.h"
#include "klib/Exception.h"

// The window's key accelerators: active while the window is, they see key presses before dispatch.

namespace awt {

bool operator<(const KeyStroke& a, const KeyStroke& b) noexcept {
    const unsigned int codeA = static_cast<unsigned int>(a.keyCode);
    const unsigned int codeB = static_cast<unsigned int>(b.keyCode);
    if (codeA != codeB) {
        return codeA < codeB;
    }
    return a.modifiers < b.modifiers;
}

bool operator==(const KeyStroke& a, const KeyStroke& b) noexcept {
    return a.keyCode == b.keyCode && a.modifiers == b.modifiers;
}

void Window::KeyAcceleratorHandler::preprocess(const MSG* msg, bool* handled) {
    // WM_SYSKEYDOWN stays with the system (menus, Alt+F4).
    if (msg->message != WM_KEYDOWN) {
        return;
    }
    const int modifiers = getModifiers();
    int hotKeyModifiers = 0;
    if ((modifiers & ALT_MASK) != 0) {
        hotKeyModifiers |= MOD_ALT;
    }
    if ((modifiers & CTRL_MASK) != 0) {
        hotKeyModifiers |= MOD_CONTROL;
    }
    if ((modifiers & SHIFT_MASK) != 0) {
        hotKeyModifiers |= MOD_SHIFT;
    }
    if ((modifiers & WINDOWS_MASK) != 0) {
        hotKeyModifiers |= MOD_WIN;
    }
    const int keyCode = static_cast<int>(msg->wParam);
    const auto found = accelerators.find(KeyStroke{keyCode, hotKeyModifiers, false});
    if (found == accelerators.end()) {
        return;
    }
    // A control that asks for the key as the dialog manager lets it ask (an open drop-down list for
    // Enter and Escape) gets it instead of the window.
    const LRESULT wanted = Toolkit::sendingMessages(
        [&] { return SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)); });
    if ((wanted & DLGC_WANTMESSAGE) != 0) {
        return;
    }
    KeyEvent event{static_cast<Component*>(window), false, KeyEvent::KEY_PRESSED, keyCode, modifiers};
    found->second->keyPressed(event);
    if (event.consumed) {
        *handled = true;
    }
}

void Window::KeyAcceleratorHandler::add(const KeyStroke& stroke, KeyListener* listener) {
    accelerators.emplace(stroke, listener);
}

void Window::addKeyAccelerator(const KeyStroke& stroke, KeyListener* listener) {
    klib::checkNotNull(L"listener", listener);
    if (!keyAccelerators) {
        keyAccelerators = std::make_unique<KeyAcceleratorHandler>(this);
    }
    keyAccelerators->add(stroke, listener);
}

}  // namespace awt
