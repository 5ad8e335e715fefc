// Frame: the sizing border with the insets it gives, and the icons.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "ComponentTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Frame.h"
#include "awt/Toolkit.h"

namespace {

constexpr int SAMPLE_ICON = 32512;  // icon groups every user32.dll carries
constexpr int NOTE_ICON = 32516;

DWORD sizingBits(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
}

// "(left,top,right,bottom)"
std::wstring text(const awt::Insets& i) {
    return ui_test::text(RECT{i.left, i.top, i.right, i.bottom});
}

// The border sizes measured independently of the frame: client area on screen against the window rectangle.
std::wstring measuredInsets(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return ui_test::text(
        RECT{client.left - outer.left, client.top - outer.top, outer.right - client.right, outer.bottom - client.bottom});
}

// This program has no icons: the frame loads them from user32.dll, which serves as the toolkit's module
// only for the load.
void setIconFromUser32(awt::Frame& frame, int id) {
    awt::Toolkit::getWindowClass();  // registered with this program's instance, not user32's
    const HINSTANCE original = awt::Toolkit::getInstanceHandle();
    awt::Toolkit::initialize(GetModuleHandleW(L"user32.dll"), SW_SHOW);
    try {
        frame.setIcon(id);
    } catch (...) {
        awt::Toolkit::initialize(original, SW_SHOW);
        throw;
    }
    awt::Toolkit::initialize(original, SW_SHOW);
}

// The width of icon, or -1 once it has been destroyed.
int iconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        return -1;
    }
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof(mask), &mask);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return mask.bmWidth;
}

class FrameTest : public ::testing::Test {
protected:
    // Shows the frame at a fixed place and waits until it is on the screen.
    HWND show() {
        frame.setBounds(120, 100, 300, 200);
        frame.setVisible(true);
        const HWND handle = frame.getHandle();
        EXPECT_TRUE(ui_test::pumpToolkitUntil([handle] { return IsWindowVisible(handle) != FALSE; }));
        return handle;
    }
    void expectIconsSent(HWND handle) {
        EXPECT_EQ(reinterpret_cast<LRESULT>(frame.getSmallIcon()), SendMessageW(handle, WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ(reinterpret_cast<LRESULT>(frame.getLargeIcon()), SendMessageW(handle, WM_GETICON, ICON_BIG, 0));
    }

    std::unique_ptr<awt::Frame> frameHolder = std::make_unique<awt::Frame>(nullptr, L"Frame title");
    awt::Frame& frame = *frameHolder;  // fixtures must not have destructors that may throw
};

TEST_F(FrameTest, SetResizableChangesTheBorderAndTheInsetsOfTheShownFrame) {
    EXPECT_EQ(L"(0,0,0,0)", text(frame.getInsets()));  // no window yet, and not remembered
    const HWND handle = show();
    EXPECT_EQ(static_cast<DWORD>(WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), sizingBits(handle));
    const awt::Insets sizing = frame.getInsets();
    EXPECT_EQ(measuredInsets(handle), text(sizing));

    frame.setResizable(false);
    EXPECT_EQ(static_cast<DWORD>(WS_MINIMIZEBOX), sizingBits(handle));
    EXPECT_EQ(measuredInsets(handle), text(frame.getInsets()));
    EXPECT_LT(frame.getInsets().left, sizing.left);

    frame.setResizable(true);
    EXPECT_EQ(static_cast<DWORD>(WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), sizingBits(handle));
    EXPECT_EQ(text(sizing), text(frame.getInsets()));
}

TEST_F(FrameTest, IconsOfBothSizesReachTheWindowAndNewOnesReplaceAndDestroyTheOldButAMissingOneChangesNothing) {
    setIconFromUser32(frame, SAMPLE_ICON);
    const HWND handle = show();
    expectIconsSent(handle);
    const HICON oldSmall = frame.getSmallIcon();
    const HICON oldLarge = frame.getLargeIcon();
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), iconWidth(oldSmall));
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), iconWidth(oldLarge));
    EXPECT_EQ(L"::LoadImage() failed", ui_test::messageOf<awt::AWTException>([&] { setIconFromUser32(frame, 4711); }));
    EXPECT_EQ(oldSmall, frame.getSmallIcon());
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), iconWidth(oldSmall));

    setIconFromUser32(frame, NOTE_ICON);

    expectIconsSent(handle);
    EXPECT_NE(oldSmall, frame.getSmallIcon());
    EXPECT_EQ(-1, iconWidth(oldSmall));
    EXPECT_EQ(-1, iconWidth(oldLarge));
}

}  // namespace
