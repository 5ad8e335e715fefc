#include "awt/Component.h"

#include <windowsx.h>

#include "awt/Container.h"
#include "awt/FocusTraversal.h"
#include "awt/Window.h"

// Component's message dispatch: geometry messages, focus, keys and the mouse become events.

namespace awt {

void Component::transferFocus(bool forward) {
    if (Component* const target = nextFocusTarget(this, forward)) {
        target->requestFocus();
    }
}

void Component::hover(int px, int py) {
    if (hovered) {
        return;
    }
    hovered = true;
    if (Window* const window = getTopLevelWindow()) {
        window->setMouseOwner(this, px, py);
    }
    MouseEvent event{static_cast<Component*>(this), false, MouseEvent::MOUSE_ENTERED, MouseEvent::NOBUTTON, px, py, 0};
    notifyListeners(&MouseListener::mouseEntered, event);
}

void Component::mouseExited(int px, int py) {
    hovered = false;
    MouseEvent event{static_cast<Component*>(this), false, MouseEvent::MOUSE_EXITED, MouseEvent::NOBUTTON, px, py, 0};
    notifyListeners(&MouseListener::mouseExited, event);
}

LRESULT Component::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY: {
        const HWND window = handle;
        unbindWindow(window);
        handle = nullptr;
        return CallWindowProcW(previousProcedure, window, msg, wParam, lParam);
    }
    case WM_MOVE: {
        RECT rect;
        getWindowRect(&rect);
        POINT corner{rect.left, rect.top};
        if (isChild() && parent != nullptr) {
            parent->screenToClient(&corner);
            const Point offset = parent->getClientOffset();
            corner.x += offset.x;
            corner.y += offset.y;
        }
        x = corner.x;
        y = corner.y;
        return callDefault(msg, wParam, lParam);
    }
    case WM_SIZE: {
        RECT rect;
        getWindowRect(&rect);
        const int newWidth = rect.right - rect.left;
        const int newHeight = rect.bottom - rect.top;
        if (newWidth != width || newHeight != height) {
            width = newWidth;
            height = newHeight;
            invalidate();
        }
        return callDefault(msg, wParam, lParam);
    }
    case WM_SETFOCUS:
        return handleFocus(msg, wParam, lParam, true);
    case WM_KILLFOCUS:
        return handleFocus(msg, wParam, lParam, false);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return handleKey(msg, wParam, lParam, KeyEvent::KEY_PRESSED);
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return handleKey(msg, wParam, lParam, KeyEvent::KEY_RELEASED);
    case WM_CHAR:
        return handleKey(msg, wParam, lParam, KeyEvent::KEY_TYPED);
    default:
        if (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK) {
            return handleMouse(msg, wParam, lParam, false);
        }
        if (msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK) {
            return handleMouse(msg, wParam, lParam, true);
        }
        return callDefault(msg, wParam, lParam);
    }
}

LRESULT Component::handleFocus(UINT msg, WPARAM wParam, LPARAM lParam, bool gained) {
    FocusEvent event{static_cast<Component*>(this), false};
    notifyListeners(gained ? &FocusListener::focusGained : &FocusListener::focusLost, event);
    if (event.consumed) {
        return 0;
    }
    return callDefault(msg, wParam, lParam);
}

LRESULT Component::handleKey(UINT msg, WPARAM wParam, LPARAM lParam, int id) {
    const int keyCode = static_cast<int>(wParam);
    KeyEvent event{static_cast<Component*>(this), false, id, keyCode, getModifiers()};
    void (KeyListener::*operation)(KeyEvent&) = &KeyListener::keyPressed;
    if (id == KeyEvent::KEY_RELEASED) {
        operation = &KeyListener::keyReleased;
    } else if (id == KeyEvent::KEY_TYPED) {
        operation = &KeyListener::keyTyped;
    }
    notifyListeners(operation, event);
    bool consumed = event.consumed;
    if (!consumed) {
        // Tab never reaches the control: with no modifier or Shift alone it moves the focus.
        const int modifiers = getModifiers();
        if (keyCode == VK_TAB && (modifiers == 0 || modifiers == SHIFT_MASK)) {
            consumed = true;
            if (id == KeyEvent::KEY_PRESSED) {
                transferFocus(modifiers == 0);
            }
        }
    }
    if (consumed) {
        return 0;
    }
    return callDefault(msg, wParam, lParam);
}

LRESULT Component::handleMouse(UINT msg, WPARAM wParam, LPARAM lParam, bool clientArea) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!clientArea) {
        screenToClient(&point);
    }
    const Point offset = getClientOffset();
    const int px = point.x + offset.x;
    const int py = point.y + offset.y;
    hover(px, py);
    const UINT first = clientArea ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN;
    if (msg < first) {
        // Plain moves only track hovering.
        return callDefault(msg, wParam, lParam);
    }
    const UINT step = msg - first;
    const int button = static_cast<int>(step / 3) + 1;
    int id = MouseEvent::MOUSE_PRESSED;
    int clickCount = 1;
    void (MouseListener::*operation)(MouseEvent&) = &MouseListener::mousePressed;
    if (step % 3 == 1) {
        id = MouseEvent::MOUSE_RELEASED;
        operation = &MouseListener::mouseReleased;
    } else if (step % 3 == 2) {
        id = MouseEvent::MOUSE_DOUBLE_CLICKED;
        clickCount = 2;
        operation = &MouseListener::mouseDoubleClicked;
    }
    MouseEvent event{static_cast<Component*>(this), false, id, button, px, py, clickCount};
    notifyListeners(operation, event);
    if (event.consumed) {
        return 0;
    }
    return callDefault(msg, wParam, lParam);
}

}  // namespace awt
