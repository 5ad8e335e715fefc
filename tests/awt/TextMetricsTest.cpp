#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>

#include "ToolkitTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Events.h"
#include "awt/TextMetrics.h"

using awt_test::TestWindow;

namespace {

TEST(DefaultFontUnits, MatchTheDefaultGuiFontAndAreMeasuredOnce) {
    int charWidth = 0;
    int halfCharHeight = 0;
    awt::getDefaultFontUnits(charWidth, halfCharHeight);
    const int measurements = awt::getDefaultFontUnitsMeasurements();
    int againWidth = 0;
    int againHalfHeight = 0;
    awt::getDefaultFontUnits(againWidth, againHalfHeight);

    EXPECT_EQ(1, measurements);
    EXPECT_EQ(1, awt::getDefaultFontUnitsMeasurements());
    EXPECT_GT(charWidth, 0);
    EXPECT_GT(halfCharHeight, 0);
    EXPECT_EQ(charWidth, againWidth);
    EXPECT_EQ(halfCharHeight, againHalfHeight);

    const HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, dc);
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);
    EXPECT_EQ(metrics.tmAveCharWidth, charWidth);
    EXPECT_EQ(metrics.tmHeight / 2, halfCharHeight);
}

TEST(TextMeasuring, InvalidDeviceContextThrows) {
    TEXTMETRICW metrics{};
    EXPECT_THROW(awt::getTextMetrics(nullptr, &metrics), awt::AWTException);
    SIZE extent{};
    try {
        awt::getTextExtent(nullptr, L"x", 1, &extent);
        FAIL() << "no exception";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::GetTextExtentPoint32() failed", e.getMessage());
    }
}

TEST(WindowPointMapping, WindowsAtTheSameOriginMapWithoutError) {
    TestWindow first(L"STATIC", WS_POPUP, 40, 30, 100, 100);
    TestWindow second(L"STATIC", WS_POPUP, 40, 30, 200, 50);
    POINT point{7, 9};
    EXPECT_NO_THROW(awt::mapWindowPoints(first.get(), second.get(), &point, 1));
    EXPECT_EQ(7, point.x);
    EXPECT_EQ(9, point.y);
}

TEST(WindowPointMapping, OffsetBetweenWindowsIsApplied) {
    TestWindow first(L"STATIC", WS_POPUP, 40, 30, 100, 100);
    TestWindow second(L"STATIC", WS_POPUP, 50, 10, 100, 100);
    POINT point{7, 9};
    awt::mapWindowPoints(first.get(), second.get(), &point, 1);
    EXPECT_EQ(-3, point.x);
    EXPECT_EQ(29, point.y);
}

TEST(WindowPointMapping, InvalidWindowThrowsWithTheErrorCode) {
    HWND gone = nullptr;
    {
        TestWindow window;
        gone = window.get();
    }
    POINT point{1, 1};
    try {
        awt::mapWindowPoints(gone, nullptr, &point, 1);
        FAIL() << "no exception";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::MapWindowPoints() failed", e.getMessage());
        EXPECT_EQ(ERROR_INVALID_WINDOW_HANDLE, static_cast<DWORD>(e.getErrorCode()));
    }
}

TEST(WorkArea, WindowOutsideEveryMonitorUsesThePrimaryOne) {
    TestWindow outside(L"STATIC", WS_POPUP, 20000, 20000, 50, 50);
    MONITORINFO primary{};
    primary.cbSize = sizeof(primary);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary));
    const RECT area = awt::getWorkArea(outside.get());
    EXPECT_EQ(primary.rcWork.left, area.left);
    EXPECT_EQ(primary.rcWork.top, area.top);
    EXPECT_EQ(primary.rcWork.right, area.right);
    EXPECT_EQ(primary.rcWork.bottom, area.bottom);
    EXPECT_GT(area.right - area.left, 0);
}

// Modifiers are read from the thread's keyboard state, which the test sets directly.
class Modifiers : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(GetKeyboardState(saved)); }
    void TearDown() override { SetKeyboardState(saved); }

    void press(std::initializer_list<int> keys) {
        BYTE state[256] = {};
        for (int key : keys) {
            state[key] = 0x80;
        }
        ASSERT_TRUE(SetKeyboardState(state));
    }

    BYTE saved[256] = {};
};

TEST_F(Modifiers, ShiftAndTheRightWindowsKeyReadNine) {
    press({VK_SHIFT, VK_RWIN});
    EXPECT_EQ(9, awt::getModifiers());
}

TEST_F(Modifiers, ControlAndAltReadSix) {
    press({VK_CONTROL, VK_MENU});
    EXPECT_EQ(awt::CTRL_MASK | awt::ALT_MASK, awt::getModifiers());
    EXPECT_EQ(6, awt::getModifiers());
}

}  // namespace
