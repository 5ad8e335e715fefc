#include "screensaver/SaverWindow.h"

#include "awt/Toolkit.h"

namespace screensaver {

SaverWindow::SaverWindow()
    : awt::Window(nullptr), renderer(nullptr), firstMouseX(-1), firstMouseY(-1), ended(false) {
    setBounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    setAlwaysOnTop(true);
    addMouseListener(this);
    addKeyListener(this);
    addWindowListener(this);
    setDefaultCloseOperation(CLOSE_QUIT);
}

SaverWindow::~SaverWindow() noexcept(false) = default;

LRESULT SaverWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        if (wParam == 0) endSaving();
        break;
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE) endSaving();
        break;
    case WM_MOUSEMOVE: {
        const int x = static_cast<short>(LOWORD(lParam));
        const int y = static_cast<short>(HIWORD(lParam));
        if (firstMouseX == -1 && firstMouseY == -1) {
            firstMouseX = x;
            firstMouseY = y;
        } else if (x != firstMouseX || y != firstMouseY) {
            endSaving();
        }
        break;
    }
    case WM_MOUSEWHEEL:
        endSaving();
        break;
    case WM_PAINT:
        paintThrough(renderer, this);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        // The default handling would bring back the class's arrow.
        SetCursor(nullptr);
        return TRUE;
    default:
        break;
    }
    return awt::Window::handleMessage(msg, wParam, lParam);
}

HWND SaverWindow::createWindow() {
    HWND window = awt::Window::createWindow();
    ShowCursor(FALSE);
    ended = false;
    return window;
}

void SaverWindow::addNotify() {
    // Only a new native window starts the renderer: start and stop alternate with the window's life,
    // so showing an existing window again neither reseeds the board nor restarts the timer.
    const bool creating = handle == nullptr;
    awt::Window::addNotify();
    if (renderer && creating) renderer->start(this, handle);
}

void SaverWindow::removeNotify() {
    if (renderer) renderer->stop(this);
    awt::Window::removeNotify();
}

void SaverWindow::endSaving() {
    // One sign of the user arrives as several messages (a deactivation as three); the cursor hidden
    // once is shown once.
    if (ended) return;
    ended = true;
    ShowCursor(TRUE);
    setVisible(false);
    getToolkit()->postQuit(0);
}

void SaverWindow::windowDeactivated(awt::WindowEvent&) {
    endSaving();
}

void SaverWindow::mousePressed(awt::MouseEvent&) {
    endSaving();
}

void SaverWindow::keyPressed(awt::KeyEvent&) {
    endSaving();
}

// The rest of what the window hears is no sign of the user.
void SaverWindow::windowActivated(awt::WindowEvent&) {}
void SaverWindow::windowClosing(awt::WindowEvent&) {}
void SaverWindow::windowClosed(awt::WindowEvent&) {}
void SaverWindow::mouseEntered(awt::MouseEvent&) {}
void SaverWindow::mouseExited(awt::MouseEvent&) {}
void SaverWindow::mouseReleased(awt::MouseEvent&) {}
void SaverWindow::mouseDoubleClicked(awt::MouseEvent&) {}
void SaverWindow::keyReleased(awt::KeyEvent&) {}
void SaverWindow::keyTyped(awt::KeyEvent&) {}

}  // namespace screensaver
