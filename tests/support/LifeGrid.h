#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <numeric>
#include <random>
#include <vector>

namespace testing_support {

// A board's cells row by row, 1 alive, for boards with getColumns, getRows, isAlive and setAlive.
using Grid = std::vector<int>;
using Rows = std::initializer_list<const char*>;

inline int alive(const Grid& grid) { return static_cast<int>(std::count(grid.begin(), grid.end(), 1)); }
inline int differences(const Grid& a, const Grid& b) {
    return std::inner_product(a.begin(), a.end(), b.begin(), 0, std::plus<>(), std::not_equal_to<>());
}

template <typename Board>
Grid empty(const Board& board) {
    return Grid(static_cast<std::size_t>(board.getColumns()) * static_cast<std::size_t>(board.getRows()), 0);
}
// Rows of '#' (alive) and '.' with their top-left cell at (left, top), on an empty grid.
template <typename Board>
Grid shape(const Board& board, int left, int top, Rows rows) {
    Grid grid = empty(board);
    for (const char* row : rows) {
        for (int c = 0; row[c] != '\0'; ++c) grid[static_cast<std::size_t>(top * board.getColumns() + left + c)] = row[c] == '#';
        ++top;
    }
    return grid;
}
template <typename Board>
Grid random(const Board& board, unsigned seed, unsigned percentAlive = 40) {
    std::mt19937 generator(seed);
    Grid grid = empty(board);
    for (int& cell : grid) cell = generator() % 100 < percentAlive;
    return grid;
}
template <typename Board>
void load(Board& board, const Grid& grid) {
    const auto columns = static_cast<std::size_t>(board.getColumns());
    for (std::size_t i = 0; i < grid.size(); ++i)
        board.setAlive(static_cast<int>(i % columns), static_cast<int>(i / columns), grid[i] != 0);
}
template <typename Board>
Grid snapshot(const Board& board) {
    const auto columns = static_cast<std::size_t>(board.getColumns());
    Grid grid = empty(board);
    for (std::size_t i = 0; i < grid.size(); ++i)
        grid[i] = board.isAlive(static_cast<int>(i % columns), static_cast<int>(i / columns));
    return grid;
}

// Both rules written plainly, with explicit bounds for the dead border; spread draws rand() as documented.
inline Grid reference(int columns, int rows, const Grid& grid, bool spread) {
    Grid next(grid.size(), 0);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const auto cell = [&](int cc, int rr) {
                return cc >= 0 && cc < columns && rr >= 0 && rr < rows && grid[static_cast<std::size_t>(rr * columns + cc)];
            };
            int n = 0;  // the cell and its eight neighbours
            for (int i = 0; i < 9; ++i) n += cell(c - 1 + i % 3, r - 1 + i / 3);
            const bool orthogonal = cell(c, r - 1) || cell(c - 1, r) || cell(c + 1, r) || cell(c, r + 1);
            next[static_cast<std::size_t>(r * columns + c)] = spread ? cell(c, r) || orthogonal || (std::rand() & 15) == 0
                                                                     : n == 3 || (cell(c, r) && n == 4);
        }
    }
    return next;
}

}  // namespace testing_support
