#include "screensaver/DummyParent.h"

#include "awt/Toolkit.h"

namespace screensaver {

DummyParent::DummyParent(HWND window) : awt::Window(nullptr), adopted(window) {
    handle = window;  // deliberately not bound
    cachedToolkit = awt::Toolkit::forCurrentThread();
    setVisibleFlag(true);
    RECT rect{};
    GetWindowRect(window, &rect);
    x = rect.left;
    y = rect.top;
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    // Measured here without failing, so that a window handle that is no window is reported where a
    // child is created inside it, not while measuring it.
    POINT corner{rect.left, rect.top};
    if (ScreenToClient(window, &corner)) setClientOffset(awt::Point{-corner.x, -corner.y});
    else setClientOffset(awt::Point{0, 0});
}

DummyParent::~DummyParent() noexcept(false) {
    // The adopted window belongs to someone else: forget it before the bases would destroy it.
    handle = nullptr;
}

void DummyParent::repaint(int, int, int, int) {}

void DummyParent::update() {}

}  // namespace screensaver
