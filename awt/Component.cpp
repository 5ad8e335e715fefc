#include "awt/Component.h"

#include <exception>

#include "awt/AWTException.h"
#include "awt/Container.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"
#include "klib/Exception.h"

// The peer's life and state; geometry and painting have files of their own. Win32 reports the focus,
// hover and paint messages it sends synchronously through our own window procedures; what those parked
// is rethrown right after the sending call, in our own frames.

namespace awt {

Component::Component()
    : x(0),
      y(0),
      width(0),
      height(0),
      foreground(SYSTEM_COLOR),
      background(SYSTEM_COLOR),
      parent(nullptr),
      cachedToolkit(nullptr),
      state(VISIBLE | ENABLED),
      clientOffset{-1, -1},
      hovered(false),
      queuedToolkit(nullptr) {}

Component::~Component() noexcept(false) {
    if (queuedToolkit != nullptr) {
        // The idle step must never reach a deleted component.
        queuedToolkit->cancelPending(this);
    }
    if (handle != nullptr) {
        // Unbound first, so the destruction messages the base causes go to DefWindowProcW only.
        try {
            unbindWindow(handle);
        } catch (const klib::Exception& failure) {
            if (std::uncaught_exceptions() == 0) {
                throw;
            }
            klib::reportIgnoredFailure(L"~Component(): " + failure.toString());
        }
    }
}

Toolkit* Component::getToolkit() {
    if (parent == nullptr) {
        return Toolkit::forCurrentThread();
    }
    if (cachedToolkit == nullptr) {
        cachedToolkit = parent->getToolkit();
    }
    return cachedToolkit;
}

const wchar_t* Component::getWindowText() const {
    return nullptr;
}

DWORD Component::getStyle() const {
    DWORD style = WS_CLIPSIBLINGS;
    if (isVisible()) {
        style |= WS_VISIBLE;
    }
    if (!isEnabled()) {
        style |= WS_DISABLED;
    }
    if (isChild()) {
        style |= WS_CHILD;
    }
    return style;
}

DWORD Component::getExStyle() const {
    return WS_EX_NOPARENTNOTIFY;
}

HWND Component::createWindow() {
    const Point location = toPeerLocation(x, y);
    // The order of the four calls is part of the contract with subclasses.
    const DWORD style = getStyle();
    const wchar_t* const text = getWindowText();
    const wchar_t* const className = getClassName();
    const DWORD exStyle = getExStyle();
    const HWND parentWindow = parent != nullptr ? parent->getHandle() : nullptr;
    const HWND window = CreateWindowExW(exStyle, className, text, style, location.x, location.y, width, height,
                                        parentWindow, nullptr, Toolkit::getInstanceHandle(), nullptr);
    const DWORD error = GetLastError();
    if (window == nullptr) {
        Toolkit::rethrowParked();
        throwFailure(L"::CreateWindowEx", error);
    }
    try {
        Toolkit::rethrowParked();
    } catch (...) {
        DestroyWindow(window);
        throw;
    }
    return window;
}

void Component::initWindow() {
    const HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    if (font == nullptr) {
        return;
    }
    sendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void Component::fontChanged() {}

LRESULT Component::handleCommand(WORD, WPARAM, bool*) {
    return 0;
}

LRESULT Component::handleNotify(UINT, NMHDR*, bool*) {
    return 0;
}

LRESULT Component::handleScroll(WPARAM, WORD, bool*) {
    return 0;
}

bool Component::isChild() const {
    return true;
}

void Component::setVisibleFlag(bool visible) noexcept {
    if (visible) {
        state |= VISIBLE;
    } else {
        state &= static_cast<unsigned char>(~VISIBLE);
    }
}

void Component::setVisible(bool visible) {
    if (isVisible() == visible) {
        return;
    }
    setVisibleFlag(visible);
    if (handle == nullptr) {
        return;
    }
    if (visible) {
        showWindow(SW_SHOW);
        invalidate();
        repaint(0, 0, width, height);
    } else {
        showWindow(SW_HIDE);
    }
    if (parent != nullptr && isChild()) {
        parent->invalidate();
    }
}

void Component::setEnabled(bool enabled) {
    if (isEnabled() == enabled) {
        return;
    }
    if (enabled) {
        state |= ENABLED;
    } else {
        state &= static_cast<unsigned char>(~ENABLED);
    }
    if (handle != nullptr) {
        Toolkit::sendingMessages([&] { return EnableWindow(handle, enabled ? TRUE : FALSE); });
    }
}

void Component::setTreeEnabled(bool enabled) {
    setEnabled(enabled);
}

void Component::requestFocus() {
    if (handle != nullptr) {
        focusWindow();
    }
}

void Component::addNotify() {
    if (handle != nullptr) {
        return;
    }
    const HWND window = createWindow();
    handle = window;
    try {
        bindWindow(window, this);
    } catch (...) {
        handle = nullptr;
        DestroyWindow(window);
        throw;
    }
    initWindow();
}

void Component::removeNotify() {
    if (handle == nullptr) {
        return;
    }
    if (!DestroyWindow(handle)) {
        const DWORD error = GetLastError();
        Toolkit::rethrowParked();
        throwFailure(L"::DestroyWindow", error);
    }
    // WM_DESTROY normally cleared it already; a handler that threw before unbinding may have left it.
    handle = nullptr;
    if (queuedToolkit != nullptr) {
        queuedToolkit->cancelPending(this);
        queuedToolkit = nullptr;
    }
    cachedToolkit = nullptr;
    clientOffset.x = -1;
    backgroundBrush.release();
    Toolkit::rethrowParked();
}

void Component::validate() {
    clientOffset.x = -1;
}

bool Component::isShowing() const {
    if (handle == nullptr || !IsWindowVisible(handle)) {
        return false;
    }
    POINT origin{0, 0};
    if (!ClientToScreen(handle, &origin)) {
        return false;
    }
    return Toolkit::sendingMessages([&] { return WindowFromPoint(origin); }) == handle;
}

bool Component::hasTabStop() const {
    // Child windows only: for a top-level window the bit is WS_MAXIMIZEBOX.
    return isChild() && handle != nullptr && (GetWindowLongPtrW(handle, GWL_STYLE) & WS_TABSTOP) != 0;
}

LRESULT Component::sendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return Toolkit::sendingMessages([&] { return SendMessageW(handle, msg, wParam, lParam); });
}

void Component::showWindow(int command) {
    Toolkit::sendingMessages([&] { return ShowWindow(handle, command); });
}

void Component::focusWindow() {
    Toolkit::sendingMessages([&] { return SetFocus(handle); });
}

Window* Component::getTopLevelWindow() {
    if (!isChild()) {
        return dynamic_cast<Window*>(this);
    }
    Component* ancestor = parent;
    while (ancestor != nullptr && ancestor->isChild()) {
        ancestor = ancestor->parent;
    }
    return dynamic_cast<Window*>(ancestor);
}

void Component::setWindowText(const wchar_t* text) {
    DWORD error = 0;
    const BOOL done = Toolkit::sendingMessages([&] {
        const BOOL set = SetWindowTextW(handle, text);
        error = GetLastError();
        return set;
    });
    if (!done) {
        throwFailure(L"::SetWindowText", error);
    }
}

void Component::addStyle(DWORD bits) {
    changeStyle(0, bits);
}

void Component::removeStyle(DWORD bits) {
    changeStyle(bits, 0);
}

void Component::changeStyle(DWORD remove, DWORD add) {
    const LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
    Toolkit::sendingMessages([&] {
        return SetWindowLongPtrW(handle, GWL_STYLE,
                                 (style & ~static_cast<LONG_PTR>(remove)) | static_cast<LONG_PTR>(add));
    });
}

void Component::addMouseListener(MouseListener* listener) {
    addListener(MouseListener::TAG, listener);
}

void Component::removeMouseListener(MouseListener* listener) {
    removeListener(MouseListener::TAG, listener);
}

void Component::addKeyListener(KeyListener* listener) {
    addListener(KeyListener::TAG, listener);
}

void Component::removeKeyListener(KeyListener* listener) {
    removeListener(KeyListener::TAG, listener);
}

void Component::addFocusListener(FocusListener* listener) {
    addListener(FocusListener::TAG, listener);
}

void Component::removeFocusListener(FocusListener* listener) {
    removeListener(FocusListener::TAG, listener);
}

void Component::addListener(const wchar_t* tag, EventListener* listener) {
    listeners.add(tag, listener);
}

void Component::removeListener(const wchar_t* tag, EventListener* listener) {
    listeners.remove(tag, listener);
}

}  // namespace awt
