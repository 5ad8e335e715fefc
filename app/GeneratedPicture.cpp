#include "app/GeneratedPicture.h"

#include <algorithm>
#include <cstddef>

namespace {

// The widest octave's lattice step in cells; each further octave halves it.
constexpr int COARSEST_STEP = 48;
constexpr int OCTAVES = 4;
constexpr int LEVELS = 1 << 16;  // the noise's resolution before flattening

// A pseudo-random value in [0, 1) for a lattice point of an octave (a mixing hash, so nothing is stored).
float latticeValue(int x, int y, int octave, unsigned seed) noexcept {
    std::uint32_t h = seed ^ 0x9E3779B9u * static_cast<std::uint32_t>(octave + 1);
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h = (h ^ (h >> 13)) * 0x297A2D39u;
    h ^= h >> 16;
    return static_cast<float>(h >> 8) / static_cast<float>(1u << 24);
}

float smooth(float t) noexcept {
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace

std::vector<std::uint8_t> generateGreyLevels(int columns, int rows, unsigned seed) {
    columns = std::max(0, columns);
    rows = std::max(0, rows);
    const std::size_t count = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    std::vector<std::uint16_t> noise(count);
    std::vector<float> line(static_cast<std::size_t>(columns));
    for (int row = 0; row < rows; ++row) {
        std::fill(line.begin(), line.end(), 0.0f);
        float amplitude = 1.0f, total = 0.0f;
        for (int octave = 0, step = COARSEST_STEP; octave < OCTAVES && step >= 1; ++octave, step /= 2) {
            const int y0 = row / step;
            const float fy = smooth(static_cast<float>(row % step) / static_cast<float>(step));
            for (int column = 0; column < columns; ++column) {
                const int x0 = column / step;
                const float fx = smooth(static_cast<float>(column % step) / static_cast<float>(step));
                const float top = latticeValue(x0, y0, octave, seed) +
                                  fx * (latticeValue(x0 + 1, y0, octave, seed) - latticeValue(x0, y0, octave, seed));
                const float bottom = latticeValue(x0, y0 + 1, octave, seed) +
                                     fx * (latticeValue(x0 + 1, y0 + 1, octave, seed) -
                                           latticeValue(x0, y0 + 1, octave, seed));
                line[static_cast<std::size_t>(column)] += amplitude * (top + fy * (bottom - top));
            }
            total += amplitude;
            amplitude *= 0.5f;
        }
        for (int column = 0; column < columns; ++column) {
            const float value = line[static_cast<std::size_t>(column)] / total;
            noise[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)] =
                static_cast<std::uint16_t>(std::min(LEVELS - 1, static_cast<int>(value * LEVELS)));
        }
    }
    // Flattened: a cell's grey is the share of cells below its noise value, in 256 levels.
    std::vector<std::size_t> below(LEVELS + 1, 0);
    for (const std::uint16_t value : noise) ++below[static_cast<std::size_t>(value) + 1];
    for (int level = 1; level <= LEVELS; ++level) below[static_cast<std::size_t>(level)] += below[level - 1];
    std::vector<std::uint8_t> grey(count);
    for (std::size_t i = 0; i < count; ++i) {
        // The middle of the value's own share, so equal values spread around their rank, not below it.
        const std::size_t rank = below[noise[i]] + (below[noise[i] + 1u] - below[noise[i]]) / 2;
        grey[i] = static_cast<std::uint8_t>(rank * 256 / count);
    }
    return grey;
}
