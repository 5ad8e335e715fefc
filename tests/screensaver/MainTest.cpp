// The main routine's failure channel: an escaped klib::Exception becomes an error box and exit code 1.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "awt/AWTException.h"
#include "klib/Exception.h"
#include "screensaver/Main.h"

namespace {

// Reads the text of the error box of this process once it shows, then presses its OK button.
class ErrorBoxReader {
public:
    ErrorBoxReader()
        : thread([this] {
              const ULONGLONG deadline = GetTickCount64() + 10000;
              while (GetTickCount64() < deadline) {
                  HWND box = FindWindowW(L"#32770", L"Orlivex Screen Saver");
                  DWORD pid = 0;
                  if (box) GetWindowThreadProcessId(box, &pid);
                  if (box && pid == GetCurrentProcessId()) {
                      wchar_t buffer[2048] = L"";
                      GetDlgItemTextW(box, 0xFFFF, buffer, 2048);
                      text = buffer;
                      PostMessageW(box, WM_COMMAND, IDOK, 0);
                      return;
                  }
                  Sleep(20);
              }
          }) {}
    ~ErrorBoxReader() {
        if (thread.joinable()) thread.join();
    }
    std::wstring get() {
        thread.join();
        return text;
    }

private:
    std::wstring text;
    std::thread thread;
};

TEST(RunGuarded, ReturnsTheBodysCodeOrShowsAnEscapedKlibExceptionInAnErrorBoxAndReturnsOne) {
    EXPECT_EQ(screensaver::runGuarded([] { return 7; }), 7);
    EXPECT_THROW(screensaver::runGuarded([]() -> int { throw std::runtime_error("not ours"); }), std::runtime_error);
    ErrorBoxReader plain;
    EXPECT_EQ(screensaver::runGuarded([]() -> int { throw klib::IllegalStateException(L"no peer"); }), 1);
    EXPECT_EQ(plain.get(), L"class klib::IllegalStateException\nno peer");
    ErrorBoxReader coded;
    EXPECT_EQ(screensaver::runGuarded([]() -> int { throw awt::AWTException(L"::CreateWindowEx() failed", 1400); }), 1);
    std::wstring system;
    klib::formatMessage(1400, system);
    EXPECT_EQ(coded.get(), L"class awt::AWTException\n::CreateWindowEx() failed\nError code: 1400 (" + system + L")");
}

}  // namespace
