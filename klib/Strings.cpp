#include "klib/Strings.h"
#include "klib/Win32Failure.h"

#include "klib/Exception.h"
#include "klib/Memory.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

namespace klib {

const std::wstring emptyString;
const std::wstring nullString(1, L'\xFFFF');
const std::wstring lineFeed(L"\n");
const std::wstring lineBreak(L"\r\n");
const std::wstring byteOrderMark(1, L'\xFEFF');
const std::wstring trueString(L"true");
const std::wstring falseString(L"false");

const wchar_t* cstrOrNull(const std::wstring& s) {
    return s == nullString ? nullptr : s.c_str();
}

std::wstring widen(const char* s) {
    std::wstring wide;
    for (; *s != '\0'; ++s) {
        // Bytes above 0x7F map to the Latin-1 code unit of the same value.
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*s));
    }
    return wide;
}

std::wstring toUnsignedString(std::uint32_t value) {
    // Written by hand rather than through a string stream or swprintf, whose locale and formatting
    // machinery would make up much of the executable.
    wchar_t digits[10];
    wchar_t* first = digits + 10;
    do {
        *--first = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    return std::wstring(first, digits + 10);
}

std::wstring toString(int value) {
    // The digits come from the magnitude as unsigned, so INT_MIN needs no care.
    if (value >= 0) {
        return toUnsignedString(static_cast<std::uint32_t>(value));
    }
    return L"-" + toUnsignedString(0u - static_cast<std::uint32_t>(value));
}

int parseInt(const std::wstring& s) {
    const std::size_t n = s.size();
    if (n == 0) {
        throw NumberFormatException(L"empty string");
    }
    const bool negative = s[0] == L'-';
    if (negative && n == 1) {
        throw NumberFormatException(s);
    }
    // Accumulated as a negative number so that -2147483648 is reachable.
    std::int32_t acc = 0;
    for (std::size_t i = negative ? 1 : 0; i < n; ++i) {
        const wchar_t c = s[i];
        if (c < L'0' || c > L'9') {
            throw NumberFormatException(s);
        }
        if (acc < -(INT32_MAX / 10)) {
            throw NumberFormatException(s + L" (overflow)");
        }
        // Two's complement wrap-around, done in unsigned arithmetic to stay defined.
        acc = static_cast<std::int32_t>(static_cast<std::uint32_t>(acc) * 10u - static_cast<std::uint32_t>(c - L'0'));
        if (acc > 0) {
            throw NumberFormatException(s + L" (overflow)");
        }
    }
    if (negative) {
        return acc;
    }
    if (acc == INT32_MIN) {
        throw NumberFormatException(s + L" (overflow)");
    }
    return -acc;
}

void splitCommandLine(std::vector<std::wstring>& words, const wchar_t* commandLine) {
    int count = 0;
    wchar_t** const arguments = CommandLineToArgvW(commandLine, &count);
    if (arguments == nullptr) {
        throwLastError(L"::CommandLineToArgvW");
    }
    GlobalMemory holder(arguments);
    words.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        words[static_cast<std::size_t>(i)] = arguments[i];
    }
    holder.release();
}

}  // namespace klib
