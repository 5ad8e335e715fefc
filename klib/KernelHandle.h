#pragma once

#include <windows.h>

#include "klib/Holder.h"

namespace klib {

// A kernel object's handle (a thread, an event, a file); "::CloseHandle() failed". Both null and
// INVALID_HANDLE_VALUE, the two ways Win32 calls report no handle, count as holding nothing.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle none() noexcept { return nullptr; }
    static bool close(Handle handle) noexcept { return handle == INVALID_HANDLE_VALUE || CloseHandle(handle); }
    [[noreturn]] static void fail(DWORD error);
};
using KernelHandle = Holder<KernelHandleTraits>;

}  // namespace klib
