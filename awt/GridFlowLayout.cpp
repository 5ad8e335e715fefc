#include "awt/GridFlowLayout.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "awt/Component.h"
#include "awt/Container.h"
#include "klib/Exception.h"
#include "klib/Strings.h"

namespace awt {

namespace {

using Alignment = GridFlowLayout::Alignment;

[[noreturn]] void throwIllegal(const wchar_t* name, int value) {
    throw klib::IllegalArgumentException(std::wstring(name) + L": " + klib::toString(value));
}

// Alignments along an axis: FILL, CENTER, or one of its two ends.
Alignment checked(const wchar_t* name, Alignment alignment, Alignment start, Alignment end) {
    if (alignment != GridFlowLayout::FILL && alignment != GridFlowLayout::CENTER && alignment != start &&
        alignment != end) {
        throwIllegal(name, static_cast<int>(alignment));
    }
    return alignment;
}

Alignment checkHorizontal(const wchar_t* name, Alignment alignment) {
    return checked(name, alignment, GridFlowLayout::LEFT, GridFlowLayout::RIGHT);
}

Alignment checkVertical(const wchar_t* name, Alignment alignment) {
    return checked(name, alignment, GridFlowLayout::TOP, GridFlowLayout::BOTTOM);
}

// The positive sizes plus one gap between each two consecutive positive ones.
int extent(const std::vector<int>& sizes, int gap) {
    int total = 0;
    bool any = false;
    for (const int size : sizes) {
        if (size > 0) {
            if (any) {
                total += gap;
            }
            total += size;
            any = true;
        }
    }
    return total;
}

// Stretches or shrinks the positive sizes in proportion so that they and the gaps between them fill
// length. Entries of 0 stay 0.
void distribute(std::vector<int>& sizes, int gap, int length) {
    int sum = 0;
    int available = length;  // what is left for the sizes after the gaps between them
    for (const int size : sizes) {
        if (size > 0 && sum > 0) {
            available -= gap;
        }
        if (size > 0) {
            sum += size;
        }
    }
    if (sum == 0 || available == sum) {
        return;
    }
    std::vector<bool> positive(sizes.size());
    int scaledSum = 0;
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        positive[k] = sizes[k] > 0;
        // 64-bit product: sizes of tens of thousands of pixels would overflow 32 bits.
        sizes[k] = static_cast<int>(static_cast<std::int64_t>(available) * sizes[k] / sum);
        scaledSum += sizes[k];
    }
    // The truncation remainder goes one pixel each to the first entries that were positive; an empty
    // entry that grew would bring a gap the length has no room for.
    int remainder = available - scaledSum;
    for (std::size_t k = 0; k < sizes.size() && remainder > 0; ++k) {
        if (positive[k]) {
            ++sizes[k];
            --remainder;
        }
    }
}

// Where a child of extent size goes in a cell at position of extent cell.
void placeInCell(Alignment alignment, int position, int cell, int size, int& outPosition, int& outSize) {
    switch (alignment) {
    case GridFlowLayout::LEFT:
    case GridFlowLayout::TOP:
        outPosition = position;
        outSize = size;
        break;
    case GridFlowLayout::RIGHT:
    case GridFlowLayout::BOTTOM:
        outPosition = position + cell - size;
        outSize = size;
        break;
    case GridFlowLayout::CENTER:
        outPosition = position + (cell - size) / 2;
        outSize = size;
        break;
    default:  // FILL
        outPosition = position;
        outSize = cell;
        break;
    }
}

// Where the grid starts along one axis, between a container's insets before and after it, total long:
// at the start, at the end (alignment farEnd), centred, or at the start with the sizes filling the
// space between the insets (FILL).
int gridStart(GridFlowLayout::Alignment alignment, GridFlowLayout::Alignment farEnd, std::vector<int>& sizes,
              int gap, int before, int after, int total) {
    const int inner = total - before - after;
    if (alignment == GridFlowLayout::FILL) {
        distribute(sizes, gap, inner);
    } else if (alignment == farEnd) {
        return total - after - extent(sizes, gap);
    } else if (alignment == GridFlowLayout::CENTER) {
        return before + (inner - extent(sizes, gap)) / 2;
    }
    return before;
}

}  // namespace

