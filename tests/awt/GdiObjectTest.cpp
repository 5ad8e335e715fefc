#include "awt/AWTException.h"
#include "awt/GdiObject.h"
#include "tests/klib/DebugOutputCapture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Not a GDI handle: DeleteObject fails on it.
const HGDIOBJ BOGUS_HANDLE = reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(0x0BAD0BAD));

TEST(GdiObject, ReleaseDeletesTheObject) {
    const HBRUSH brush = CreateSolidBrush(RGB(0x60, 0x40, 0x80));
    ASSERT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
    awt::GdiObject holder(brush);
    holder.release();
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(holder.get(), nullptr);
}

TEST(GdiObject, SecondReleaseDeletesNothing) {
    awt::GdiObject holder(CreateSolidBrush(RGB(1, 2, 3)));
    holder.release();
    // The system may hand the freed handle value to the next object.
    const HBRUSH next = CreateSolidBrush(RGB(4, 5, 6));
    holder.release();
    EXPECT_EQ(GetObjectType(next), static_cast<DWORD>(OBJ_BRUSH));
    DeleteObject(next);
}

TEST(GdiObject, DestructorDeletesTheObject) {
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    { const awt::GdiObject holder(pen); }
    EXPECT_EQ(GetObjectType(pen), 0u);
}

TEST(GdiObject, ResetDeletesTheOldObjectAndKeepsTheNewOne) {
    const HBRUSH first = CreateSolidBrush(RGB(1, 1, 1));
    const HBRUSH second = CreateSolidBrush(RGB(2, 2, 2));
    awt::GdiObject holder(first);
    holder.reset(second);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(holder.get(), second);
}

TEST(GdiObject, ResetToTheHeldObjectKeepsItAlive) {
    const HBRUSH brush = CreateSolidBrush(RGB(7, 7, 7));
    awt::GdiObject holder(brush);
    holder.reset(brush);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
}

TEST(GdiObject, ReleaseOfNullDoesNothing) {
    awt::GdiObject holder;
    EXPECT_NO_THROW(holder.release());
}

TEST(GdiObjectFailure, ReleaseThrowsAWTException) {
    awt::GdiObject holder(BOGUS_HANDLE);
    try {
        holder.release();
        FAIL() << "DeleteObject accepted a bogus handle";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(e.getMessage(), L"::DeleteObject() failed");
        EXPECT_EQ(e.getTypeName(), L"class awt::AWTException");
        EXPECT_NE(e.getErrorCode(), -1);
    }
    // The handle counts as lost; nothing is retried.
    EXPECT_EQ(holder.get(), nullptr);
    EXPECT_NO_THROW(holder.release());
}

TEST(GdiObjectFailure, DestructorThrowsWhenNothingElseUnwinds) {
    EXPECT_THROW({ const awt::GdiObject holder(BOGUS_HANDLE); }, awt::AWTException);
}

TEST(GdiObjectFailure, ResetTakesTheNewObjectEvenWhenTheOldOneFails) {
    const HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    awt::GdiObject holder(BOGUS_HANDLE);
    EXPECT_THROW(holder.reset(brush), awt::AWTException);
    EXPECT_EQ(holder.get(), brush);
    holder.release();
    EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST(GdiObjectFailure, DestructorReportsInsteadOfThrowingWhileAnotherExceptionUnwinds) {
    testing_support::DebugOutputCapture debugOutput;
    bool caught = false;
    try {
        const awt::GdiObject holder(BOGUS_HANDLE);
        throw std::runtime_error("first failure");
    } catch (const std::runtime_error& e) {
        caught = std::string(e.what()) == "first failure";
    }
    EXPECT_TRUE(caught);
    const std::vector<std::wstring> lines = debugOutput.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(L"class awt::AWTException: ::DeleteObject() failed"), std::wstring::npos);
}

TEST(WindowDC, ReleasesTheContextWhenDestroyed) {
    const HDC dc = GetDC(nullptr);
    ASSERT_NE(dc, nullptr);
    { const awt::WindowDC holder(dc, nullptr); }
    // Already released: a second release finds nothing to release.
    EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
}

TEST(WindowDC, DetachedContextIsLeftToTheCaller) {
    const HDC dc = GetDC(nullptr);
    ASSERT_NE(dc, nullptr);
    {
        awt::WindowDC holder(dc, nullptr);
        EXPECT_EQ(holder.detach(), dc);
        EXPECT_EQ(holder.get(), nullptr);
    }
    EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
}

}  // namespace
