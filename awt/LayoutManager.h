#pragma once

#include "awt/Geometry.h"

namespace awt {

class Component;
class Container;

// Places the children of a container and computes its preferred size. Managers belong to whoever
// created them; a container never deletes its manager.
class LayoutManager {
public:
    // Region key passed with a child when it is added; keys are compared by address.
    class Constraints {
    public:
        virtual ~Constraints() = default;
    };

    virtual ~LayoutManager() = default;
    virtual void addLayoutComponent(Component* child, const Constraints* constraints) = 0;
    virtual void removeLayoutComponent(Component* child) = 0;
    virtual Dimension preferredLayoutSize(Container* parent) = 0;
    virtual void layoutContainer(Container* parent) = 0;
};

// Places nothing: children keep the bounds the application gave them. One shared instance is the
// default manager of every container.
class NullLayout : public LayoutManager {
public:
    // The shared instance; it is never destroyed, so containers torn down at exit can still use it.
    static NullLayout* getSharedInstance();

    void addLayoutComponent(Component* child, const Constraints* constraints) override;
    void removeLayoutComponent(Component* child) override;
    Dimension preferredLayoutSize(Container* parent) override;
    void layoutContainer(Container* parent) override;
};

}  // namespace awt
