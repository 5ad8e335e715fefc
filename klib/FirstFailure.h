#pragma once

#include <exception>
#include <utility>

#include "klib/Exception.h"

namespace klib {

// Runs release steps that must all run even when one of them fails, keeping the first failure to
// report once they are done: how a destructor that may throw releases several things.
//
// Typical use:
//   klib::FirstFailure failure;
//   failure.run([&] { first.reset(); });
//   failure.run([&] { second.reset(); });
//   failure.rethrow(L"~Owner(): releasing failed");
class FirstFailure {
public:
    template <class Step>
    void run(Step&& step) noexcept {
        try {
            std::forward<Step>(step)();
        } catch (...) {
            if (!failure) {
                failure = std::current_exception();
            }
        }
    }

    // Rethrows the first failure, if any. While another exception is unwinding it only reports what
    // as an ignored failure, since throwing then would end the program.
    void rethrow(const wchar_t* what) const {
        if (!failure) {
            return;
        }
        if (std::uncaught_exceptions() > 0) {
            reportIgnoredFailure(what);
            return;
        }
        std::rethrow_exception(failure);
    }

private:
    std::exception_ptr failure;
};

}  // namespace klib
