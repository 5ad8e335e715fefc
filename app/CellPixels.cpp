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
    // The default cell size with a fixed size for each copy, so that each becomes a plain store.
    if (cellSize == 2) {
        widenBy<2>(word, out);
        return;
    }
    for (int j = 0; j < 8; ++j, word >>= 8) std::memcpy(out + j * cellSize, table[word & 255], static_cast<std::size_t>(cellSize));
}

}  // namespace cellpixels
