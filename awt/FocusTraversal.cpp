#include "awt/FocusTraversal.h"

#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/Window.h"

namespace awt {

namespace {

bool takesTabFocus(const Component* c) {
    return c->hasTabStop() && c->isShowing() && c->isEnabled();
}

// The first (forward) or last qualifying descendant of c; a child that does not qualify is searched itself.
Component* findInside(Component* c, bool forward) {
    const Container* const container = dynamic_cast<const Container*>(c);
    if (container == nullptr) {
        return nullptr;
    }
    const int count = container->getComponentCount();
    for (int k = 0; k < count; ++k) {
        Component* const child = container->getComponent(forward ? k : count - 1 - k);
        if (takesTabFocus(child)) {
            return child;
        }
        if (Component* const found = findInside(child, forward)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

Component* nextFocusTarget(Component* from, bool forward) {
    Component* target = findInside(from, forward);
    Component* current = from;
    while (target == nullptr && current->isChild() && current->getParent() != nullptr) {
        Container* const container = current->getParent();
        const int count = container->getComponentCount();
        const int start = container->indexOf(current);
        for (int k = forward ? start + 1 : start - 1; target == nullptr && k >= 0 && k < count;
             k += forward ? 1 : -1) {
            Component* const sibling = container->getComponent(k);
            target = takesTabFocus(sibling) ? sibling : findInside(sibling, forward);
        }
        current = container;
    }
    if (target == nullptr) {
        // Wrap around inside the top-level window.
        if (Window* const window = from->getTopLevelWindow()) {
            target = findInside(window, forward);
        }
    }
    return target;
}

Component* firstTabStop(const Container* container) {
    const int count = container->getComponentCount();
    for (int i = 0; i < count; ++i) {
        Component* const child = container->getComponent(i);
        if (child->hasTabStop() && child->isEnabled()) {
            return child;
        }
        if (const Container* const inner = dynamic_cast<const Container*>(child)) {
            if (Component* const found = firstTabStop(inner)) {
                return found;
            }
        }
    }
    return nullptr;
}

}  // namespace awt
