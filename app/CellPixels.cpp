#include "app/CellPixels.h"

#include <algorithm>

namespace cellpixels {

Widener::Widener(int cellSize) noexcept : cellSize(std::min(std::max(cellSize, 1), MAX_CELL_SIZE)), table{} {
    for (unsigned cells = 0; cells < 256; ++cells) {
        for (int cell = 0; cell < 8; ++cell) {
            if (((cells >> cell) & 1) == 0) continue;
            for (int pixel = cell * this->cellSize; pixel < (cell + 1) * this->cellSize; ++pixel) {
                table[cells][pixel / 8] |= static_cast<std::uint8_t>(0x80 >> (pixel % 8));
            }
        }
    }
}

void Widener::widen(std::uint64_t word, std::uint8_t* out) const noexcept {
    // Copies of a fixed size become plain stores: the default cell size's own, and for the others a
    // whole table row each into a buffer with room for the last one's excess, then one copy out.
    if (cellSize == 2) {
        widenBy<2>(word, out);
        return;
    }
    std::uint8_t buffer[9 * MAX_CELL_SIZE];
    for (int j = 0; j < 8; ++j, word >>= 8) std::memcpy(buffer + j * cellSize, table[word & 255], MAX_CELL_SIZE);
    std::memcpy(out, buffer, static_cast<std::size_t>(8 * cellSize));
}

}  // namespace cellpixels
