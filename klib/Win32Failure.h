#pragma once

#include <windows.h>

#include <string>

#include "klib/Exception.h"

namespace klib {

// The one format of a failed system call's message: "<call>() failed", or "<call>(<argument>) failed"
// where the argument tells which of several uses failed. The exception type is the caller's choice.
//
// Typical use:
//   check(InvalidateRect(window, &area, TRUE), L"::InvalidateRect");   // "::InvalidateRect() failed"
//   throwLastError(L"::CreateDC", L"DISPLAY");                         // "::CreateDC(DISPLAY) failed"
//   throwFailure<RegException>(L"::RegOpenKeyEx", path, status);       // a code the call returned
std::wstring failureText(const wchar_t* call);
std::wstring failureText(const wchar_t* call, const std::wstring& argument);

// The exception for a failed call with code as its error code, to throw later or to report.
template <typename E = Exception>
E failure(const wchar_t* call, DWORD code) {
    return E(failureText(call), static_cast<int>(code));
}
template <typename E = Exception>
E failure(const wchar_t* call, const std::wstring& argument, DWORD code) {
    return E(failureText(call, argument), static_cast<int>(code));
}

// A code given by the call itself (a registry status, a common-dialog error) or read earlier.
template <typename E = Exception>
[[noreturn]] void throwFailure(const wchar_t* call, DWORD code) {
    throw failure<E>(call, code);
}
template <typename E = Exception>
[[noreturn]] void throwFailure(const wchar_t* call, const std::wstring& argument, DWORD code) {
    throw failure<E>(call, argument, code);
}

// GetLastError() is read first, before building the message can change it.
template <typename E = Exception>
[[noreturn]] void throwLastError(const wchar_t* call) {
    const DWORD code = GetLastError();
    throwFailure<E>(call, code);
}
template <typename E = Exception>
[[noreturn]] void throwLastError(const wchar_t* call, const wchar_t* argument) {
    const DWORD code = GetLastError();
    throwFailure<E>(call, argument, code);
}

template <typename E = Exception>
void check(BOOL succeeded, const wchar_t* call) {
    if (!succeeded) {
        throwLastError<E>(call);
    }
}

}  // namespace klib
