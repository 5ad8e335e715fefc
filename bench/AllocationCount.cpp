#include "bench/AllocationCount.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> held{0};

// Each block starts with its size, so that the unsized deletes can count it off.
constexpr std::size_t HEADER = alignof(std::max_align_t);

void* allocate(std::size_t size) {
    void* const block = std::malloc(size + HEADER);
    if (block == nullptr) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    held += size;
    return static_cast<char*>(block) + HEADER;
}

void release(void* memory) noexcept {
    if (memory == nullptr) return;
    void* const block = static_cast<char*>(memory) - HEADER;
    held -= *static_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* memory) noexcept { release(memory); }
void operator delete[](void* memory) noexcept { release(memory); }
void operator delete(void* memory, std::size_t) noexcept { release(memory); }
void operator delete[](void* memory, std::size_t) noexcept { release(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { release(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { release(memory); }

namespace bench {

std::size_t allocatedBytes() noexcept {
    return held.load();
}

}  // namespace bench
