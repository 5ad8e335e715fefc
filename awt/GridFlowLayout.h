#pragma once

#include <vector>

#include "awt/Geometry.h"
#include "awt/LayoutGaps.h"
#include "awt/LayoutManager.h"

namespace awt {

class Component;
class Container;

// Places the children row by row in a grid whose column widths and row heights are the largest
// preferred sizes of their visible children. The whole grid is aligned in the container (FILL stretches
// or shrinks the columns or rows to the space) and each child in its cell.
class GridFlowLayout : public LayoutManager, public LayoutGaps {
public:
    // One numbering for all four alignments: horizontal ones take FILL, LEFT, RIGHT, CENTER; vertical
    // ones FILL, TOP, BOTTOM, CENTER.
    // Its own type: the label's and the flow layout's alignments are numbered differently.
    enum class Alignment { FILL = 0, TOP = 1, BOTTOM = 2, LEFT = 3, RIGHT = 4, CENTER = 5 };
    static constexpr Alignment FILL = Alignment::FILL;
    static constexpr Alignment TOP = Alignment::TOP;
    static constexpr Alignment BOTTOM = Alignment::BOTTOM;
    static constexpr Alignment LEFT = Alignment::LEFT;
    static constexpr Alignment RIGHT = Alignment::RIGHT;
    static constexpr Alignment CENTER = Alignment::CENTER;

    // One row, one column, everything FILL, no gaps.
    GridFlowLayout() = default;

    // 0 for either count means as many as the children need; not both. Throws
    // klib::IllegalArgumentException "rows: " / "cols: " and the value for a negative count, and
    // "both of rows and cols specified 0"; nothing is stored then.
    void setGrid(int rows, int cols);
    // The alignment setters throw klib::IllegalArgumentException with the field name, ": " and the value
    // for an alignment the direction does not take.
    void setGridHAlign(Alignment alignment);
    void setGridVAlign(Alignment alignment);
    void setCellHAlign(Alignment alignment);
    void setCellVAlign(Alignment alignment);

    int getRows() const noexcept { return rows; }
    int getCols() const noexcept { return cols; }
    Alignment getGridHAlign() const noexcept { return gridHAlign; }
    Alignment getGridVAlign() const noexcept { return gridVAlign; }
    Alignment getCellHAlign() const noexcept { return cellHAlign; }
    Alignment getCellVAlign() const noexcept { return cellVAlign; }

    // Constraints are ignored.
    void addLayoutComponent(Component* child, const Constraints* constraints) override;
    void removeLayoutComponent(Component* child) override;
    Dimension preferredLayoutSize(Container* parent) override;
    void layoutContainer(Container* parent) override;

private:
    // The measured grid: columns and rows that hold children (empty ones beyond them add nothing).
    struct Grid {
        int columns;  // children per row
        std::vector<int> widths;  // per column
        std::vector<int> heights;  // per row
    };

    Grid measure(Container* parent) const;

    int rows = 1;  // 0: as many as needed
    int cols = 1;  // 0: as many as needed
    Alignment gridHAlign = FILL;
    Alignment gridVAlign = FILL;
    Alignment cellHAlign = FILL;
    Alignment cellVAlign = FILL;
};

}  // namespace awt
