#include "awt/Container.h"

#include <exception>

#include "awt/FocusTraversal.h"
#include "klib/Exception.h"
#include "klib/FirstFailure.h"
#include "klib/Strings.h"

namespace awt {

Container::Container() : layout(NullLayout::getSharedInstance()) {}

Container::~Container() noexcept(false) {
    // Every child is deleted even if one of them fails; the first failure is reported afterwards.
    klib::FirstFailure failure;
    while (!children.empty()) {
        Component* const child = children.back();
        children.pop_back();
        failure.run([child] { delete child; });
    }
    failure.rethrow(L"~Container(): a child's destructor failed");
}

LRESULT Container::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return routeToChild(msg, wParam, lParam, reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        const NMHDR* const header = reinterpret_cast<const NMHDR*>(lParam);
        return routeToChild(msg, wParam, lParam, header != nullptr ? header->hwndFrom : nullptr);
    }
    default:
        return Component::handleMessage(msg, wParam, lParam);
    }
}

LRESULT Container::routeToChild(UINT msg, WPARAM wParam, LPARAM lParam, HWND childWindow) {
    Component* const child = componentFromWindow(childWindow);
    if (child != nullptr) {
        bool handled = false;
        LRESULT result = 0;
        switch (msg) {
        case WM_COMMAND:
            result = child->handleCommand(HIWORD(wParam), wParam, &handled);
            break;
        case WM_NOTIFY: {
            NMHDR* const header = reinterpret_cast<NMHDR*>(lParam);
            result = child->handleNotify(header->code, header, &handled);
            break;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            result = child->handleScroll(wParam, HIWORD(wParam), &handled);
            break;
        default:
            result = child->handleControlColor(msg, reinterpret_cast<HDC>(wParam), &handled);
            break;
        }
        if (handled) {
            return result;
        }
    }
    return Component::handleMessage(msg, wParam, lParam);
}

DWORD Container::getStyle() const {
    return Component::getStyle() | WS_CLIPCHILDREN | WS_GROUP;
}

DWORD Container::getExStyle() const {
    return Component::getExStyle() | WS_EX_CONTROLPARENT;
}

Dimension Container::getPreferredSize() {
    return layout->preferredLayoutSize(this);
}

void Container::setTreeEnabled(bool enabled) {
    for (std::size_t i = 0; i < children.size(); ++i) {
        children[i]->setTreeEnabled(enabled);
    }
    setEnabled(enabled);
}

void Container::requestFocus() {
    if (hasTabStop()) {
        Component::requestFocus();
        return;
    }
    if (Component* const target = firstTabStop(this)) {
        target->requestFocus();
    }
}

void Container::addNotify() {
    Component::addNotify();
    for (std::size_t i = 0; i < children.size(); ++i) {
        children[i]->addNotify();
    }
}

void Container::removeNotify() {
    for (std::size_t i = children.size(); i > 0; --i) {
        children[i - 1]->removeNotify();
    }
    Component::removeNotify();
}

void Container::validate() {
    Component::validate();
    if (handle != nullptr) {
        layout->layoutContainer(this);
    }
}

void Container::repaint(int px, int py, int pwidth, int pheight) {
    if (handle == nullptr || !isVisible()) {
        return;
    }
    repaintRect(px, py, pwidth, pheight);
    const Rectangle area{px, py, pwidth, pheight};
    for (std::size_t i = 0; i < children.size(); ++i) {
        Component* const child = children[i];
        const Rectangle bounds = child->getBounds();
        const Rectangle common = bounds.intersection(area);
        if (!common.isEmpty()) {
            child->repaint(common.x - bounds.x, common.y - bounds.y, common.width, common.height);
        }
    }
}

void Container::setLayout(LayoutManager* newLayout) {
    klib::checkNotNull(L"layout", newLayout);
    if (newLayout == layout) {
        return;
    }
    layout = newLayout;
    invalidate();
}

Insets Container::getInsets() const {
    return Insets{0, 0, 0, 0};
}

void Container::add(Component* child, int index, const LayoutManager::Constraints* constraints) {
    klib::checkNotNull(L"child", child);
    if (child->parent == this) {
        return;
    }
    if (child->parent != nullptr) {
        throw klib::IllegalArgumentException(L"child already added to another container");
    }
    if (!child->isChild()) {
        throw klib::IllegalArgumentException(L"can't add top level window");
    }
    klib::checkIndex(L"index", 0, getComponentCount() + 1, index);
    children.insert(children.begin() + index, child);
    child->parent = this;
    if (handle != nullptr) {
        child->addNotify();
    }
    layout->addLayoutComponent(child, constraints);
    ContainerEvent event{static_cast<Component*>(this), false, ContainerEvent::COMPONENT_ADDED, child};
    notifyListeners(&ContainerListener::componentAdded, event);
    invalidate();
}

void Container::add(Component* child, const LayoutManager::Constraints* constraints) {
    add(child, getComponentCount(), constraints);
}

void Container::remove(int position, Component* child) {
    klib::checkIndex(L"position", 0, getComponentCount(), position);
    if (children[static_cast<std::size_t>(position)] != child) {
        throw klib::IllegalArgumentException(L"child is not at position " + klib::toString(position));
    }
    if (handle != nullptr) {
        child->removeNotify();
    }
    children.erase(children.begin() + position);
    child->parent = nullptr;
    // The child may move to another toolkit's container; it asks again.
    child->cachedToolkit = nullptr;
    layout->removeLayoutComponent(child);
    ContainerEvent event{static_cast<Component*>(this), false, ContainerEvent::COMPONENT_REMOVED, child};
    notifyListeners(&ContainerListener::componentRemoved, event);
    invalidate();
}

Component* Container::getComponent(int index) const {
    klib::checkIndex(L"index", 0, getComponentCount(), index);
    return children[static_cast<std::size_t>(index)];
}

int Container::indexOf(const Component* c) const noexcept {
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i] == c) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Container::addContainerListener(ContainerListener* listener) {
    addListener(ContainerListener::TAG, listener);
}

void Container::removeContainerListener(ContainerListener* listener) {
    removeListener(ContainerListener::TAG, listener);
}

void RecursiveListener::componentAdded(ContainerEvent& event) {
    attachTree(event.child);
}

void RecursiveListener::componentRemoved(ContainerEvent& event) {
    detachTree(event.child);
}

void RecursiveListener::attachTree(Component* root) {
    attach(root);
    if (Container* const container = dynamic_cast<Container*>(root)) {
        container->addContainerListener(this);
        for (int i = 0; i < container->getComponentCount(); ++i) {
            attachTree(container->getComponent(i));
        }
    }
}

void RecursiveListener::detachTree(Component* root) {
    detach(root);
    if (Container* const container = dynamic_cast<Container*>(root)) {
        container->removeContainerListener(this);
        for (int i = 0; i < container->getComponentCount(); ++i) {
            detachTree(container->getComponent(i));
        }
    }
}

}  // namespace awt
