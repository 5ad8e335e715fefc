#include "app/CellAreas.h"

namespace {

// Rounds down also below 0, so a rectangle left of or above the origin keeps its partial cell.
int floorDiv(int value, int divisor) noexcept {
    const int quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

int ceilDiv(int value, int divisor) noexcept {
    return -floorDiv(-value, divisor);
}

}  // namespace

std::vector<LifeBoard::CellArea> toCellAreas(const std::vector<RECT>& rectangles, int originX, int originY,
                                             int cellSize) {
    std::vector<LifeBoard::CellArea> areas;
    areas.reserve(rectangles.size());
    for (const RECT& shown : rectangles) {
        areas.push_back(LifeBoard::CellArea{floorDiv(shown.left - originX, cellSize),
                                            floorDiv(shown.top - originY, cellSize),
                                            ceilDiv(shown.right - originX, cellSize),
                                            ceilDiv(shown.bottom - originY, cellSize)});
    }
    return areas;
}
