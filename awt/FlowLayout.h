#pragma once

#include "awt/Geometry.h"
#include "awt/LayoutManager.h"

namespace awt {

class Component;
class Container;

// Places the visible children in one row at their preferred sizes, centred vertically, with the row
// aligned left, right or centred. There is no wrapping: a row wider than the space starts at the left
// inset and runs over the right side.
class FlowLayout : public LayoutManager {
public:
    static constexpr int LEFT = 0;
    static constexpr int RIGHT = 1;
    static constexpr int CENTER = 2;

    // The gap between children is the average character width of the default GUI font. Throws
    // klib::IllegalArgumentException "alignment: " and the value for anything but LEFT, RIGHT, CENTER.
    explicit FlowLayout(int alignment);

    // Validates as the constructor does.
    void setAlignment(int alignment);
    // Throws klib::IllegalArgumentException "hgap: " and the value for a negative gap.
    void setHgap(int hgap);
    int getAlignment() const noexcept { return alignment; }
    int getHgap() const noexcept { return hgap; }

    // Constraints are ignored.
    void addLayoutComponent(Component* child, const Constraints* constraints) override;
    void removeLayoutComponent(Component* child) override;
    Dimension preferredLayoutSize(Container* parent) override;
    void layoutContainer(Container* parent) override;

private:
    int alignment;
    int hgap;  // between neighbouring children
};

}  // namespace awt
