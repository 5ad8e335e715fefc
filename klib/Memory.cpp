#include "klib/Memory.h"

#include "klib/Exception.h"

#include <exception>

namespace klib {

namespace {

// Frees a non-null block with freeFunction; on failure returns false with the error code.
template <typename Handle, typename FreeFunction>
bool freeMemory(Handle& memory, FreeFunction freeFunction, DWORD& error) {
    if (memory == nullptr) {
        return true;
    }
    const Handle handle = memory;
    // The block counts as gone either way: a failed free is not retried.
    memory = nullptr;
    if (freeFunction(handle) != nullptr) {
        error = GetLastError();
        return false;
    }
    return true;
}

}  // namespace

LocalMemory::~LocalMemory() noexcept(false) {
    DWORD error = 0;
    if (!freeMemory(memory_, LocalFree, error)) {
        Exception failure(L"::LocalFree() failed", static_cast<int>(error));
        if (std::uncaught_exceptions() > 0) {
            reportIgnoredFailure(L"~LocalMemory(): " + failure.toString());
            return;
        }
        throw failure;
    }
}

void LocalMemory::release() {
    DWORD error = 0;
    if (!freeMemory(memory_, LocalFree, error)) {
        throw Exception(L"::LocalFree() failed", static_cast<int>(error));
    }
}

GlobalMemory::~GlobalMemory() noexcept(false) {
    DWORD error = 0;
    if (!freeMemory(memory_, GlobalFree, error)) {
        Exception failure(L"::GlobalFree() failed", static_cast<int>(error));
        if (std::uncaught_exceptions() > 0) {
            reportIgnoredFailure(L"~GlobalMemory(): " + failure.toString());
            return;
        }
        throw failure;
    }
}

void GlobalMemory::release() {
    DWORD error = 0;
    if (!freeMemory(memory_, GlobalFree, error)) {
        throw Exception(L"::GlobalFree() failed", static_cast<int>(error));
    }
}

}  // namespace klib
