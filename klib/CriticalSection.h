#pragma once

#include <windows.h>

namespace klib {

// A Win32 critical section; the owning thread may enter it again.
class CriticalSection {
public:
    CriticalSection() noexcept { InitializeCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    ~CriticalSection() { DeleteCriticalSection(&section_); }

    void enter() noexcept { EnterCriticalSection(&section_); }
    void leave() noexcept { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

// Holds a critical section for its scope, so every enter meets its leave on every path.
class Lock {
public:
    explicit Lock(CriticalSection& section) noexcept : section_(&section) { section_->enter(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    ~Lock() { section_->leave(); }

private:
    CriticalSection* section_;  // not owned
};

}  // namespace klib
