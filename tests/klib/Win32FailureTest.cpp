#include "klib/Win32Failure.h"

#include <gtest/gtest.h>

namespace {

TEST(Win32Failure, ThrowsTheCallersTypeWithTheLastErrorReadBeforeTheMessageIsBuilt) {
    SetLastError(ERROR_ACCESS_DENIED);
    try {
        klib::throwLastError<klib::RegException>(L"::CreateDC", L"DEFAULT_GUI_FONT_AND_MORE_THAN_SSO");
        FAIL() << "nothing thrown";
    } catch (const klib::RegException& failure) {
        EXPECT_EQ(failure.getMessage(), L"::CreateDC(DEFAULT_GUI_FONT_AND_MORE_THAN_SSO) failed");
        EXPECT_EQ(failure.getErrorCode(), static_cast<int>(ERROR_ACCESS_DENIED));
    }
}

TEST(Win32Failure, CheckPassesSuccessAndNamesTheCallWithEmptyParenthesesOnFailure) {
    EXPECT_NO_THROW(klib::check(TRUE, L"::InvalidateRect"));
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    try {
        klib::check(FALSE, L"::InvalidateRect");
        FAIL() << "nothing thrown";
    } catch (const klib::Exception& failure) {
        EXPECT_EQ(failure.toString(), L"class klib::Exception: ::InvalidateRect() failed: 1400");
    }
}

TEST(Win32Failure, KeepsAGivenCodeWhateverTheLastErrorSays) {
    SetLastError(ERROR_ACCESS_DENIED);
    const klib::RegException made = klib::failure<klib::RegException>(L"::RegOpenKeyEx", L"Software\\X", 2);
    EXPECT_EQ(made.getMessage(), L"::RegOpenKeyEx(Software\\X) failed");
    EXPECT_EQ(made.getErrorCode(), 2);
}

}  // namespace
