#include "app/LifeBoard.h"

#include "app/ScreenCapture.h"
#include "klib/Exception.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

std::uint64_t load64(const std::uint8_t* bytes) noexcept {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof(word));
    return word;
}

// One row of the ordinary rule. Branch-free and on bytes, so the compiler vectorises it; the dead
// border makes the reads at column -1 and columns safe.
void computeRow(std::uint8_t* __restrict next, const std::uint8_t* __restrict above,
                const std::uint8_t* __restrict here, const std::uint8_t* __restrict below, int columns) noexcept {
    for (int c = 0; c < columns; ++c) {
        const std::uint8_t n = static_cast<std::uint8_t>(above[c - 1] + above[c] + above[c + 1] + here[c - 1] +
                                                         here[c + 1] + below[c - 1] + below[c] + below[c + 1]);
        next[c] = static_cast<std::uint8_t>((n == 3) | (here[c] & (n == 2)));
    }
}

int countChanges(const std::uint8_t* next, const std::uint8_t* previous, int columns) noexcept {
    int changes = 0;
    for (int c = 0; c < columns; ++c) {
        changes += next[c] ^ previous[c];
    }
    return changes;
}

// The first changed column, or columns when none changed; equal 8-cell words are skipped whole.
int firstChange(const std::uint8_t* next, const std::uint8_t* previous, int columns) noexcept {
    int c = 0;
    while (c + 8 <= columns && load64(next + c) == load64(previous + c)) {
        c += 8;
    }
    while (c < columns && next[c] == previous[c]) {
        ++c;
    }
    return c;
}

// One past the last changed column; from the right, the same way.
int lastChange(const std::uint8_t* next, const std::uint8_t* previous, int columns, int first) noexcept {
    int c = columns;
    while (c - 8 >= first && load64(next + c - 8) == load64(previous + c - 8)) {
        c -= 8;
    }
    while (c > first && next[c - 1] == previous[c - 1]) {
        --c;
    }
    return c;
}

}  // namespace

LifeBoard::LifeBoard(int columns, int rows)
    : columns(std::max(0, columns)), rows(std::max(0, rows)), changeThreshold(this->columns * this->rows / 100),
      stride(this->columns + 2), firstCell(this->columns + 3) {
    const std::size_t cells = static_cast<std::size_t>(stride) * static_cast<std::size_t>(this->rows + 2);
    // Value-initialised: all dead, border included.
    planeA = std::make_unique<std::uint8_t[]>(cells);
    planeB = std::make_unique<std::uint8_t[]>(cells);
}

void LifeBoard::seed(const ScreenCapture& screen, int originX, int originY, int cellSize, unsigned key) {
    currentIsA = true;
    for (int row = 0; row < rows; ++row) {
        std::uint8_t* const cells = planeA.get() + firstCell + static_cast<std::size_t>(row) * stride;
        const int y = originY + row * cellSize;
        for (int column = 0; column < columns; ++column) {
            // An unreadable pixel is CLR_INVALID, all bits set: grey 255.
            const COLORREF pixel = screen.getPixel(originX + column * cellSize, y);
            const unsigned grey = (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) / 3u;
            // Alive when the grey level lies in the key's band of 32.
            cells[column] = static_cast<std::uint8_t>((grey ^ key) < 32);
        }
    }
    stagnant = false;
}

int LifeBoard::lifeStep(RowListener* listener) {
    currentIsA = !currentIsA;
    std::uint8_t* const destination = current();
    const std::uint8_t* const source = other();
    int changes = 0;
    for (int row = 0; row < rows; ++row) {
        const std::size_t start = firstCell + static_cast<std::size_t>(row) * stride;
        const std::uint8_t* const here = source + start;
        std::uint8_t* const next = destination + start;
        computeRow(next, here - stride, here, here + stride, columns);
        const int changed = countChanges(next, here, columns);
        changes += changed;
        if (changed > 0 && listener != nullptr) {
            const int first = firstChange(next, here, columns);
            listener->rowChanged(row, next, here, first, lastChange(next, here, columns, first));
        }
    }
    stagnant = changes < changeThreshold;
    return changes;
}

void LifeBoard::spreadStep(RowListener* listener) {
    currentIsA = !currentIsA;
    std::uint8_t* const destination = current();
    const std::uint8_t* const source = other();
    for (int row = 0; row < rows; ++row) {
        const std::size_t start = firstCell + static_cast<std::size_t>(row) * stride;
        const std::uint8_t* const here = source + start;
        const std::uint8_t* const above = here - stride;
        const std::uint8_t* const below = here + stride;
        std::uint8_t* const next = destination + start;
        int first = columns;
        int last = 0;
        for (int column = 0; column < columns; ++column) {
            bool born;
            if (here[column]) {
                born = false;
            } else if (above[column] | here[column - 1] | here[column + 1] | below[column]) {
                born = true;
            } else {
                // Only the isolated dead cells draw a random number, one each in walk order.
                born = (std::rand() & 15) == 0;
            }
            next[column] = static_cast<std::uint8_t>(here[column] | born);
            if (born) {
                first = std::min(first, column);
                last = column + 1;
            }
        }
        if (first < last && listener != nullptr) {
            listener->rowChanged(row, next, here, first, last);
        }
    }
    stagnant = false;
}

std::size_t LifeBoard::cellIndex(int column, int row) const {
    klib::checkIndex(L"column", 0, columns, column);
    klib::checkIndex(L"row", 0, rows, row);
    return firstCell + static_cast<std::size_t>(row) * stride + column;
}

bool LifeBoard::isAlive(int column, int row) const {
    return current()[cellIndex(column, row)] != 0;
}

void LifeBoard::setAlive(int column, int row, bool alive) {
    current()[cellIndex(column, row)] = alive ? 1 : 0;
}
