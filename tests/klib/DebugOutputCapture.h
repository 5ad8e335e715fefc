#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace testing_support {

// Collects what the calling thread writes with OutputDebugString while it lives. OutputDebugString
// raises a first-chance exception carrying the text; a vectored handler sees it before anything else.
class DebugOutputCapture {
public:
    DebugOutputCapture() : thread_(GetCurrentThreadId()) {
        active() = this;
        handler_ = AddVectoredExceptionHandler(1, &DebugOutputCapture::onException);
    }
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;
    ~DebugOutputCapture() {
        RemoveVectoredExceptionHandler(handler_);
        active() = nullptr;
    }

    std::vector<std::wstring> lines() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }

private:
    // Wide-aware systems raise the wide exception first and, unhandled, the narrow one after it.
    static constexpr DWORD PRINT_NARROW = 0x40010006;  // DBG_PRINTEXCEPTION_C
    static constexpr DWORD PRINT_WIDE = 0x4001000A;    // DBG_PRINTEXCEPTION_WIDE_C

    static DebugOutputCapture*& active() {
        static DebugOutputCapture* capture = nullptr;
        return capture;
    }

    static LONG CALLBACK onException(EXCEPTION_POINTERS* pointers) {
        DebugOutputCapture* const capture = active();
        const EXCEPTION_RECORD* const record = pointers->ExceptionRecord;
        if (capture == nullptr || GetCurrentThreadId() != capture->thread_ || record->NumberParameters < 2) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        const std::lock_guard<std::mutex> lock(capture->mutex_);
        if (record->ExceptionCode == PRINT_WIDE) {
            capture->sawWide_ = true;
            capture->lines_.emplace_back(reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]));
        } else if (record->ExceptionCode == PRINT_NARROW && !capture->sawWide_) {
            const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            std::wstring line;
            for (; *text != '\0'; ++text) {
                line += static_cast<wchar_t>(static_cast<unsigned char>(*text));
            }
            capture->lines_.push_back(line);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    DWORD thread_;
    PVOID handler_ = nullptr;
    mutable std::mutex mutex_;
    bool sawWide_ = false;
    std::vector<std::wstring> lines_;
};

}  // namespace testing_support
