#pragma once

#include <windows.h>

namespace klib {

// Address space for a wide-character buffer that is reserved once and committed as it grows,
// so its address stays fixed.
class ReservedBuffer {
public:
    // Reserves room for capacity characters; throws "::VirtualAlloc(MEM_RESERVE) failed".
    explicit ReservedBuffer(DWORD capacity);
    ReservedBuffer(const ReservedBuffer&) = delete;
    ReservedBuffer& operator=(const ReservedBuffer&) = delete;
    // Throws "::VirtualFree() failed", unless another exception is unwinding.
    ~ReservedBuffer() noexcept(false);

    // Makes the first length characters usable; does nothing when that many are committed already.
    // Throws "::VirtualAlloc(MEM_COMMIT) failed", also for a length beyond the reserved capacity.
    void commit(DWORD length);
    wchar_t* data() const noexcept { return base_; }
    DWORD committed() const noexcept { return committed_; }

private:
    wchar_t* base_;
    DWORD committed_;
};

}  // namespace klib
