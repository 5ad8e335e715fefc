#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Conway's Life (birth on 3, survival on 2 or 3) on columns x rows cells with a dead border, and the
// spread generation that follows a stagnant one. It knows nothing of drawing: each step reports
// every row that changed to a listener, with the row's old and new cells.
//
// A row is stored as 64-bit words, cell c in bit c % 64 of word c / 64, and the rule handles two
// words (128 cells) at once where the processor has 128-bit registers; bits past the last column,
// and a word past the last one that makes the count of words even, stay 0.
class LifeBoard {
public:
    class RowListener {
    public:
        // The row's new and previous words; first and last bound the changed cells: [first, last).
        virtual void rowChanged(int row, const std::uint64_t* next, const std::uint64_t* previous, int first,
                                int last) = 0;

    protected:
        ~RowListener() = default;
    };

    // Gives the cells of a new generation row by row.
    class RowSource {
    public:
        // Fills the row's words (getWordsPerRow() of them, cell c in bit c % 64 of word c / 64); bits past
        // the last column are ignored.
        virtual void fillRow(int row, std::uint64_t* words) = 0;

    protected:
        ~RowSource() = default;
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

    int getWordsPerRow() const noexcept { return wordsPerRow; }
    // Replaces the current generation with the rows source gives, off-screen cells dead; not stagnant.
    void seed(RowSource& source);
    // The cells outside every area are off-screen (no monitor shows them): dead from now on, like the
    // border, also after seeding and every step. An area covering the whole grid, or none at all,
    // puts every cell on screen again.
    void setOnScreen(const std::vector<CellArea>& areas);
    // One ordinary generation; returns the number of cells that changed.
    int lifeStep(RowListener* listener);
    // One spread generation: live cells grow into their orthogonal neighbours and isolated dead cells
    // come alive with one rand() in 16, drawn in row order.
    void spreadStep(RowListener* listener);

    // The words of row in the current generation.
    const std::uint64_t* words(int row) const noexcept { return rowOf(current(), row); }
    // Both throw klib::IndexOutOfBoundsException outside the grid.
    bool isAlive(int column, int row) const;
    void setAlive(int column, int row, bool alive);

private:
    std::uint64_t* current() const noexcept { return (currentIsA ? planeA : planeB).get(); }
    std::uint64_t* other() const noexcept { return (currentIsA ? planeB : planeA).get(); }
    // Word 0 of row; the words at -1 and wordsPerRow, and the rows at -1 and rows, are the dead border.
    std::uint64_t* rowOf(std::uint64_t* plane, int row) const noexcept {
        return plane + static_cast<std::size_t>(row + 1) * stride + 1;
    }
    // The on-screen mask of row, or null when every cell is on screen.
    const std::uint64_t* onScreenRow(int row) const noexcept { return onScreen ? rowOf(onScreen.get(), row) : nullptr; }
    // The bits of row that are cells on screen: the on-screen mask, or every cell of a row.
    const std::uint64_t* cellsOf(int row) const noexcept { return onScreen ? rowOf(onScreen.get(), row) : cellMask.get(); }
    void checkCell(int column, int row) const;

    int columns;
    int rows;
    int changeThreshold;
    int wordsPerRow;
    int span;                 // words the rule computes per row: wordsPerRow rounded up to even
    int stride;               // words per plane row: span + 2
    bool stagnant = false;
    bool currentIsA = true;
    std::unique_ptr<std::uint64_t[]> planeA;  // the cells with a dead border ring
    std::unique_ptr<std::uint64_t[]> planeB;
    std::unique_ptr<std::uint64_t[]> onScreen;  // a bit per cell some monitor shows, as the planes; none: all
    std::unique_ptr<std::uint64_t[]> cellMask;  // span words: a bit per cell of a row
    std::unique_ptr<std::uint64_t[]> rowSums;   // the rule's triples of three rows (see lifeStep)
};
