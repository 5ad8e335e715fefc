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

TEST(Win32Failure, CheckPassesSuccessAndNamesTheCallWithEmptyParenthesesOnFailure) {
    EXPECT_NO_THROW(klib::check(TRUE, L"::InvalidateRect"));
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    testing_support::expectThrows<klib::Exception>([] { klib::check(FALSE, L"::InvalidateRect"); },
                                                   L"class klib::Exception: ::InvalidateRect() failed: 1400");
}

TEST(Win32Failure, KeepsAGivenCodeWhateverTheLastErrorSays) {
    SetLastError(ERROR_ACCESS_DENIED);
    const klib::RegException made = klib::failure<klib::RegException>(L"::RegOpenKeyEx", L"Software\\X", 2);
    EXPECT_EQ(made.getMessage(), L"::RegOpenKeyEx(Software\\X) failed");
    EXPECT_EQ(made.getErrorCode(), 2);
}

}  // namespace
