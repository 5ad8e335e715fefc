#pragma once

#include "klib/Exception.h"
#include "klib/Win32Failure.h"

namespace awt {

// A failed GDI or USER call in the toolkit, with GetLastError() as code.
class AWTException : public klib::Exception {
public:
    AWTException(const std::wstring& message, int errorCode) : klib::Exception(message, errorCode) {}
};

// klib's failure family, throwing AWTException: check(InvalidateRect(...), L"::InvalidateRect").
[[noreturn]] inline void throwLastError(const wchar_t* call) {
    klib::throwLastError<AWTException>(call);
}
[[noreturn]] inline void throwLastError(const wchar_t* call, const wchar_t* argument) {
    klib::throwLastError<AWTException>(call, argument);
}
[[noreturn]] inline void throwFailure(const wchar_t* call, DWORD code) {
    klib::throwFailure<AWTException>(call, code);
}
[[noreturn]] inline void throwFailure(const wchar_t* call, const std::wstring& argument, DWORD code) {
    klib::throwFailure<AWTException>(call, argument, code);
}
inline void check(BOOL succeeded, const wchar_t* call) {
    klib::check<AWTException>(succeeded, call);
}

}  // namespace awt
