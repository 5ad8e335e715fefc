#include "klib/KernelHandle.h"

#include "klib/Win32Failure.h"

namespace klib {

void KernelHandleTraits::fail(DWORD error) {
    throwFailure(L"::CloseHandle", error);
}

}  // namespace klib
