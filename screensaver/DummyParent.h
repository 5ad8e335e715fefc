#pragma once

#include <windows.h>

#include "awt/Window.h"

namespace screensaver {

// An awt::Window whose handle is a window of another process (the host's preview area or dialog), so
// that our windows can be its children or be owned by it. The window is not bound: its procedure and
// user data stay as they are, none of its messages reach us, and we never destroy it.
class DummyParent : public awt::Window {
public:
    explicit DummyParent(HWND window);
    ~DummyParent() noexcept(false) override;

    HWND getAdoptedWindow() const noexcept { return adopted; }

    // The adopted window repaints itself; a request from a child must not reach it, nor may the
    // toolkit's update queue keep a window that its owner may destroy at any time.
    void repaint(int x, int y, int width, int height) override;
    void update() override;

private:
    HWND adopted;  // not owned
};

}  // namespace screensaver
