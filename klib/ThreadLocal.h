#pragma once

#include <windows.h>

namespace klib {

// Owns one thread-local storage slot; its value is an untyped pointer, null in every thread at first.
class ThreadLocal {
public:
    // Throws "::TlsAlloc() failed" when no slot is left.
    ThreadLocal();
    ThreadLocal(const ThreadLocal&) = delete;
    ThreadLocal& operator=(const ThreadLocal&) = delete;
    ~ThreadLocal();

    DWORD index() const noexcept { return index_; }
    void* get() const noexcept { return TlsGetValue(index_); }
    void set(void* value) const noexcept { TlsSetValue(index_, value); }

private:
    DWORD index_;
};

}  // namespace klib
