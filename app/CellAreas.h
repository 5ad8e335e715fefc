#pragma once

#include <windows.h>

#include <vector>

#include "app/LifeBoard.h"

// The cells of a board whose top-left cell sits at origin (screen coordinates), cellSize pixels
// square, that each screen rectangle shows: a cell shown even in part belongs to the rectangle's area.
std::vector<LifeBoard::CellArea> toCellAreas(const std::vector<RECT>& rectangles, int originX, int originY,
                                             int cellSize);
