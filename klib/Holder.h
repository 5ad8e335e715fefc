#pragma once

#include <windows.h>

#include <exception>
#include <utility>

#include "klib/Exception.h"

namespace klib {

// Typical use, with the holders of awt/GdiObject.h:
//   awt::GdiObject brush(CreateSolidBrush(colour));   // DeleteObject when brush goes, even on a throw
//   awt::WindowDC dc(GetDC(window), window);          // the traits carry what the release needs
//   FillRect(dc.get(), &area, static_cast<HBRUSH>(brush.get()));
//   brush.release();                                  // at once, throwing if DeleteObject fails

// Owns one resource and releases it exactly once, on every path; what the resource is and how it is
// released is the business of Traits:
//
//   using Handle = ...;                    // the resource's handle type
//   static Handle none() noexcept;         // the value that holds nothing
//   bool close(Handle handle) noexcept;    // releases handle; false on failure, with GetLastError() set
//   void fail(DWORD error) const;          // throws the exception for a failed release
//
// A traits object may carry what the release needs besides the handle (the window of a device context,
// the device context of a selection); it is passed with the handle. A failed release throws, unless
// another exception is unwinding: then it is reported to the debug output. Either way the resource
// counts as gone and is not released again.
template <typename Traits>
class Holder : private Traits {
public:
    using Handle = typename Traits::Handle;

    explicit Holder(Handle handle = Traits::none(), Traits traits = Traits()) noexcept
        : Traits(std::move(traits)), handle_(handle) {}
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    ~Holder() noexcept(false) {
        const Handle held = detach();
        if (held == Traits::none() || Traits::close(held)) {
            return;
        }
        const DWORD error = GetLastError();
        if (std::uncaught_exceptions() == 0) {
            Traits::fail(error);
            return;
        }
        try {
            Traits::fail(error);
        } catch (const Exception& failure) {
            reportIgnoredFailure(L"releasing a resource while unwinding: " + failure.toString());
        } catch (...) {
            reportIgnoredFailure(L"releasing a resource while unwinding");
        }
    }

    Handle get() const noexcept { return handle_; }
    // Releases the resource; a second call does nothing.
    void release() { reset(); }
    // Takes handle, then releases the resource held before: a failed release does not lose the new one.
    void reset(Handle handle = Traits::none()) {
        if (handle == handle_) {
            return;
        }
        const Handle held = handle_;
        handle_ = handle;
        if (held != Traits::none() && !Traits::close(held)) {
            Traits::fail(GetLastError());
        }
    }
    // Gives the resource up without releasing it; the caller owns it again.
    Handle detach() noexcept {
        const Handle held = handle_;
        handle_ = Traits::none();
        return held;
    }
    void swap(Holder& other) noexcept {
        std::swap(static_cast<Traits&>(*this), static_cast<Traits&>(other));
        std::swap(handle_, other.handle_);
    }

private:
    Handle handle_;
};

// Memory from LocalAlloc (for instance the buffer FormatMessageW allocates); "::LocalFree() failed".
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle none() noexcept { return nullptr; }
    static bool close(Handle memory) noexcept { return LocalFree(memory) == nullptr; }
    [[noreturn]] static void fail(DWORD error);
};
using LocalMemory = Holder<LocalMemoryTraits>;

// Memory from GlobalAlloc (for instance the array CommandLineToArgvW returns); "::GlobalFree() failed".
struct GlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle none() noexcept { return nullptr; }
    static bool close(Handle memory) noexcept { return GlobalFree(memory) == nullptr; }
    [[noreturn]] static void fail(DWORD error);
};
using GlobalMemory = Holder<GlobalMemoryTraits>;

}  // namespace klib
