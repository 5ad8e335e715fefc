#include "awt/Component.h"

#include "awt/AWTException.h"
#include "awt/Container.h"
#include "awt/Toolkit.h"

// Bounds and coordinates: stored always, passed on to a live peer, the uncovered strips repainted.

namespace awt {

Point Component::toPeerLocation(int px, int py) {
    if (isChild() && parent != nullptr) {
        const Point offset = parent->getClientOffset();
        return Point{px - offset.x, py - offset.y};
    }
    return Point{px, py};
}

void Component::setLocation(int newX, int newY) {
    if (newX == x && newY == y) {
        return;
    }
    const int oldX = x;
    const int oldY = y;
    x = newX;
    y = newY;
    if (handle == nullptr) {
        return;
    }
    const Point location = toPeerLocation(x, y);
    setWindowPos(nullptr, location.x, location.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
    if (parent != nullptr && isChild()) {
        parent->repaintRect(oldX, oldY, width, height);
    }
    repaint(0, 0, width, height);
}

void Component::setSize(int newWidth, int newHeight) {
    if (newWidth == width && newHeight == height) {
        return;
    }
    const int oldWidth = width;
    const int oldHeight = height;
    width = newWidth;
    height = newHeight;
    if (handle == nullptr) {
        return;
    }
    setWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
    repaintParentShrunkStrips(oldWidth, oldHeight);
    invalidate();
    repaintGrownStrips(oldWidth, oldHeight);
}

void Component::setBounds(int newX, int newY, int newWidth, int newHeight) {
    const bool moved = newX != x || newY != y;
    const bool resized = newWidth != width || newHeight != height;
    if (!moved && !resized) {
        return;
    }
    const Rectangle old = getBounds();
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    if (handle == nullptr) {
        return;
    }
    const Point location = toPeerLocation(x, y);
    setWindowPos(nullptr, location.x, location.y, width, height, SWP_NOZORDER | SWP_NOREDRAW);
    if (parent != nullptr && isChild()) {
        parent->repaintRect(old.x, old.y, old.width, old.height);
    }
    if (resized) {
        invalidate();
    }
    if (moved) {
        repaint(0, 0, width, height);
    } else {
        repaintGrownStrips(old.width, old.height);
    }
}

void Component::repaintParentShrunkStrips(int oldWidth, int oldHeight) {
    if (parent == nullptr || !isChild()) {
        return;
    }
    // Each strip spans the larger of the old and new extent, so the corner uncovered when both
    // dimensions shrink is repainted as well.
    if (width < oldWidth) {
        parent->repaintRect(x + width, y, oldWidth - width, oldHeight > height ? oldHeight : height);
    }
    if (height < oldHeight) {
        parent->repaintRect(x, y + height, oldWidth > width ? oldWidth : width, oldHeight - height);
    }
}

void Component::repaintGrownStrips(int oldWidth, int oldHeight) {
    if (width > oldWidth) {
        repaint(oldWidth, 0, width - oldWidth, height);
    }
    if (height > oldHeight) {
        repaint(0, oldHeight, width, height - oldHeight);
    }
}

Dimension Component::getMinimumSize() const {
    return Dimension{0, 0};
}

Dimension Component::getMaximumSize() const {
    return Dimension{32000, 32000};
}

void Component::setWindowPos(HWND insertAfter, int px, int py, int cx, int cy, UINT flags) {
    DWORD error = 0;
    const BOOL done = Toolkit::sendingMessages([&] {
        const BOOL moved = SetWindowPos(handle, insertAfter, px, py, cx, cy, flags);
        error = GetLastError();
        return moved;
    });
    if (!done) {
        throwFailure(L"::SetWindowPos", error);
    }
}

void Component::getWindowRect(RECT* rect) const {
    check(GetWindowRect(handle, rect), L"::GetWindowRect");
}

void Component::getClientRect(RECT* rect) const {
    check(GetClientRect(handle, rect), L"::GetClientRect");
}

void Component::screenToClient(POINT* point) const {
    check(ScreenToClient(handle, point), L"::ScreenToClient");
}

Point Component::getClientOffset() {
    if (handle == nullptr) {
        return Point{0, 0};
    }
    if (clientOffset.x == -1) {
        RECT rect;
        getWindowRect(&rect);
        POINT corner{rect.left, rect.top};
        screenToClient(&corner);
        clientOffset = Point{-corner.x, -corner.y};
    }
    return clientOffset;
}

}  // namespace awt
