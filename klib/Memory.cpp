#include "klib/Memory.h"
#include "klib/Win32Failure.h"

namespace klib {

void LocalMemoryTraits::fail(DWORD error) {
    throwFailure(L"::LocalFree", error);
}

void GlobalMemoryTraits::fail(DWORD error) {
    throwFailure(L"::GlobalFree", error);
}

}  // namespace klib
