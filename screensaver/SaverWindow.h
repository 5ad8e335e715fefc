#pragma once

#include <windows.h>

#include "awt/Listeners.h"
#include "awt/Window.h"
#include "screensaver/Renderer.h"

namespace screensaver {

// A topmost awt::Window over the primary screen that hides the cursor while its native window lives and
// lets a Renderer draw it. It listens to itself: a key or button press, the wheel, a mouse move away from
// the first position seen, deactivation or SC_SCREENSAVE call endSaving, which posts quit 0.
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
    // that exists already is left as it is.
    void addNotify() override;
    void removeNotify() override;

    // Not owned; must be set before the window is shown and outlive its native window.
    void setRenderer(Renderer* renderer) noexcept { this->renderer = renderer; }
    // Shows the cursor, hides the window and asks the loop to end with 0; once per native window; later
    // calls do nothing.
    void endSaving();

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
    Renderer* renderer;  // not owned
    // Where the first mouse-move message found the mouse; -1 until then.
    int firstMouseX;
    int firstMouseY;
    bool ended;  // endSaving ran since the native window was created
};

}  // namespace screensaver
