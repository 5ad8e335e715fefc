#include "awt/Window.h"

#include "awt/Screen.h"

// What the window remembers of its component tree: the focused and the hovered descendant.

namespace awt {

void Window::ChildrenMonitor::attach(Component* c) {
    c->addFocusListener(this);
}

void Window::ChildrenMonitor::detach(Component* c) {
    if (c == window->mouseOwner) {
        window->mouseOwner = nullptr;
    }
    if (c == window->lastFocused) {
        window->lastFocused = nullptr;
    }
    c->removeFocusListener(this);
}

void Window::ChildrenMonitor::focusGained(FocusEvent& event) {
    if (event.source != static_cast<Component*>(window)) {
        window->lastFocused = static_cast<Component*>(event.source);
    }
}

void Window::ChildrenMonitor::focusLost(FocusEvent&) {}

void Window::setMouseOwner(Component* c, int px, int py) {
    if (mouseOwner != nullptr && mouseOwner != c) {
        int exitX = px;
        int exitY = py;
        if (c->getHandle() != nullptr && mouseOwner->getHandle() != nullptr) {
            // Component coordinates of c, to client, across windows, back to component coordinates.
            const Point from = c->getClientOffset();
            POINT point{px - from.x, py - from.y};
            mapWindowPoints(c->getHandle(), mouseOwner->getHandle(), &point, 1);
            const Point to = mouseOwner->getClientOffset();
            exitX = point.x + to.x;
            exitY = point.y + to.y;
        }
        mouseOwner->mouseExited(exitX, exitY);
    }
    mouseOwner = c;
}

}  // namespace awt
