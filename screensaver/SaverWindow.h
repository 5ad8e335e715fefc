#pragma once

#include <windows.h>

#include "awt/Geometry.h"
#include "awt/Listeners.h"
#include "awt/Window.h"
#include "screensaver/DisplayStateNotification.h"
#include "screensaver/HiddenCursor.h"
#include "screensaver/Renderer.h"

namespace screensaver {

// Where the saver window goes to cover screen (the virtual screen) from location, and the first mouse
// position it recorded, relative to the window, moved so it stays the same screen point; (-1, -1), none
// recorded yet, stays.
struct Cover {
    awt::Rectangle bounds;
    awt::Point firstMouse;
};
Cover coverScreen(const RECT& screen, awt::Point location, awt::Point firstMouse) noexcept;

// The full-screen saver: a topmost popup over the whole virtual screen (every monitor) that hides the
// cursor, hands its drawing to a renderer and ends the toolkit loop with 0 on the first sign of the
// user. The renderer is suspended while the display is off, and starts afresh over the new virtual screen
// when the display layout changes.
class SaverWindow : public awt::Window,
                    public awt::WindowListener,
                    public awt::MouseListener,
                    public awt::KeyListener {
public:
    SaverWindow();
    ~SaverWindow() noexcept(false) override;

    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Creates the window and hides the cursor.
    HWND createWindow() override;
    // Creates the native window, then starts the renderer while the window is still hidden; a window
    // that exists already is left as it is. Asks to hear of the display going off and on.
    void addNotify() override;
    // Stops asking about the display, shows the cursor and stops the renderer, then destroys the window.
    void removeNotify() override;

    // Not owned; must be set before the window is shown and outlive its native window.
    void setRenderer(Renderer* renderer) noexcept { this->renderer = renderer; }
    // Shows the cursor, hides the window and asks the loop to end with 0; once per native window; later
    // calls do nothing.
    void endSaving();
    // What the window asked to hear about the display.
    const DisplayStateNotification& getDisplayState() const noexcept { return displayState; }

    void windowActivated(awt::WindowEvent& event) override;
    void windowDeactivated(awt::WindowEvent& event) override;
    void windowClosing(awt::WindowEvent& event) override;
    void windowClosed(awt::WindowEvent& event) override;
    void mouseEntered(awt::MouseEvent& event) override;
    void mouseExited(awt::MouseEvent& event) override;
    void mousePressed(awt::MouseEvent& event) override;
    void mouseReleased(awt::MouseEvent& event) override;
    void mouseDoubleClicked(awt::MouseEvent& event) override;
    void keyPressed(awt::KeyEvent& event) override;
    void keyReleased(awt::KeyEvent& event) override;
    void keyTyped(awt::KeyEvent& event) override;

private:
    // Covers the virtual screen, keeping the recorded mouse position at the same screen point.
    void coverVirtualScreen();
    void displayStateChanged(DisplayStateNotification::State state);
    void displayChanged();

    Renderer* renderer;  // not owned
    // Where the first mouse-move message found the mouse; -1 until then.
    int firstMouseX;
    int firstMouseY;
    bool ended;  // endSaving ran since the native window was created
    bool displayOff;
    DisplayStateNotification displayState;
    // Hidden while the native window exists and saving goes on; whatever ends the window shows it.
    HiddenCursor cursor;
};

}  // namespace screensaver
