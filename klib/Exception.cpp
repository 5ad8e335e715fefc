#include "klib/Exception.h"
#include "klib/Win32Failure.h"

#include "klib/Memory.h"
#include "klib/Strings.h"

#if defined(__GNUC__)
#include <cxxabi.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace klib {

namespace {

// Writes text into the stream's buffer, then flushes it if asked, as the stream's own inserters would,
// but without calling any of the stream's out-of-line members: each of them links the C++ library's
// locale machinery (about 590 KB) into the program, and print, being virtual, is always linked. As
// with the inserters, a stream that is not good gets nothing; a failed write leaves its state alone.
void writeOut(std::wostream& out, const std::wstring& text, bool flush) {
    std::wstreambuf* const buffer = out.rdbuf();
    if (buffer == nullptr || !out.good()) {
        return;
    }
    if (std::wostream* const tied = out.tie(); tied != nullptr && tied->rdbuf() != nullptr) {
        tied->rdbuf()->pubsync();
    }
    buffer->sputn(text.data(), static_cast<std::streamsize>(text.size()));
    if (flush) {
        buffer->pubsync();
    }
}

}  // namespace

Exception::Exception(const std::wstring& message, int errorCode) : message_(message), errorCode_(errorCode) {}

std::wstring Exception::getTypeName() const {
    const char* const rawName = typeid(*this).name();
#if defined(__GNUC__)
    // GCC and clang report mangled names; the texts show the qualified name as "class ns::Name".
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(rawName, nullptr, nullptr, &status), &std::free);
    return L"class " + widen(status == 0 && demangled ? demangled.get() : rawName);
#else
    // MSVC names the type readably already: "class ns::Name".
    return widen(rawName);
#endif
}

std::wstring Exception::toString() const {
    std::wstring text = getTypeName() + L": " + message_;
    if (errorCode_ != -1) {
        text += L": " + klib::toString(errorCode_);
    }
    return text;
}

std::wostream& Exception::print(std::wostream& out) const {
    std::wstring text = getTypeName() + L": " + message_;
    if (errorCode_ != -1) {
        // Looked up first, so a failed lookup leaves no half-written code part.
        std::wstring systemText;
        try {
            formatMessage(static_cast<DWORD>(errorCode_), systemText);
        } catch (...) {
            writeOut(out, text, false);
            throw;
        }
        text += L": " + toUnsignedString(static_cast<std::uint32_t>(errorCode_)) + L" (" + systemText + L')';
    }
    writeOut(out, text + L'\n', true);
    return out;
}

std::wstring Exception::messageBoxText() const {
    std::wstring text = getTypeName() + L"\n" + message_;
    if (errorCode_ != -1) {
        text += L"\nError code: " + klib::toString(errorCode_);
        try {
            std::wstring systemText;
            formatMessage(static_cast<DWORD>(errorCode_), systemText);
            text += L" (" + systemText + L")";
        } catch (...) {
            OutputDebugStringW(L"ignored exception thrown by formatMessage() during Exception::showMessageBox()\n");
        }
    }
    return text;
}

int Exception::showMessageBox(HWND owner, const wchar_t* caption, UINT type) const {
    const std::wstring text = messageBoxText();
    return MessageBoxW(owner, text.c_str(), caption, type);
}

IndexOutOfBoundsException::IndexOutOfBoundsException(const std::wstring& name, int low, int high, int value)
    : Exception(name + L": " + klib::toString(value) + L" (must be " + klib::toString(low) + L"<=" + name + L"<" +
                    klib::toString(high) + L")",
                -1) {}

void formatMessage(DWORD code, std::wstring& out) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const DWORD error = GetLastError();
    LocalMemory holder(buffer);
    if (length == 0) {
        throwFailure(L"::FormatMessage", error);
    }
    out.append(buffer, length);
    holder.release();
}

void checkNotNull(const wchar_t* name, const void* pointer) {
    if (pointer == nullptr) {
        throw NullPointerException(name);
    }
}

void checkIndex(const wchar_t* name, int low, int high, int value) {
    if (value < low || value >= high) {
        throw IndexOutOfBoundsException(name, low, high, value);
    }
}

void reportIgnoredFailure(const std::wstring& text) noexcept {
    try {
        const std::wstring line = L"ignored failure: " + text + L"\n";
        OutputDebugStringW(line.c_str());
    } catch (...) {
        // Out of memory while building the line: say at least that something was lost.
        OutputDebugStringW(L"ignored failure\n");
    }
}

}  // namespace klib
