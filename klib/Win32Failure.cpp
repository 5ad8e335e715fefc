#include "klib/Win32Failure.h"

namespace klib {

std::wstring failureText(const wchar_t* call) {
    return std::wstring(call) + L"() failed";
}

std::wstring failureText(const wchar_t* call, const std::wstring& argument) {
    return std::wstring(call) + L'(' + argument + L") failed";
}

}  // namespace klib
