#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "awt/AWTException.h"
#include "awt/GdiObject.h"
#include "tests/klib/DebugOutputCapture.h"

namespace {

// Not a GDI handle: DeleteObject fails on it.
const HGDIOBJ BOGUS_HANDLE = reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(0x0BAD0BAD));

TEST(GdiObject, ReleaseDeletesTheObjectOnceAndASecondReleaseDeletesNothing) {
    const HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    awt::GdiObject holder(brush);
    holder.release();
    EXPECT_EQ(0u, GetObjectType(brush));
    EXPECT_EQ(nullptr, holder.get());
    // The system may hand the freed handle value to the next object.
    const HBRUSH next = CreateSolidBrush(RGB(4, 5, 6));
    holder.release();
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(next));
    DeleteObject(next);
}

TEST(GdiObjectFailure, FailedDeleteThrowsItsTextOnceAndTheHandleCountsAsLost) {
    awt::GdiObject holder(BOGUS_HANDLE);
    try {
        holder.release();
        FAIL() << "DeleteObject accepted a bogus handle";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::DeleteObject() failed", e.getMessage());
        EXPECT_NE(-1, e.getErrorCode());
    }
    EXPECT_EQ(nullptr, holder.get());
    EXPECT_NO_THROW(holder.release());
    EXPECT_THROW({ const awt::GdiObject failing(BOGUS_HANDLE); }, awt::AWTException);
}

TEST(GdiObjectFailure, DestructorReportsInsteadOfThrowingWhileAnotherExceptionUnwinds) {
    testing_support::DebugOutputCapture debugOutput;
    try {
        const awt::GdiObject holder(BOGUS_HANDLE);
        throw std::runtime_error("first failure");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("first failure", e.what());
    }
    const std::vector<std::wstring> lines = debugOutput.lines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::wstring::npos, lines[0].find(L"class awt::AWTException: ::DeleteObject() failed"));
}

}  // namespace
