#pragma once

#include <cstdint>
#include <vector>

// A smooth random landscape of grey levels, one per cell, row by row: a few octaves of value noise
// from seed, its histogram flattened so that every grey level is about equally common. Each band of
// 32 levels then covers about an eighth of the cells, as hills, valleys or the slopes between them.
std::vector<std::uint8_t> generateGreyLevels(int columns, int rows, unsigned seed);
