#pragma once

#include <windows.h>

#include <vector>

#include "awt/Component.h"
#include "awt/Events.h"
#include "awt/Geometry.h"
#include "awt/LayoutManager.h"
#include "awt/Listeners.h"

namespace awt {

// A component that owns its children (deleted with it) and lets a LayoutManager place them in validate.
// addNotify, removeNotify, repaint and setTreeEnabled recurse into the children; WM_COMMAND, WM_NOTIFY,
// the scroll and WM_CTLCOLOR* messages a child control sends are handed to that child's component.
class Container : public Component {
public:
    Container();
    // Deletes the children, the last first, each while this container's window still exists.
    ~Container() noexcept(false) override;

    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    DWORD getStyle() const override;
    DWORD getExStyle() const override;
    // The layout manager's preferred size of this container.
    Dimension getPreferredSize() override;
    void setTreeEnabled(bool enabled) override;
    // Focuses this container if it is a tab stop, else its first enabled tab-stop descendant.
    void requestFocus() override;
    void addNotify() override;
    void removeNotify() override;
    void validate() override;
    void repaint(int x, int y, int width, int height) override;

    // The manager is not owned. Throws klib::NullPointerException "layout". Set it before adding the
    // children it is to arrange: children already added are not handed to the new manager.
    virtual void setLayout(LayoutManager* layout);
    virtual Insets getInsets() const;
    // Inserts child (owned from now on) at index, 0 <= index <= count. Throws klib::NullPointerException
    // "child", klib::IllegalArgumentException for a child of another container or a top-level window,
    // klib::IndexOutOfBoundsException "index". A failed check leaves the container unchanged.
    virtual void add(Component* child, int index, const LayoutManager::Constraints* constraints);
    // Takes out the child at position; the caller owns it again.
    virtual void remove(int position, Component* child);

    // Appends child.
    void add(Component* child, const LayoutManager::Constraints* constraints = nullptr);
    LayoutManager* getLayout() const noexcept { return layout; }
    int getComponentCount() const noexcept { return static_cast<int>(children.size()); }
    // Throws klib::IndexOutOfBoundsException "index".
    Component* getComponent(int index) const;
    // -1 if c is not a child.
    int indexOf(const Component* c) const noexcept;
    void addContainerListener(ContainerListener* listener);
    void removeContainerListener(ContainerListener* listener);

private:
    // Hands a control's notification to the child component behind childWindow.
    LRESULT routeToChild(UINT msg, WPARAM wParam, LPARAM lParam, HWND childWindow);

    std::vector<Component*> children;  // owned: deleted by ~Container
    LayoutManager* layout;  // not owned; never null
};

// A container listener that follows a whole component tree: attach runs for every component that
// enters the tree, detach for every component that leaves it.
class RecursiveListener : public ContainerListener {
public:
    void componentAdded(ContainerEvent& event) override;
    void componentRemoved(ContainerEvent& event) override;
    virtual void attach(Component* c) = 0;
    virtual void detach(Component* c) = 0;

    // attach(root), then, for a container, registers with it and follows its children depth-first.
    void attachTree(Component* root);
    void detachTree(Component* root);
};

}  // namespace awt
