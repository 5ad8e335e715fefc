// orlivex.scr /p <handle> inside a preview area of this test, which plays the screen-saver host.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/E2e.h"

namespace {

using e2e::Process;

constexpr DWORD STARTUP_MS = 15000;
constexpr DWORD PROMPTLY_MS = 5000;

// The host's dialog with its 152 x 112 preview area, as the display settings show it.
class PreviewHost {
public:
    PreviewHost() {
        frame = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 100, 100, 300, 250, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        area = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 20, 30, 152, 112, frame,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    PreviewHost(const PreviewHost&) = delete;
    PreviewHost& operator=(const PreviewHost&) = delete;
    ~PreviewHost() {
        if (IsWindow(frame)) DestroyWindow(frame);
    }

    // The handle as the host writes it on the command line.
    std::wstring handleText() const { return std::to_wstring(reinterpret_cast<INT_PTR>(area)); }

    // The child window another process made inside the area.
    HWND childOf(DWORD pid) const {
        HWND found = nullptr;
        e2e::pumpUntil(
            [&] {
                for (HWND child = GetWindow(area, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(child, &owner);
                    if (owner == pid) found = child;
                }
                return found != nullptr;
            },
            STARTUP_MS);
        return found;
    }

    HWND frame = nullptr;
    HWND area = nullptr;
};

TEST(PreviewTest, FillsTheHostsAreaAndEndsWithZeroOnClose) {
    PreviewHost host;
    ASSERT_NE(host.area, nullptr);
    Process preview(L"/p " + host.handleText());
    const HWND child = host.childOf(preview.id());
    ASSERT_NE(child, nullptr) << "no preview window inside the host's area";
    RECT areaRect, childRect;
    GetWindowRect(host.area, &areaRect);
    GetWindowRect(child, &childRect);
    EXPECT_TRUE(EqualRect(&areaRect, &childRect));
    EXPECT_TRUE(GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD);

    PostMessageW(child, WM_CLOSE, 0, 0);
    ASSERT_TRUE(preview.waitExit(PROMPTLY_MS));
    EXPECT_EQ(preview.exitCode(), 0u);
    EXPECT_TRUE(IsWindow(host.area)) << "the host's area belongs to the host";
}

TEST(PreviewTest, EndsWithZeroWhenTheHostDestroysItsArea) {
    PreviewHost host;
    Process preview(L"-P " + host.handleText());
    ASSERT_NE(host.childOf(preview.id()), nullptr);
    DestroyWindow(host.frame);
    ASSERT_TRUE(preview.waitExit(PROMPTLY_MS)) << "the preview outlived its host";
    EXPECT_EQ(preview.exitCode(), 0u);
}

// Without a usable parent the child window cannot be made: the error box, then exit code 1.
class PreviewFailureTest : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(PreviewFailureTest, ShowsTheErrorBoxAndEndsWithOne) {
    Process preview(GetParam());
    HWND box = nullptr;
    std::wstring text;
    ASSERT_TRUE(e2e::pumpUntil(
        [&] {
            text = e2e::messageBoxText(preview.id(), L"Orlivex Screen Saver", &box);
            return !text.empty();
        },
        STARTUP_MS))
        << "no error box";
    EXPECT_EQ(text.rfind(L"class awt::AWTException\n::CreateWindowEx() failed\nError code: ", 0), 0u) << text;
    EXPECT_FALSE(preview.waitExit(500)) << "the box must wait for the user";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(preview.waitExit(PROMPTLY_MS));
    EXPECT_EQ(preview.exitCode(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BadHandles, PreviewFailureTest,
                         ::testing::Values(L"/p:77", L"/p 77"));

}  // namespace
