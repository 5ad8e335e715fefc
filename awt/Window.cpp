#include "awt/Window.h"

#include <algorithm>
#include <exception>

#include "awt/AWTException.h"
#include "awt/Screen.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"
#include "klib/FirstFailure.h"

namespace awt {

namespace {

// Centres extent inside a reference span; the division truncates toward zero. 64-bit, because the
// stored sizes may still be CW_USEDEFAULT.
int centred(int referenceStart, int referenceExtent, int extent) {
    return static_cast<int>(referenceStart + (static_cast<long long>(referenceExtent) - extent) / 2);
}

void eraseWindow(std::vector<Window*>& windows, const Window* window) {
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

}  // namespace

Window::Window(Window* owner)
    : alwaysOnTop(false),
      defaultCloseOperation(CLOSE_HIDE),
      mouseOwner(nullptr),
      lastFocused(nullptr) {
    parent = owner;
    setVisibleFlag(false);
    // The system chooses what the application did not set before creation.
    x = CW_USEDEFAULT;
    y = CW_USEDEFAULT;
    width = CW_USEDEFAULT;
    height = CW_USEDEFAULT;
    if (owner != nullptr) {
        owner->ownedWindows.push_back(this);
    }
}

Window::~Window() noexcept(false) {
    klib::FirstFailure failure;
    while (!ownedWindows.empty()) {
        // Taken off the list first, so its own destructor finds nothing to erase here.
        Window* const owned = ownedWindows.back();
        ownedWindows.pop_back();
        failure.run([owned] { delete owned; });
    }
    if (Window* const owner = getOwner()) {
        eraseWindow(owner->ownedWindows, this);
    }
    failure.run([this] {
        if (childrenMonitor) {
            childrenMonitor->detachTree(this);
            childrenMonitor.reset();
        }
        if (keyAccelerators) {
            Toolkit* const toolkit = cachedToolkit != nullptr ? cachedToolkit : Toolkit::forCurrentThread();
            toolkit->removeMessagePreprocessor(keyAccelerators.get());
            keyAccelerators.reset();
        }
    });
    menuBar.reset();
    minimumSize.reset();
    failure.rethrow(L"~Window(): an owned window or the accelerator table failed");
}

Toolkit* Window::getToolkit() {
    if (handle != nullptr && cachedToolkit != nullptr) {
        return cachedToolkit;
    }
    return Toolkit::forCurrentThread();
}

void Window::notifyWindowListeners(void (WindowListener::*operation)(WindowEvent&)) {
    WindowEvent event{static_cast<Component*>(this), false};
    notifyListeners(operation, event);
}

LRESULT Window::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DESTROY: {
        // The window must be unbound even if a listener throws.
        std::exception_ptr failure;
        try {
            notifyWindowListeners(&WindowListener::windowClosed);
        } catch (...) {
            failure = std::current_exception();
        }
        const LRESULT result = Container::handleMessage(msg, wParam, lParam);
        if (failure) {
            std::rethrow_exception(failure);
        }
        return result;
    }
    case WM_ACTIVATE: {
        const WORD activation = LOWORD(wParam);
        if (activation == WA_ACTIVE || activation == WA_CLICKACTIVE) {
            if (keyAccelerators) {
                getToolkit()->addMessagePreprocessor(keyAccelerators.get());
            }
            notifyWindowListeners(&WindowListener::windowActivated);
        } else {
            if (keyAccelerators) {
                getToolkit()->removeMessagePreprocessor(keyAccelerators.get());
            }
            notifyWindowListeners(&WindowListener::windowDeactivated);
        }
        return Container::handleMessage(msg, wParam, lParam);
    }
    case WM_SETFOCUS:
        if (lastFocused != nullptr) {
            lastFocused->requestFocus();
        }
        return Container::handleMessage(msg, wParam, lParam);
    case WM_CLOSE:
        closeRequested();
        return 0;
    case WM_GETMINMAXINFO:
        if (minimumSize) {
            MINMAXINFO* const info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = minimumSize->width;
            info->ptMinTrackSize.y = minimumSize->height;
        }
        return Container::handleMessage(msg, wParam, lParam);
    case WM_SYSCOMMAND:
        // The low four bits of the command are the system's own.
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            closeRequested();
            return 0;
        }
        return Container::handleMessage(msg, wParam, lParam);
    case WM_ENTERIDLE:
        getToolkit()->idle();
        return Container::handleMessage(msg, wParam, lParam);
    case WM_SIZING:
        if (isFullWindowDrag()) {
            const RECT* const proposed = reinterpret_cast<const RECT*>(lParam);
            const int newWidth = proposed->right - proposed->left;
            const int newHeight = proposed->bottom - proposed->top;
            if (newWidth != width || newHeight != height) {
                width = newWidth;
                height = newHeight;
                invalidate();
                // Lay out and repaint while the user is still dragging.
                getToolkit()->idle();
            }
        }
        return Container::handleMessage(msg, wParam, lParam);
    default: {
        bool handled = false;
        const LRESULT result = getToolkit()->handleMenuCommand(msg, wParam, lParam, &handled);
        if (handled) {
            return result;
        }
        return Container::handleMessage(msg, wParam, lParam);
    }
    }
}

