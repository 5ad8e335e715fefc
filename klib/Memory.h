#pragma once

#include <windows.h>

namespace klib {

// Owns one LocalAlloc'd block (for instance the buffer FormatMessageW allocates) and frees it once.
class LocalMemory {
public:
    explicit LocalMemory(HLOCAL memory = nullptr) noexcept : memory_(memory) {}
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    // Throws on a failed LocalFree, unless another exception is unwinding.
    ~LocalMemory() noexcept(false);

    // Frees the block; a second call does nothing. Throws "::LocalFree() failed".
    void release();
    HLOCAL get() const noexcept { return memory_; }

private:
    HLOCAL memory_;
};

// Owns one GlobalAlloc'd block (for instance the array CommandLineToArgvW returns) and frees it once.
class GlobalMemory {
public:
    explicit GlobalMemory(HGLOBAL memory = nullptr) noexcept : memory_(memory) {}
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    // Throws on a failed GlobalFree, unless another exception is unwinding.
    ~GlobalMemory() noexcept(false);

    // Frees the block; a second call does nothing. Throws "::GlobalFree() failed".
    void release();
    HGLOBAL get() const noexcept { return memory_; }

private:
    HGLOBAL memory_;
};

}  // namespace klib
