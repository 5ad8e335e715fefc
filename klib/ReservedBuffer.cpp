#include "klib/ReservedBuffer.h"
#include "klib/Win32Failure.h"

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
        throwLastError(L"::VirtualAlloc", L"MEM_RESERVE");
    }
}

ReservedBuffer::~ReservedBuffer() noexcept(false) {
    if (!VirtualFree(base_, 0, MEM_RELEASE)) {
        const Exception failed = failure(L"::VirtualFree", GetLastError());
        if (std::uncaught_exceptions() > 0) {
            reportIgnoredFailure(L"~ReservedBuffer(): " + failed.toString());
            return;
        }
        throw failed;
    }
}

void ReservedBuffer::commit(DWORD length) {
    if (committed_ >= length) {
        return;
    }
    // Committing outside the reservation fails in the system, which reports it like any other failure.
    if (VirtualAlloc(base_, bytesOf(length), MEM_COMMIT, PAGE_READWRITE) == nullptr) {
        throwLastError(L"::VirtualAlloc", L"MEM_COMMIT");
    }
    committed_ = length;
}

}  // namespace klib
