#pragma once

#include <windows.h>

#include <cstdint>

#include "app/LifeBoard.h"

namespace awt {
class DibSurface;
}

// Draws a Life board into a surface, cellSize x cellSize pixels a cell from the top-left corner:
// live cells in the cell colour, dead ones black. Cells at the right and bottom edges are cut by the
// surface. As the board's row listener it draws only the changed cells and marks them dirty.
class BoardPainter final : public LifeBoard::RowListener {
public:
    BoardPainter(awt::DibSurface& surface, int cellSize, COLORREF colour) noexcept;

    // Applies to cells drawn from then on.
    void setColor(COLORREF colour) noexcept;
    // The whole surface from board, all marked dirty.
    void paintAll(const LifeBoard& board);
    // One cell, marked dirty.
    void paintCell(int column, int row, bool alive);
    void rowChanged(int row, const std::uint64_t* next, const std::uint64_t* previous, int first,
                    int last) override;
    // While rows are reported, the changes drawn so far are copied to dc (the surface's present)
    // each time the rows reach another chunk of about a megabyte of pixels, while those pixels are
    // still in the processor's cache; null, the default, copies nothing. The caller presents the
    // last chunk.
    void presentWhileDrawing(HDC dc) noexcept;

private:
    // The pixels of one cell of the cell row that spans pixel rows [top, bottom), cut at right.
    void fillCell(int column, int top, int bottom, int right, std::uint32_t value) noexcept;
    // Copies pixel row top's columns [left, right) into the other pixel rows of its cell row.
    void copyDown(int top, int left, int right) noexcept;

    awt::DibSurface& surface;  // not owned
    int cellSize;
    std::uint32_t live;  // 0x00RRGGBB
    std::uint32_t patterns[16][4];  // four cells' pixels for each combination of live ones
    int chunkRows;                  // pixel rows of a chunk that presentWhileDrawing copies
    bool oneColour = false;         // every live cell of the surface has the current colour
    HDC presentDC = nullptr;        // not owned
    int chunk = 0;                  // the chunk the last reported row was in
};
