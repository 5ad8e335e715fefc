#pragma once

#include "awt/Geometry.h"
#include "awt/LayoutGaps.h"
#include "awt/LayoutManager.h"

namespace awt {

class Component;
class Container;

// Places up to five children: bands along the top (north) and bottom (south) at their preferred heights,
// columns on the left (west) and right (east) between them at their preferred widths, and the centre
// in what remains. A child is given its region by the key it is added with. The horizontal gap lies
// between west, centre and east, the vertical one between north, the middle band and south.
class BorderLayout : public LayoutManager, public LayoutGaps {
public:
    // Region keys, compared by address.
    static const Constraints NORTH;
    static const Constraints SOUTH;
    static const Constraints EAST;
    static const Constraints WEST;
    static const Constraints CENTER;

    // No gaps, every region empty.
    BorderLayout() = default;

    // The region's previous child is forgotten (it stays in the container, unplaced). Throws
    // klib::IllegalArgumentException "constraints" for anything but a region key.
    void addLayoutComponent(Component* child, const Constraints* constraints) override;
    // Clears the first region that holds child.
    void removeLayoutComponent(Component* child) override;
    Dimension preferredLayoutSize(Container* parent) override;
    // Sizes that do not fit are passed on as computed, negative ones included.
    void layoutContainer(Container* parent) override;

private:
    Component* north = nullptr;  // not owned
    Component* south = nullptr;  // not owned
    Component* east = nullptr;  // not owned
    Component* west = nullptr;  // not owned
    Component* center = nullptr;  // not owned
};

}  // namespace awt
