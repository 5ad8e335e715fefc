#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// Collects what the calling thread writes with OutputDebugString while it lives. OutputDebugString
// raises a first-chance exception carrying the text; a vectored handler sees it before anything else.
// Only the narrow form is taken: wide-aware systems raise it too once the wide one goes unhandled.
class DebugOutputCapture {
public:
    DebugOutputCapture() : handler_(AddVectoredExceptionHandler(1, &onException)) { active_ = this; }
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;
    ~DebugOutputCapture() {
        RemoveVectoredExceptionHandler(handler_);
        active_ = nullptr;
    }

    // Only the capturing thread appends, so reading on it needs no lock.
    std::vector<std::wstring> lines() const { return lines_; }

private:
    static LONG CALLBACK onException(EXCEPTION_POINTERS* pointers) {
        const EXCEPTION_RECORD* const record = pointers->ExceptionRecord;
        if (active_ != nullptr && GetCurrentThreadId() == active_->thread_ && record->NumberParameters >= 2 &&
            record->ExceptionCode == 0x40010006) {  // DBG_PRINTEXCEPTION_C
            const std::string text(reinterpret_cast<const char*>(record->ExceptionInformation[1]));
            active_->lines_.emplace_back(text.begin(), text.end());  // the texts written are ASCII
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    static inline DebugOutputCapture* active_ = nullptr;
    const DWORD thread_ = GetCurrentThreadId();
    const PVOID handler_;
    std::vector<std::wstring> lines_;
};

}  // namespace testing_support
