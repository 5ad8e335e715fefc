#include "awt/WindowProcedure.h"

#include <exception>

#include "awt/AWTException.h"
#include "awt/Component.h"
#include "awt/Events.h"
#include "awt/Listeners.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"

namespace awt {

namespace {

// SetWindowLongPtrW returns the previous value, so 0 is a failure only with an error code.
LONG_PTR exchangeWindowLongPtr(HWND window, int index, LONG_PTR value) {
    SetLastError(0);
    const LONG_PTR previous = SetWindowLongPtrW(window, index, value);
    if (previous == 0) {
        const DWORD error = GetLastError();
        if (error != 0) {
            throwFailure(L"::SetWindowLongPtr", error);
        }
    }
    return previous;
}

// What a message whose handling failed is answered with: creation messages make creation fail,
// everything else gets 0. The default handling must not run (for WM_CLOSE it destroys the window).
LRESULT failedAnswer(UINT msg) noexcept {
    switch (msg) {
    case WM_NCCREATE:
        return FALSE;
    case WM_CREATE:
        return -1;
    default:
        return 0;
    }
}

// The object in the window's user data, without checking that the window is ours.
WindowProcedure* userData(HWND window) noexcept {
    return reinterpret_cast<WindowProcedure*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

WindowProcedure::WindowProcedure() noexcept : handle(nullptr), previousProcedure(DefWindowProcW) {}

WindowProcedure::~WindowProcedure() noexcept(false) {
    if (handle == nullptr) {
        return;
    }
    // Still bound: the destruction messages must not reach an object that is half destroyed, but the
    // window's own procedure must see them to free its state.
    if (userData(handle) == this) {
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
        restoreProcedure(handle, previousProcedure);
    }
    if (!DestroyWindow(handle)) {
        const DWORD error = GetLastError();
        if (std::uncaught_exceptions() > 0) {
            klib::reportIgnoredFailure(klib::failureText(L"::DestroyWindow"));
        } else {
            throwFailure(L"::DestroyWindow", error);
        }
    }
}

LRESULT WindowProcedure::callDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(previousProcedure, handle, msg, wParam, lParam);
}

void WindowProcedure::bindWindow(HWND window, WindowProcedure* object) {
    klib::checkNotNull(L"object", object);
    const LONG_PTR previousData = exchangeWindowLongPtr(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    if (previousData != 0) {
        // The window stays with the object it was bound to.
        SetWindowLongPtrW(window, GWLP_USERDATA, previousData);
        throw AWTException(L"window user data already set", -1);
    }
    LONG_PTR previous = 0;
    try {
        previous = exchangeWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&windowProc));
    } catch (...) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        throw;
    }
    const auto previousWindowProc = reinterpret_cast<WNDPROC>(previous);
    // Rebinding a window that already runs windowProc must not make it call itself.
    if (previousWindowProc != &windowProc) {
        object->previousProcedure = previousWindowProc;
    }
}

void WindowProcedure::unbindWindow(HWND window) {
    const LONG_PTR previousData = exchangeWindowLongPtr(window, GWLP_USERDATA, 0);
    if (previousData == 0) {
        throw AWTException(L"window user data broken", -1);
    }
    restoreProcedure(window, reinterpret_cast<WindowProcedure*>(previousData)->previousProcedure);
}

void WindowProcedure::restoreProcedure(HWND window, WNDPROC procedure) noexcept {
    // Only our own subclassing is undone; a procedure installed on top of ours stays.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &windowProc) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    }
}

WindowProcedure* WindowProcedure::fromWindow(HWND window) noexcept {
    // Another program's or another library's window may keep anything in its user data.
    if (window == nullptr || reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != &windowProc) {
        return nullptr;
    }
    return userData(window);
}

Component* WindowProcedure::componentFromWindow(HWND window) noexcept {
    return dynamic_cast<Component*>(fromWindow(window));
}

LRESULT CALLBACK WindowProcedure::windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        // Running here makes the window ours, also when a procedure installed on top of ours calls us.
        if (WindowProcedure* const object = userData(window)) {
            return object->handleMessage(msg, wParam, lParam);
        }
        return DefWindowProcW(window, msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the Win32 frames below us; the toolkit loop rethrows it.
        Toolkit::parkException(std::current_exception());
        return failedAnswer(msg);
    }
}

UINT_PTR WindowProcedure::setTimer(UINT elapseMs, ActionListener* listener) {
    if (handle == nullptr) {
        throw klib::IllegalStateException(L"no peer");
    }
    // The listener's address is the timer id: one timer per listener and window.
    const UINT_PTR timer = SetTimer(handle, reinterpret_cast<UINT_PTR>(listener), elapseMs, timerProc);
    if (timer == 0) {
        throwLastError(L"::SetTimer");
    }
    return timer;
}

BOOL WindowProcedure::killTimer(ActionListener* listener) {
    check(KillTimer(handle, reinterpret_cast<UINT_PTR>(listener)), L"::KillTimer");
    return TRUE;
}

void CALLBACK WindowProcedure::timerProc(HWND window, UINT /*msg*/, UINT_PTR id, DWORD /*time*/) noexcept {
    try {
        WindowProcedure* const object = fromWindow(window);
        if (object == nullptr) {
            return;
        }
        ActionEvent event{object, false};
        reinterpret_cast<ActionListener*>(id)->actionPerformed(event);
    } catch (...) {
        Toolkit::parkException(std::current_exception());
    }
}

}  // namespace awt
