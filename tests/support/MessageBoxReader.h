#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace testing_support {

// On a thread of its own: waits for a message box of the given thread (whatever its caption), reads
// its caption and text, then presses OK. If none shows within 20 seconds it gives up and posts
// WM_QUIT to that thread, which ends any modal loop the thread is blocked in (a box that was never
// found among them), and the test fails when it asks for the text; a box that shows later is still
// pressed. Must be read on the thread it watches, which then loses the quit again.
class MessageBoxReader {
public:
    // A box takes well under a second, but the first one of a process in a Wine prefix that is still
    // starting up has taken 11 s on a busy machine. Well inside the ctest time-out of every program
    // that reads boxes, so that a missing box ends with this reader's message.
    static constexpr ULONGLONG PATIENCE_MS = 20000;

    explicit MessageBoxReader(DWORD owner = GetCurrentThreadId())
        : thread_([this, owner] {
              const ULONGLONG deadline = GetTickCount64() + PATIENCE_MS;
              for (; !done_; Sleep(10)) {
                  HWND box = nullptr;
                  EnumThreadWindows(owner, &findBox, reinterpret_cast<LPARAM>(&box));
                  if (box != nullptr) {
                      wchar_t buffer[2048] = L"";
                      GetWindowTextW(box, buffer, 2048);
                      caption_ = buffer;
                      GetDlgItemTextW(box, 0xFFFF, buffer, 2048);
                      text_ = buffer;
                      PostMessageW(box, WM_COMMAND, IDOK, 0);
                      return;
                  }
                  if (!gaveUp_ && GetTickCount64() >= deadline) {
                      gaveUp_ = true;
                      PostThreadMessageW(owner, WM_QUIT, 0, 0);
                  }
              }
          }) {}
    MessageBoxReader(const MessageBoxReader&) = delete;
    MessageBoxReader& operator=(const MessageBoxReader&) = delete;
    ~MessageBoxReader() { join(); }

    std::wstring text() {
        join();
        return text_;
    }
    std::wstring caption() {
        join();
        return caption_;
    }

private:
    static BOOL CALLBACK findBox(HWND window, LPARAM result) {
        wchar_t className[16] = L"";
        GetClassNameW(window, className, 16);
        if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) {
            return TRUE;
        }
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    // Called once the watched thread is past the call that shows the box: a box now is not coming.
    void join() {
        if (!thread_.joinable()) {
            return;
        }
        done_ = true;
        thread_.join();
        if (gaveUp_) {
            MSG quit;
            PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // ours, put back by the ended loop
            ADD_FAILURE() << "no message box was found within " << PATIENCE_MS << " ms; WM_QUIT ended the wait";
        }
    }

    std::wstring caption_;
    std::wstring text_;
    std::atomic<bool> done_{false};
    std::atomic<bool> gaveUp_{false};
    std::thread thread_;
};

}  // namespace testing_support
