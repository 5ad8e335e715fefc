#pragma once

#include <windows.h>

#include <cstdint>

#include "app/CellPixels.h"
#include "app/LifeBoard.h"

namespace awt {
class OneBitSurface;
}

// Draws a Life board into a one-bit surface, cellSize x cellSize pixels a cell from the top-left
// corner: live cells as set bits (the surface's colour), dead ones clear (black). Cells at the right
// and bottom edges are cut by the surface. As the board's row listener it draws only the words of
// cells that changed and marks them dirty.
class BoardPainter final : public LifeBoard::RowListener {
public:
    BoardPainter(awt::OneBitSurface& surface, int cellSize) noexcept;

    // The whole surface from board, all marked dirty.
    void paintAll(const LifeBoard& board);
    // One cell, marked dirty.
    void paintCell(int column, int row, bool alive);
    void rowChanged(int row, const std::uint64_t* next, const std::uint64_t* previous, int first,
                    int last) override;
    // While rows are reported, the changes drawn so far are copied to dc (the surface's present)
    // each time the rows reach another chunk of about a megabyte of the surface, while those bytes
    // are still in the processor's cache; null, the default, copies nothing. The caller presents the
    // last chunk.
    void presentWhileDrawing(HDC dc) noexcept;

private:
    // The pixels of word k of a row of cells into pixel row out, cut at the end of the row; returns
    // the end of what it wrote, in bytes from the row's start.
    int writeWord(std::uint8_t* out, int k, std::uint64_t word) const noexcept;
    // Copies pixel row top's bytes [begin, end) into the other pixel rows of its cell row.
    void copyDown(int top, int begin, int end) noexcept;

    awt::OneBitSurface& surface;  // not owned
    int cellSize;
    int stride;     // bytes of a pixel row
    int chunkRows;  // pixel rows of a chunk that presentWhileDrawing copies
    HDC presentDC = nullptr;  // not owned
    int chunk = 0;            // the chunk the last reported row was in
    cellpixels::Widener widener;
};