void Window::closeRequested() {
    WindowEvent event{static_cast<Component*>(this), false};
    notifyListeners(&WindowListener::windowClosing, event);
    if (event.consumed) {
        return;
    }
    switch (defaultCloseOperation) {
    case CLOSE_HIDE:
        setVisible(false);
        break;
    case CLOSE_DISPOSE:
        dispose();
        break;
    case CLOSE_DISPOSE_AND_DELETE:
        dispose();
        // Our own message is still being handled: delete in a later idle step.
        getToolkit()->deleteLater(this);
        break;
    case CLOSE_QUIT:
        // Only the innermost loop: a modal loop returns, the loop around it goes on.
        getToolkit()->endModal(this);
        break;
    default:
        break;
    }
}

const wchar_t* Window::getClassName() const {
    return MAKEINTATOM(Toolkit::getWindowClass());
}

DWORD Window::getStyle() const {
    return Container::getStyle() | WS_POPUP;
}

DWORD Window::getExStyle() const {
    return Container::getExStyle() | (alwaysOnTop ? WS_EX_TOPMOST : 0);
}

HWND Window::createWindow() {
    const HWND window = Container::createWindow();
    RECT rect;
    if (!GetWindowRect(window, &rect)) {
        const DWORD error = GetLastError();
        DestroyWindow(window);
        throwFailure(L"::GetWindowRect", error);
    }
    x = rect.left;
    y = rect.top;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    return window;
}

bool Window::isChild() const {
    return false;
}

Dimension Window::getMinimumSize() const {
    if (minimumSize) {
        return *minimumSize;
    }
    return Dimension{0, 0};
}

void Window::setVisible(bool visible) {
    if (visible) {
        addNotify();
    }
    Container::setVisible(visible);
    if (visible) {
        // Laid out first: an edit control that is focused and selected while it is still 0 x 0 scrolls its
        // text out of sight and keeps it there.
        getToolkit()->validatePending();
        requestFocus();
    }
}

void Window::setTreeEnabled(bool enabled) {
    if (menuBar) {
        menuBar->setEnabled(enabled);
    }
    Container::setTreeEnabled(enabled);
}

void Window::addNotify() {
    if (handle != nullptr) {
        return;
    }
    cachedToolkit = Toolkit::forCurrentThread();
    Container::addNotify();
    if (menuBar) {
        menuBar->addNotify();
    }
    if (!childrenMonitor) {
        childrenMonitor = std::make_unique<ChildrenMonitor>(this);
        childrenMonitor->attachTree(this);
    }
    for (std::size_t i = 0; i < ownedWindows.size(); ++i) {
        ownedWindows[i]->addNotify();
    }
}

void Window::removeNotify() {
    for (std::size_t i = 0; i < ownedWindows.size(); ++i) {
        ownedWindows[i]->removeNotify();
    }
    if (keyAccelerators) {
        getToolkit()->removeMessagePreprocessor(keyAccelerators.get());
    }
    if (menuBar) {
        menuBar->removeNotify();
    }
    Container::removeNotify();
}

void Window::setMenuBar(MenuBar* newMenuBar) {
    klib::checkNotNull(L"menuBar", newMenuBar);
    removeMenuBar();
    menuBar.reset(newMenuBar);
    newMenuBar->setWindow(this);
    if (handle != nullptr) {
        newMenuBar->addNotify();
    }
    invalidate();
}

void Window::removeMenuBar() {
    if (!menuBar) {
        return;
    }
    if (handle != nullptr) {
        menuBar->removeNotify();
    }
    menuBar->setWindow(nullptr);
    // The detached bar goes back to the caller.
    static_cast<void>(menuBar.release());
    invalidate();
}

void Window::setAlwaysOnTop(bool onTop) {
    if (onTop == alwaysOnTop) {
        return;
    }
    alwaysOnTop = onTop;
    if (handle != nullptr) {
        setWindowPos(onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
    }
}

void Window::setMinimumSize(int minimumWidth, int minimumHeight) {
    if (!minimumSize) {
        minimumSize = std::make_unique<Dimension>();
    }
    *minimumSize = Dimension{minimumWidth, minimumHeight};
}

void Window::setDefaultCloseOperation(int operation) {
    defaultCloseOperation = operation;
}

void Window::toFront() {
    if (handle != nullptr && isVisible()) {
        Toolkit::sendingMessages([&] { return SetForegroundWindow(handle); });
    }
}

void Window::toBack() {
    if (handle != nullptr && isVisible()) {
        setWindowPos(HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

void Window::dispose() {
    setVisible(false);
    removeNotify();
}

Window* Window::getOwner() const noexcept {
    return dynamic_cast<Window*>(parent);
}

void Window::pack() {
    addNotify();
    const Dimension preferred = getPreferredSize();
    setSize(preferred.width, preferred.height);
}

void Window::center() {
    Rectangle reference{0, 0, 0, 0};
    if (isChild()) {
        if (parent == nullptr) {
            throw klib::IllegalStateException(L"no parent");
        }
        // A child's location is in its parent's coordinates.
        reference = Rectangle{0, 0, parent->getWidth(), parent->getHeight()};
    } else if (parent != nullptr) {
        reference = parent->getBounds();
    } else {
        addNotify();
        const RECT work = getWorkArea(handle);
        reference = Rectangle{work.left, work.top, work.right - work.left, work.bottom - work.top};
    }
    setLocation(centred(reference.x, reference.width, width), centred(reference.y, reference.height, height));
}

void Window::addWindowListener(WindowListener* listener) {
    addListener(WindowListener::TAG, listener);
}

void Window::removeWindowListener(WindowListener* listener) {
    removeListener(WindowListener::TAG, listener);
}

}  // namespace awt
