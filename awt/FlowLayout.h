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
    // Its own type: the label's and the grid's alignments are numbered differently.
    enum class Alignment { LEFT = 0, RIGHT = 1, CENTER = 2 };
    static constexpr Alignment LEFT = Alignment::LEFT;
    static constexpr Alignment RIGHT = Alignment::RIGHT;
    static constexpr Alignment CENTER = Alignment::CENTER;

    // The gap between children is the average character width of the default GUI font. Throws
    // klib::IllegalArgumentException "alignment: " and the value for a value outside the enumeration.
    explicit FlowLayout(Alignment alignment);

    // Validates as the constructor does.
    void setAlignment(Alignment alignment);
    // Throws klib::IllegalArgumentException "hgap: " and the value for a negative gap.
    void setHgap(int hgap);
    Alignment getAlignment() const noexcept { return alignment; }
    int getHgap() const noexcept { return hgap; }

    // Constraints are ignored.
    void addLayoutComponent(Component* child, const Constraints* constraints) override;
    void removeLayoutComponent(Component* child) override;
    Dimension preferredLayoutSize(Container* parent) override;
    void layoutContainer(Container* parent) override;

private:
    Alignment alignment;
    int hgap;  // between neighbouring children
};

}  // namespace awt
