// orlivex.scr /p <handle> inside a preview area of this test, which plays the screen-saver host.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2e.h"

namespace {

using e2e::Process;
using e2e::PROMPTLY_MS;

// The host's dialog with its 152 x 112 preview area, as the display settings show it.
class PreviewTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (IsWindow(frame)) DestroyWindow(frame);
    }

    // The handle as the host writes it on the command line.
    std::wstring handleText() const { return std::to_wstring(reinterpret_cast<INT_PTR>(area)); }

    // The child window another process made inside the area.
    HWND childOf(DWORD pid) const {
        HWND found = nullptr;
        e2e::pumpUntil(
            [&] {
                for (HWND child : e2e::descendants(area)) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(child, &owner);
                    if (owner == pid) found = child;
                }
                return found != nullptr;
            },
            e2e::STARTUP_MS);
        return found;
    }

    HWND frame = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 100, 100, 300, 250, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND area = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 20, 30, 152, 112, frame,
                                nullptr, nullptr, nullptr);
};

TEST_F(PreviewTest, FillsTheHostsAreaAndEndsWithZeroOnClose) {
    ASSERT_NE(area, nullptr);
    Process preview(L"/p " + handleText());
    const HWND child = childOf(preview.id());
    ASSERT_NE(child, nullptr) << "no preview window inside the host's area";
    const RECT areaRect = e2e::rectOf(area), childRect = e2e::rectOf(child);
    EXPECT_TRUE(EqualRect(&areaRect, &childRect));
    EXPECT_TRUE(GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD);

    PostMessageW(child, WM_CLOSE, 0, 0);
    ASSERT_TRUE(preview.waitExit(PROMPTLY_MS));
    EXPECT_EQ(preview.exitCode(), 0u);
    EXPECT_TRUE(IsWindow(area)) << "the host's area belongs to the host";
}

TEST_F(PreviewTest, EndsWithZeroWhenTheHostDestroysItsArea) {
    Process preview(L"-P " + handleText());
    ASSERT_NE(childOf(preview.id()), nullptr);
    DestroyWindow(frame);
    ASSERT_TRUE(preview.waitExit(PROMPTLY_MS)) << "the preview outlived its host";
    EXPECT_EQ(preview.exitCode(), 0u);
}

// Without a usable parent the child window cannot be made: the error box, then exit code 1. The
// handle is surely no window: one this test made and destroyed (a small number such as 77 may name a
// live window).
class PreviewFailureTest : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(PreviewFailureTest, ShowsTheErrorBoxAndEndsWithOne) {
    const HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(DestroyWindow(gone));
    ASSERT_FALSE(IsWindow(gone));
    Process preview(GetParam() + std::to_wstring(reinterpret_cast<INT_PTR>(gone)));
    HWND box = nullptr;
    const std::wstring text = e2e::waitForMessageBox(preview.id(), &box);
    EXPECT_EQ(text.rfind(L"class awt::AWTException\n::CreateWindowEx() failed\nError code: ", 0), 0u) << text;
    EXPECT_FALSE(preview.waitExit(500)) << "the box must wait for the user";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(preview.waitExit(PROMPTLY_MS));
    EXPECT_EQ(preview.exitCode(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BadHandles, PreviewFailureTest, ::testing::Values(L"/p:", L"/p "));

}  // namespace