void GridFlowLayout::setGrid(int newRows, int newCols) {
    if (newRows < 0) {
        throwIllegal(L"rows", newRows);
    }
    if (newCols < 0) {
        throwIllegal(L"cols", newCols);
    }
    if (newRows == 0 && newCols == 0) {
        throw klib::IllegalArgumentException(L"both of rows and cols specified 0");
    }
    rows = newRows;
    cols = newCols;
}

void GridFlowLayout::setGridHAlign(Alignment alignment) {
    gridHAlign = checkHorizontal(L"gridHAlign", alignment);
}

void GridFlowLayout::setGridVAlign(Alignment alignment) {
    gridVAlign = checkVertical(L"gridVAlign", alignment);
}

void GridFlowLayout::setCellHAlign(Alignment alignment) {
    cellHAlign = checkHorizontal(L"cellHAlign", alignment);
}

void GridFlowLayout::setCellVAlign(Alignment alignment) {
    cellVAlign = checkVertical(L"cellVAlign", alignment);
}

void GridFlowLayout::addLayoutComponent(Component*, const Constraints*) {}

void GridFlowLayout::removeLayoutComponent(Component*) {}

GridFlowLayout::Grid GridFlowLayout::measure(Container* parent) const {
    const std::int64_t n = parent->getComponentCount();
    // 64-bit: counts near the int limit must not overflow.
    const std::int64_t rowCount = rows != 0 ? rows : (n + cols - 1) / cols;
    const std::int64_t columnCount = cols != 0 ? cols : (n + rows - 1) / rows;
    // Children beyond the grid take no part; rows and columns beyond the children stay empty.
    const std::int64_t placed = std::min(n, rowCount * columnCount);

    Grid grid;
    grid.columns = static_cast<int>(columnCount);
    if (placed == 0) {
        return grid;
    }
    grid.widths.assign(static_cast<std::size_t>(std::min(columnCount, placed)), 0);
    grid.heights.assign(static_cast<std::size_t>((placed + columnCount - 1) / columnCount), 0);
    for (std::int64_t i = 0; i < placed; ++i) {
        Component* const child = parent->getComponent(static_cast<int>(i));
        // Invisible children take no space, and leave their row and column to the visible ones.
        if (!child->isVisible()) {
            continue;
        }
        const Dimension preferred = child->getPreferredSize();
        int& width = grid.widths[static_cast<std::size_t>(i % columnCount)];
        int& height = grid.heights[static_cast<std::size_t>(i / columnCount)];
        width = std::max(width, preferred.width);
        height = std::max(height, preferred.height);
    }
    return grid;
}

Dimension GridFlowLayout::preferredLayoutSize(Container* parent) {
    const Grid grid = measure(parent);
    const Insets insets = parent->getInsets();
    return Dimension{extent(grid.widths, hgap) + insets.left + insets.right,
                     extent(grid.heights, vgap) + insets.top + insets.bottom};
}

void GridFlowLayout::layoutContainer(Container* parent) {
    Grid grid = measure(parent);
    const Dimension size = parent->getSize();
    const Insets insets = parent->getInsets();
    const int x0 = gridStart(gridHAlign, RIGHT, grid.widths, hgap, insets.left, insets.right, size.width);
    const int y0 = gridStart(gridVAlign, BOTTOM, grid.heights, vgap, insets.top, insets.bottom, size.height);
    const int n = parent->getComponentCount();
    int i = 0;
    int y = y0;
    for (const int rowHeight : grid.heights) {
        if (rowHeight > 0 && y > y0) {
            y += vgap;
        }
        int x = x0;
        for (std::size_t c = 0; c < grid.widths.size() && i < n; ++c, ++i) {
            const int columnWidth = grid.widths[c];
            // The gap depends on the column alone, as the row gap does on the row, so that columns line
            // up in every row whichever of their children are hidden.
            if (columnWidth > 0 && x > x0) {
                x += hgap;
            }
            Component* const child = parent->getComponent(i);
            if (child->isVisible()) {
                const Dimension preferred = child->getPreferredSize();
                int cellX = 0;
                int cellWidth = 0;
                int cellY = 0;
                int cellHeight = 0;
                placeInCell(cellHAlign, x, columnWidth, preferred.width, cellX, cellWidth);
                placeInCell(cellVAlign, y, rowHeight, preferred.height, cellY, cellHeight);
                child->setBounds(cellX, cellY, cellWidth, cellHeight);
            }
            x += columnWidth;
        }
        y += rowHeight;
    }
}

}  // namespace awt
