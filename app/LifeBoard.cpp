#include "app/LifeBoard.h"

#include "app/Bits.h"
#include "app/ScreenCapture.h"
#include "klib/Exception.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The neighbours on the left and on the right of the 64 cells of word k, as words.
std::uint64_t west(const std::uint64_t* row, int k) noexcept {
    return (row[k] << 1) | (row[k - 1] >> 63);
}

std::uint64_t east(const std::uint64_t* row, int k) noexcept {
    return (row[k] >> 1) | (row[k + 1] << 63);
}

// One word of the ordinary rule for 64 cells at once: the eight neighbours are added bit-wise.
std::uint64_t nextWord(const std::uint64_t* above, const std::uint64_t* here, const std::uint64_t* below,
                       int k) noexcept {
    // Above and below: three cells each, summed to two bits (ones, twos); beside: two cells.
    const std::uint64_t aw = west(above, k), ac = above[k], ae = east(above, k);
    const std::uint64_t a0 = aw ^ ac ^ ae, a1 = (aw & ac) | (ae & (aw ^ ac));
    const std::uint64_t bw = west(below, k), bc = below[k], be = east(below, k);
    const std::uint64_t b0 = bw ^ bc ^ be, b1 = (bw & bc) | (be & (bw ^ bc));
    const std::uint64_t hw = west(here, k), he = east(here, k);
    const std::uint64_t h0 = hw ^ he, h1 = hw & he;
    // The sum is ones + 2 x twos, twos counting a1, b1, h1 and the carry of the ones.
    const std::uint64_t ones = a0 ^ b0 ^ h0;
    const std::uint64_t carry = (a0 & b0) | (h0 & (a0 ^ b0));
    const std::uint64_t twosOdd = a1 ^ b1 ^ h1 ^ carry;
    const std::uint64_t twosAtLeastTwo = (a1 & b1) | (h1 & carry) | ((a1 | b1) & (h1 | carry));
    // Exactly one two: a sum of 3 (born or survives) or 2 (survives only).
    return twosOdd & ~twosAtLeastTwo & (ones | here[k]);
}

// Off-screen cells die: cells &= shown, for a whole row.
void keepOnScreen(std::uint64_t* cells, const std::uint64_t* shown, int words) noexcept {
    if (shown == nullptr) {
        return;
    }
    for (int k = 0; k < words; ++k) {
        cells[k] &= shown[k];
    }
}

}  // namespace

LifeBoard::LifeBoard(int columns, int rows)
    : columns(std::max(0, columns)), rows(std::max(0, rows)), changeThreshold(this->columns * this->rows / 100),
      wordsPerRow((this->columns + 63) / 64), stride(wordsPerRow + 2),
      lastMask(this->columns % 64 == 0 ? ~std::uint64_t{0} : (std::uint64_t{1} << (this->columns % 64)) - 1) {
    const std::size_t words = static_cast<std::size_t>(stride) * static_cast<std::size_t>(this->rows + 2);
    // Value-initialised: all dead, border included.
    planeA = std::make_unique<std::uint64_t[]>(words);
    planeB = std::make_unique<std::uint64_t[]>(words);
}

