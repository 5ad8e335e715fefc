#pragma once

#include <windows.h>

#include <ostream>
#include <streambuf>
#include <string>

namespace klib {

// Root of every failure the program reports. Thrown by value, caught by reference.
class Exception {
public:
    Exception(const std::wstring& message, int errorCode);
    virtual ~Exception() = default;

    virtual std::wstring toString() const;
    virtual std::wostream& print(std::wostream& out) const;
    virtual int showMessageBox(HWND owner, const wchar_t* caption, UINT type) const;

    // The text showMessageBox shows: type name, message, and the code with its system text.
    std::wstring messageBoxText() const;

    const std::wstring& getMessage() const noexcept { return message_; }
    int getErrorCode() const noexcept { return errorCode_; }
    // The dynamic class name as "class ns::Name".
    std::wstring getTypeName() const;

private:
    std::wstring message_;
    int errorCode_;
};

class IllegalArgumentException : public Exception {
public:
    explicit IllegalArgumentException(const std::wstring& message) : Exception(message, -1) {}
};

class IllegalStateException : public Exception {
public:
    explicit IllegalStateException(const std::wstring& message) : Exception(message, -1) {}
};

class IllegalThreadStateException : public IllegalStateException {
public:
    explicit IllegalThreadStateException(const std::wstring& message) : IllegalStateException(message) {}
};

class NullPointerException : public Exception {
public:
    explicit NullPointerException(const std::wstring& message) : Exception(message, -1) {}
};

class IndexOutOfBoundsException : public Exception {
public:
    IndexOutOfBoundsException(const std::wstring& name, int low, int high, int value);
};

class NumberFormatException : public Exception {
public:
    explicit NumberFormatException(const std::wstring& message) : Exception(message, -1) {}
};

class RegException : public Exception {
public:
    RegException(const std::wstring& message, int errorCode) : Exception(message, errorCode) {}
};

// Appends the system's text for code to out; throws "::FormatMessage() failed" when there is none.
void formatMessage(DWORD code, std::wstring& out);

void checkNotNull(const wchar_t* name, const void* pointer);
// Throws IndexOutOfBoundsException unless low <= value < high.
void checkIndex(const wchar_t* name, int low, int high, int value);

// Reports a failure that cannot be thrown because another exception is unwinding.
void reportIgnoredFailure(const std::wstring& text) noexcept;

}  // namespace klib
