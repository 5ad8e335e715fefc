// The main routine's failure channel: any escaped exception becomes an error box and exit code 1.
#include <gtest/gtest.h>

#include <windows.h>

#include <new>
#include <stdexcept>

#include "awt/AWTException.h"
#include "klib/Exception.h"
#include "screensaver/Main.h"
#include "tests/support/MessageBoxReader.h"

namespace {

using testing_support::MessageBoxReader;

TEST(RunGuarded, ReturnsTheBodysCodeOrShowsAnyEscapedExceptionInAnErrorBoxAndReturnsOne) {
    EXPECT_EQ(screensaver::runGuarded([] { return 7; }), 7);
    std::wstring system;
    klib::formatMessage(1400, system);
    const struct {
        void (*thrower)();
        std::wstring text;
    } cases[] = {{[] { throw std::bad_alloc(); }, L"Out of memory."},
                 {[] { throw std::runtime_error("not ours"); }, L"Unexpected error: not ours"},
                 {[] { throw 42; }, L"Unexpected error of unknown type."},
                 {[] { throw klib::IllegalStateException(L"no peer"); }, L"class klib::IllegalStateException\nno peer"},
                 {[] { throw awt::AWTException(L"::CreateWindowEx() failed", 1400); },
                  L"class awt::AWTException\n::CreateWindowEx() failed\nError code: 1400 (" + system + L")"}};
    for (const auto& c : cases) {
        MessageBoxReader box;
        EXPECT_EQ(screensaver::runGuarded([&]() -> int {
                      c.thrower();
                      return 0;
                  }),
                  1);
        EXPECT_EQ(box.text(), c.text);
        EXPECT_EQ(box.caption(), L"Orlivex Screen Saver");
    }
}

}  // namespace
