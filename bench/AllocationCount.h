#pragma once

#include <cstddef>

// The bytes the bench process holds from operator new, counted by the bench's own replacement of
// the global allocation functions: what an object allocates is the difference around it.
namespace bench {

std::size_t allocatedBytes() noexcept;

}  // namespace bench
