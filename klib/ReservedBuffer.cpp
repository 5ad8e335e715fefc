#include "klib/ReservedBuffer.h"

#include "klib/Exception.h"

#include <exception>

namespace klib {

namespace {

// In SIZE_T, so that large character counts cannot wrap around.
SIZE_T bytesOf(DWORD characters) {
    return static_cast<SIZE_T>(characters) * sizeof(wchar_t);
}

}  // namespace

ReservedBuffer::ReservedBuffer(DWORD capacity)
    : base_(static_cast<wchar_t*>(VirtualAlloc(nullptr, bytesOf(capacity), MEM_RESERVE, PAGE_READWRITE))),
      committed_(0) {
    if (base_ == nullptr) {
        throw Exception(L"::VirtualAlloc(MEM_RESERVE) failed", static_cast<int>(GetLastError()));
    }
}

ReservedBuffer::~ReservedBuffer() noexcept(false) {
    if (!VirtualFree(base_, 0, MEM_RELEASE)) {
        Exception failure(L"::VirtualFree() failed", static_cast<int>(GetLastError()));
        if (std::uncaught_exceptions() > 0) {
            reportIgnoredFailure(L"~ReservedBuffer(): " + failure.toString());
            return;
        }
        throw failure;
    }
}

void ReservedBuffer::commit(DWORD length) {
    if (committed_ >= length) {
        return;
    }
    // Committing outside the reservation fails in the system, which reports it like any other failure.
    if (VirtualAlloc(base_, bytesOf(length), MEM_COMMIT, PAGE_READWRITE) == nullptr) {
        throw Exception(L"::VirtualAlloc(MEM_COMMIT) failed", static_cast<int>(GetLastError()));
    }
    committed_ = length;
}

}  // namespace klib
