#pragma once

#include <windows.h>

#include "awt/Window.h"

namespace screensaver {

// Stands for a native window of another program (the host's preview area or dialog) so that
// toolkit windows can live inside it or be owned by it. The adopted window keeps its own procedure
// and user data; none of its messages reach the toolkit, and it is never modified or destroyed.
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