void LifeBoard::seed(const ScreenCapture& screen, int originX, int originY, int cellSize, unsigned key) {
    currentIsA = true;
    for (int row = 0; row < rows; ++row) {
        std::uint64_t* const cells = rowOf(planeA.get(), row);
        std::fill(cells, cells + wordsPerRow, 0);
        const int y = originY + row * cellSize;
        // The usual case, the whole row on one readable part of the screen, is read straight from the copy.
        const std::uint32_t* const run = columns > 0 ? screen.readableRun(originX, y, (columns - 1) * cellSize + 1)
                                                     : nullptr;
        for (int column = 0; column < columns; ++column) {
            unsigned grey;
            if (run != nullptr) {
                const std::uint32_t rgb = run[column * cellSize];
                grey = (((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF)) / 3u;
            } else {
                // An unreadable pixel is CLR_INVALID, all bits set: grey 255.
                const COLORREF pixel = screen.getPixel(originX + column * cellSize, y);
                grey = (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) / 3u;
            }
            // Alive when the grey level lies in the key's band of 32.
            cells[column / 64] |= static_cast<std::uint64_t>((grey ^ key) < 32) << (column % 64);
        }
        keepOnScreen(cells, onScreenRow(row), wordsPerRow);
    }
    stagnant = false;
}

int LifeBoard::lifeStep(RowListener* listener) {
    currentIsA = !currentIsA;
    int changes = 0;
    for (int row = 0; row < rows; ++row) {
        const std::uint64_t* const here = rowOf(other(), row);
        std::uint64_t* const next = rowOf(current(), row);
        const std::uint64_t* const shown = onScreenRow(row);
        int firstWord = -1;
        int lastWord = -1;
        for (int k = 0; k < wordsPerRow; ++k) {
            // Births just past the last column, and off-screen ones, are cut off: the bits there are no cells.
            const std::uint64_t cells = (k == wordsPerRow - 1 ? lastMask : ~std::uint64_t{0}) & (shown ? shown[k] : ~std::uint64_t{0});
            next[k] = nextWord(here - stride, here, here + stride, k) & cells;
            const std::uint64_t changed = next[k] ^ here[k];
            if (changed != 0) {
                changes += bits::count(changed);
                firstWord = firstWord < 0 ? k : firstWord;
                lastWord = k;
            }
        }
        if (firstWord >= 0 && listener != nullptr) {
            listener->rowChanged(row, next, here, firstWord * 64 + bits::lowest(next[firstWord] ^ here[firstWord]),
                                 lastWord * 64 + bits::highest(next[lastWord] ^ here[lastWord]) + 1);
        }
    }
    stagnant = changes < changeThreshold;
    return changes;
}

void LifeBoard::spreadStep(RowListener* listener) {
    currentIsA = !currentIsA;
    for (int row = 0; row < rows; ++row) {
        const std::uint64_t* const here = rowOf(other(), row);
        const std::uint64_t* const above = here - stride;
        const std::uint64_t* const below = here + stride;
        std::uint64_t* const next = rowOf(current(), row);
        const std::uint64_t* const shown = onScreenRow(row);
        int first = columns;
        int last = 0;
        for (int k = 0; k < wordsPerRow; ++k) {
            const std::uint64_t cells = (k == wordsPerRow - 1 ? lastMask : ~std::uint64_t{0}) & (shown ? shown[k] : ~std::uint64_t{0});
            const std::uint64_t orthogonal = above[k] | below[k] | west(here, k) | east(here, k);
            std::uint64_t born = ~here[k] & orthogonal & cells;
            // Only the isolated dead cells draw a random number, one each in walk order.
            for (std::uint64_t isolated = ~here[k] & ~orthogonal & cells; isolated != 0; isolated &= isolated - 1) {
                if ((std::rand() & 15) == 0) born |= isolated & (0 - isolated);
            }
            next[k] = here[k] | born;
            if (born != 0) {
                first = std::min(first, k * 64 + bits::lowest(born));
                last = k * 64 + bits::highest(born) + 1;
            }
        }
        if (first < last && listener != nullptr) {
            listener->rowChanged(row, next, here, first, last);
        }
    }
    stagnant = false;
}

void LifeBoard::setOnScreen(const std::vector<CellArea>& areas) {
    onScreen.reset();
    for (const CellArea& area : areas) {
        if (area.left <= 0 && area.top <= 0 && area.right >= columns && area.bottom >= rows) {
            return;  // everything shown: no mask to apply
        }
    }
    if (areas.empty()) {
        return;
    }
    onScreen = std::make_unique<std::uint64_t[]>(static_cast<std::size_t>(stride) * static_cast<std::size_t>(rows + 2));
    for (const CellArea& area : areas) {
        const int left = std::max(0, area.left);
        const int right = std::min(columns, area.right);
        for (int row = std::max(0, area.top); row < std::min(rows, area.bottom); ++row) {
            std::uint64_t* const mask = rowOf(onScreen.get(), row);
            for (int column = left; column < right; ++column) {
                mask[column / 64] |= std::uint64_t{1} << (column % 64);
            }
        }
    }
    for (int row = 0; row < rows; ++row) {
        keepOnScreen(rowOf(current(), row), onScreenRow(row), wordsPerRow);
    }
}

void LifeBoard::checkCell(int column, int row) const {
    klib::checkIndex(L"column", 0, columns, column);
    klib::checkIndex(L"row", 0, rows, row);
}

bool LifeBoard::isAlive(int column, int row) const {
    checkCell(column, row);
    return (words(row)[column / 64] >> (column % 64)) & 1;
}

void LifeBoard::setAlive(int column, int row, bool alive) {
    checkCell(column, row);
    std::uint64_t& word = rowOf(current(), row)[column / 64];
    const std::uint64_t bit = std::uint64_t{1} << (column % 64);
    word = alive ? word | bit : word & ~bit;
}
