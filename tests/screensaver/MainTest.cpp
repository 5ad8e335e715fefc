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
                      const LONG_PTR style = GetWindowLongPtrW(GetDlgItem(box, 0x14), GWL_STYLE);
                      iconShown = style != 0;
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
    bool iconShown = false;

private:
    std::wstring text;
    std::thread thread;
};

TEST(RunGuarded, ReturnsTheBodysExitCode) {
    EXPECT_EQ(screensaver::runGuarded([] { return 7; }), 7);
}

TEST(RunGuarded, ShowsAnEscapedExceptionInAnErrorBoxAndReturnsOne) {
    ErrorBoxReader reader;
    const int code = screensaver::runGuarded([]() -> int { throw klib::IllegalStateException(L"no peer"); });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(reader.get(), L"class klib::IllegalStateException\nno peer");
}

TEST(RunGuarded, ShowsTheErrorCodeWithTheSystemText) {
    ErrorBoxReader reader;
    const int code =
        screensaver::runGuarded([]() -> int { throw awt::AWTException(L"::CreateWindowEx() failed", 1400); });
    EXPECT_EQ(code, 1);
    std::wstring system;
    klib::formatMessage(1400, system);
    EXPECT_EQ(reader.get(), L"class awt::AWTException\n::CreateWindowEx() failed\nError code: 1400 (" + system + L")");
}

TEST(RunGuarded, LetsOtherExceptionsPass) {
    EXPECT_THROW(screensaver::runGuarded([]() -> int { throw std::runtime_error("not ours"); }), std::runtime_error);
}

}  // namespace
