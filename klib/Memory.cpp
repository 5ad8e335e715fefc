#include "klib/Memory.h"

namespace klib {

void LocalMemoryTraits::fail(DWORD error) {
    throw Exception(L"::LocalFree() failed", static_cast<int>(error));
}

void GlobalMemoryTraits::fail(DWORD error) {
    throw Exception(L"::GlobalFree() failed", static_cast<int>(error));
}

}  // namespace klib
