#include <gtest/gtest.h>

#include <windows.h>

#include "ComponentTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Events.h"
#include "awt/TextMetrics.h"

using ui_test::messageOf;
using ui_test::PlainWindow;

namespace {

TEST(WindowPointMapping, AppliesTheOffsetBetweenWindowsAZeroOffsetIsNoErrorButAnInvalidWindowIs) {
    PlainWindow from(L"STATIC", WS_POPUP, 40, 30);
    for (const POINT origin : {POINT{50, 10}, POINT{40, 30}}) {
        PlainWindow to(L"STATIC", WS_POPUP, origin.x, origin.y, 200, 50);
        POINT point{7, 9};
        EXPECT_NO_THROW(awt::mapWindowPoints(from.get(), to.get(), &point, 1));
        EXPECT_EQ(7 + 40 - origin.x, point.x);
        EXPECT_EQ(9 + 30 - origin.y, point.y);
    }
    const HWND gone = PlainWindow().get();
    POINT point{1, 1};
    int code = 0;
    EXPECT_EQ(L"::MapWindowPoints() failed",
              messageOf<awt::AWTException>([&] { awt::mapWindowPoints(gone, nullptr, &point, 1); }, &code));
    EXPECT_EQ(ERROR_INVALID_WINDOW_HANDLE, static_cast<DWORD>(code));
}

TEST(Modifiers, AreReadFromTheKeyboardState) {
    {
        const ui_test::HeldKeys keys{VK_SHIFT, VK_RWIN};
        EXPECT_EQ(9, awt::getModifiers());
    }
    const ui_test::HeldKeys keys{VK_CONTROL, VK_MENU};
    EXPECT_EQ(6, awt::getModifiers());
}

}  // namespace
