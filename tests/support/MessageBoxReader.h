#pragma once

#include <windows.h>

#include <string>
#include <thread>

namespace testing_support {

// On a thread of its own: waits up to five seconds for a message box of the given thread (whatever its
// caption), reads its caption and text, then presses OK. A box that never shows leaves both empty.
class MessageBoxReader {
public:
    explicit MessageBoxReader(DWORD owner = GetCurrentThreadId())
        : thread_([this, owner] {
              for (const ULONGLONG deadline = GetTickCount64() + 5000; GetTickCount64() < deadline; Sleep(10)) {
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
    void join() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    std::wstring caption_;
    std::wstring text_;
    std::thread thread_;
};

}  // namespace testing_support
