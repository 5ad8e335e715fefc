#include "klib/Win32Failure.h"
#include "tests/support/ExpectThrows.h"

#include <gtest/gtest.h>

namespace {

TEST(Win32Failure, ThrowsTheCallersTypeWithTheLastErrorReadBeforeTheMessageIsBuilt) {
    SetLastError(ERROR_ACCESS_DENIED);
    int code = 0;
    EXPECT_EQ(testing_support::messageOf<klib::RegException>(
                  [] { klib::throwLastError<klib::RegException>(L"::CreateDC", L"DEFAULT_GUI_FONT_AND_MORE_THAN_SSO"); },
                  &code),
              L"::CreateDC(DEFAULT_GUI_FONT_AND_MORE_THAN_SSO) failed");
    EXPECT_EQ(code, static_cast<int>(ERROR_ACCESS_DENIED));
}

}  // namespace
