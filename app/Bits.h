#pragma once

#include <cstdint>

#if defined(_MSC_VER) && defined(_M_X64)
#include <intrin.h>
#endif

// Bit counting on 64-bit words of cells, bit i being the cell i places right of bit 0: the
// processor's own instructions where the compiler offers them, portable arithmetic otherwise.
namespace bits {

// The index of the lowest set bit of a non-zero word.
inline int lowest(std::uint64_t word) noexcept {
#if defined(__GNUC__)
    return __builtin_ctzll(word);
#elif defined(_MSC_VER) && defined(_M_X64)
    unsigned long index;
    _BitScanForward64(&index, word);
    return static_cast<int>(index);
#else
    // A de Bruijn multiplication of the lowest bit alone.
    static const unsigned char index[64] = {
        0,  1,  48, 2,  57, 49, 28, 3,  61, 58, 50, 42, 38, 29, 17, 4,  62, 55, 59, 36, 53, 51,
        43, 22, 45, 39, 33, 30, 24, 18, 12, 5,  63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21,
        44, 32, 23, 11, 46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19, 9,  13, 8,  7,  6};
    return index[((word & (0 - word)) * 0x03F79D71B4CB0A89ull) >> 58];
#endif
}

// The index of the highest set bit of a non-zero word.
inline int highest(std::uint64_t word) noexcept {
#if defined(__GNUC__)
    return 63 - __builtin_clzll(word);
#elif defined(_MSC_VER) && defined(_M_X64)
    unsigned long index;
    _BitScanReverse64(&index, word);
    return static_cast<int>(index);
#else
    int index = 0;
    for (int shift = 32; shift > 0; shift /= 2) {
        if ((word >> shift) != 0) {
            word >>= shift;
            index += shift;
        }
    }
    return index;
#endif
}

// The number of set bits, as a sum of bit fields (no popcnt instruction is assumed).
inline int count(std::uint64_t word) noexcept {
    word -= (word >> 1) & 0x5555555555555555ull;
    word = (word & 0x3333333333333333ull) + ((word >> 2) & 0x3333333333333333ull);
    word = (word + (word >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((word * 0x0101010101010101ull) >> 56);
}

}  // namespace bits
