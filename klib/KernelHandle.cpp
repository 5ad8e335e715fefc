#include "klib/KernelHandle.h"

#include "klib/Exception.h"

namespace klib {

void KernelHandleTraits::fail(DWORD error) {
    throw Exception(L"::CloseHandle() failed", static_cast<int>(error));
}

}  // namespace klib
