#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class ScreenCapture;

// Conway's Life (birth on 3, survival on 2 or 3) on columns x rows cells with a dead border, and the
// spread generation that follows a stagnant one. It knows nothing of drawing: each step reports
// every row that changed to a listener, with the row's old and new cells.
class LifeBoard {
public:
    // One byte per cell, 1 alive. first and last bound the changed cells: [first, last).
    class RowListener {
    public:
        virtual void rowChanged(int row, const std::uint8_t* next, const std::uint8_t* previous, int first,
                                int last) = 0;

    protected:
        ~RowListener() = default;
    };

    // A rectangle of cells: left and top included, right and bottom not.
    struct CellArea {
        int left;
        int top;
        int right;
        int bottom;
    };

    // All dead. Sizes below 0 count as 0.
    LifeBoard(int columns, int rows);
    LifeBoard(const LifeBoard&) = delete;
    LifeBoard& operator=(const LifeBoard&) = delete;

    int getColumns() const noexcept { return columns; }
    int getRows() const noexcept { return rows; }
    // (columns x rows) / 100: an ordinary generation changing fewer cells is stagnant.
    int getChangeThreshold() const noexcept { return changeThreshold; }
    bool isStagnant() const noexcept { return stagnant; }

    // Brings to life the cells whose screen pixel at origin + (column, row) x cellSize has its grey
    // level in the band of 32 levels picked by key (0-255); an unreadable pixel is grey 255.
    void seed(const ScreenCapture& screen, int originX, int originY, int cellSize, unsigned key);
    // The cells outside every area are off-screen (no monitor shows them): dead from now on, like the
    // border, also after seeding and every step. An area covering the whole grid, or none at all,
    // puts every cell on screen again.
    void setOnScreen(const std::vector<CellArea>& areas);
    // One ordinary generation; returns the number of cells that changed.
    int lifeStep(RowListener* listener);
    // One spread generation: live cells grow into their orthogonal neighbours and isolated dead cells
    // come alive with one rand() in 16, drawn in row order.
    void spreadStep(RowListener* listener);

    // The cells of row in the current generation; column -1 and columns are the dead border.
    const std::uint8_t* cells(int row) const noexcept {
        return current() + firstCell + static_cast<std::size_t>(row) * stride;
    }
    // Both throw klib::IndexOutOfBoundsException outside the grid.
    bool isAlive(int column, int row) const;
    void setAlive(int column, int row, bool alive);

private:
    std::uint8_t* current() const noexcept { return (currentIsA ? planeA : planeB).get(); }
    std::uint8_t* other() const noexcept { return (currentIsA ? planeB : planeA).get(); }
    std::size_t cellIndex(int column, int row) const;
    // The on-screen flags of row, or null when every cell is on screen.
    const std::uint8_t* onScreenRow(int row) const noexcept {
        return onScreen ? onScreen.get() + firstCell + static_cast<std::size_t>(row) * stride : nullptr;
    }

    int columns;
    int rows;
    int changeThreshold;
    int stride;     // bytes per plane row: columns + 2
    int firstCell;  // index of column 0, row 0: stride + 1
    bool stagnant = false;
    bool currentIsA = true;
    std::unique_ptr<std::uint8_t[]> planeA;  // the cells with a dead border ring
    std::unique_ptr<std::uint8_t[]> planeB;
    std::unique_ptr<std::uint8_t[]> onScreen;  // 1 per cell some monitor shows, as the planes; none: all
};
