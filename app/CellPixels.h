#pragma once

#include <cstdint>
#include <cstring>

// The pixels of one-bit picture rows made from a board's row words. A board word holds 64 cells
// from its least significant bit (cell c in bit c % 64); a one-bit DIB row holds its pixels from
// the most significant bit of each byte. Byte j of a word (cells 8j to 8j + 7, in memory order on
// the little-endian processors this program runs on) becomes cellSize bytes of pixels.
namespace cellpixels {

// The bits of each byte of word in reverse order, bytes in place: a word of cells as the 64 pixels
// of cell size 1. Three rounds of swaps (single bits, pairs, nibbles).
inline std::uint64_t reverseEachByte(std::uint64_t word) noexcept {
    word = ((word >> 1) & 0x5555555555555555ull) | ((word & 0x5555555555555555ull) << 1);
    word = ((word >> 2) & 0x3333333333333333ull) | ((word & 0x3333333333333333ull) << 2);
    return ((word >> 4) & 0x0F0F0F0F0F0F0F0Full) | ((word & 0x0F0F0F0F0F0F0F0Full) << 4);
}

// A table from each byte of eight cells to its cellSize bytes of pixels, every cell's bit widened
// to cellSize bits (1 to 10); at cell size 1, the byte reversed.
class Widener {
public:
    static constexpr int MAX_CELL_SIZE = 10;

    explicit Widener(int cellSize) noexcept;

    int getCellSize() const noexcept { return cellSize; }
    // The cellSize bytes of pixels of a byte of cells.
    const std::uint8_t* of(unsigned cells) const noexcept { return table[cells & 255]; }
    // The 8 x cellSize bytes of pixels of a word of cells into out.
    void widen(std::uint64_t word, std::uint8_t* out) const noexcept;

private:
    template <int N>
    void widenBy(std::uint64_t word, std::uint8_t* out) const noexcept {
        for (int j = 0; j < 8; ++j, word >>= 8) std::memcpy(out + j * N, table[word & 255], N);
    }

    int cellSize;
    std::uint8_t table[256][MAX_CELL_SIZE];
};

}  // namespace cellpixels
