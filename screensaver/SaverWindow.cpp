#include "screensaver/SaverWindow.h"

#include "awt/Screen.h"
#include "awt/Toolkit.h"

namespace screensaver {

SaverWindow::SaverWindow()
    : awt::Window(nullptr), renderer(nullptr), firstMouseX(-1), firstMouseY(-1), ended(false), displayOff(false) {
    coverVirtualScreen();
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
        // The low four bits of the command are the system's own. Saving is what runs already: the
        // default handling would start the saver again.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE) return 0;
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
    case WM_MOUSEHWHEEL:
    case WM_XBUTTONDOWN:
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
    case WM_POWERBROADCAST:
        if (wParam == PBT_POWERSETTINGCHANGE) {
            const DisplayStateNotification::State state = DisplayStateNotification::stateOf(lParam);
            if (state != DisplayStateNotification::NOT_DISPLAY_STATE) {
                displayStateChanged(state);
                return TRUE;
            }
        }
        break;
    case WM_DISPLAYCHANGE:
        displayChanged();
        break;
    default:
        break;
    }
    return awt::Window::handleMessage(msg, wParam, lParam);
}

HWND SaverWindow::createWindow() {
    HWND window = awt::Window::createWindow();
    cursor.hide();
    ended = false;
    return window;
}

void SaverWindow::addNotify() {
    // Only a new native window starts the renderer: start and stop alternate with the window's life,
    // so showing an existing window again neither reseeds the board nor restarts the timer.
    const bool creating = handle == nullptr;
    awt::Window::addNotify();
    if (!creating) return;
    if (renderer) renderer->start(this, handle);
    displayOff = false;
    // Without the notification the saver merely keeps computing while the display is off.
    displayState.registerFor(handle);
}

void SaverWindow::removeNotify() {
    displayState.release();
    cursor.show();
    if (renderer) renderer->stop(this);
    awt::Window::removeNotify();
}

Cover coverScreen(const RECT& screen, awt::Point location, awt::Point firstMouse) noexcept {
    Cover cover{awt::Rectangle{screen.left, screen.top, screen.right - screen.left, screen.bottom - screen.top},
                firstMouse};
    if (firstMouse.x != -1 || firstMouse.y != -1) {
        // Mouse positions are relative to the window: a recorded one must stay the same screen point.
        cover.firstMouse = awt::Point{firstMouse.x + location.x - screen.left, firstMouse.y + location.y - screen.top};
    }
    return cover;
}

void SaverWindow::coverVirtualScreen() {
    const Cover cover = coverScreen(awt::getVirtualScreen(), getLocation(), awt::Point{firstMouseX, firstMouseY});
    firstMouseX = cover.firstMouse.x;
    firstMouseY = cover.firstMouse.y;
    setBounds(cover.bounds.x, cover.bounds.y, cover.bounds.width, cover.bounds.height);
}

void SaverWindow::displayStateChanged(DisplayStateNotification::State state) {
    const bool off = state == DisplayStateNotification::OFF;
    if (off == displayOff) return;
    displayOff = off;
    if (renderer == nullptr || handle == nullptr) return;
    if (off) {
        renderer->suspend(this);
    } else {
        renderer->resume(this);
    }
}

void SaverWindow::displayChanged() {
    if (handle == nullptr) return;
    coverVirtualScreen();
    if (renderer == nullptr) return;
    // A new board for the new area, seeded from what the screen shows now.
    renderer->stop(this);
    renderer->start(this, handle);
    if (displayOff) renderer->suspend(this);
    repaint(0, 0, width, height);
}

void SaverWindow::endSaving() {
    // One sign of the user arrives as several messages (a deactivation as three); the cursor hidden
    // once is shown once.
    if (ended) return;
    ended = true;
    cursor.show();
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
