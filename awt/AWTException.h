#pragma once

#include "klib/Exception.h"

namespace awt {

// A failed GDI or USER call in the toolkit, with GetLastError() as code.
class AWTException : public klib::Exception {
public:
    AWTException(const std::wstring& message, int errorCode) : klib::Exception(message, errorCode) {}
};

}  // namespace awt
