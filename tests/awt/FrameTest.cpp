// Frame: styles, the greyed close command, insets, caption and icons, and where showing puts the focus.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ComponentTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Dialog.h"
#include "awt/Frame.h"
#include "awt/Toolkit.h"

namespace {

using ui_test::LoggingListener;
using ui_test::pumpToolkitUntil;
using Log = std::vector<std::wstring>;

constexpr int SAMPLE_ICON = 32512;  // icon groups every user32.dll carries
constexpr int NOTE_ICON = 32516;

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

bool closeCommandGreyed(HWND window) {
    return (GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

std::wstring captionOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The border sizes measured independently of the frame: client origin on screen against the window rectangle.
awt::Insets measuredInsets(HWND window) {
    RECT outer;
    GetWindowRect(window, &outer);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT client;
    GetClientRect(window, &client);
    return awt::Insets{origin.y - outer.top, origin.x - outer.left, outer.bottom - (origin.y + client.bottom),
                       outer.right - (origin.x + client.right)};
}

std::wstring text(const awt::Insets& i) {
    return std::to_wstring(i.top) + L"," + std::to_wstring(i.left) + L"," + std::to_wstring(i.bottom) + L"," +
           std::to_wstring(i.right);
}

SIZE iconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        return SIZE{-1, -1};
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmMask, sizeof(bitmap), &bitmap);
    const bool monochrome = info.hbmColor == nullptr;  // then the mask holds both halves
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    DeleteObject(info.hbmMask);
    return SIZE{bitmap.bmWidth, monochrome ? bitmap.bmHeight / 2 : bitmap.bmHeight};
}

// This test program has no icons: the frame loads them from user32.dll. Only for the load: windows of the
// toolkit's class must still be created with this program's instance.
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

class FrameTest : public ::testing::Test {
protected:
    // Shows the frame at a fixed place and waits until it is on the screen.
    HWND show() {
        frame.setBounds(120, 100, 300, 200);
        frame.setVisible(true);
        const HWND handle = frame.getHandle();
        EXPECT_TRUE(pumpToolkitUntil([handle] { return IsWindowVisible(handle) != FALSE; }));
        return handle;
    }

    std::unique_ptr<awt::Frame> frameHolder = std::make_unique<awt::Frame>(nullptr, L"Frame title");
    awt::Frame& frame = *frameHolder;  // fixtures must not have destructors that may throw
    Log log;
};

// Styles.

TEST_F(FrameTest, IsAnOverlappedWindowWithCaptionSystemMenuSizingBorderAndBoxes) {
    const DWORD style = styleOf(show());
    EXPECT_EQ(0u, style & WS_POPUP);
    EXPECT_EQ(static_cast<DWORD>(WS_CAPTION), style & WS_CAPTION);
    EXPECT_NE(0u, style & WS_SYSMENU);
    EXPECT_NE(0u, style & WS_THICKFRAME);
    EXPECT_NE(0u, style & WS_MAXIMIZEBOX);
    EXPECT_NE(0u, style & WS_MINIMIZEBOX);
}

TEST_F(FrameTest, NotResizableFrameHasNeitherSizingBorderNorMaximizeBox) {
    frame.setResizable(false);
    const DWORD style = styleOf(show());
    EXPECT_EQ(0u, style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_NE(0u, style & WS_MINIMIZEBOX);
}

TEST_F(FrameTest, SetResizableChangesTheBorderOfTheShownFrame) {
    const HWND handle = show();
    const awt::Insets sizing = frame.getInsets();

    frame.setResizable(false);

    EXPECT_EQ(0u, styleOf(handle) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    const awt::Insets thin = frame.getInsets();
    EXPECT_EQ(text(measuredInsets(handle)), text(thin));
    EXPECT_LT(thin.left, sizing.left);

    frame.setResizable(true);
    EXPECT_EQ(static_cast<DWORD>(WS_THICKFRAME | WS_MAXIMIZEBOX), styleOf(handle) & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_EQ(text(sizing), text(frame.getInsets()));
}

TEST_F(FrameTest, SetResizableWithTheCurrentValueLeavesTheNativeWindowAlone) {
    const HWND handle = show();
    SetWindowLongPtrW(handle, GWL_STYLE, static_cast<LONG_PTR>(styleOf(handle) & ~WS_THICKFRAME));

    frame.setResizable(true);

    EXPECT_EQ(0u, styleOf(handle) & WS_THICKFRAME);
}

// The close command.

TEST_F(FrameTest, NotClosableFrameGreysTheCloseCommandAndIgnoresIt) {
    frame.setClosable(false);
    LoggingListener listener(log, L"A");
    frame.addWindowListener(&listener);
    const HWND handle = show();
    log.clear();  // activation

    EXPECT_TRUE(closeCommandGreyed(handle));
    SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);

    EXPECT_TRUE(IsWindowVisible(handle));
    EXPECT_TRUE(log.empty());
    frame.removeWindowListener(&listener);
}

TEST_F(FrameTest, SetClosableEnablesTheCloseCommandAgain) {
    frame.setClosable(false);
    const HWND handle = show();

    frame.setClosable(true);

    EXPECT_FALSE(closeCommandGreyed(handle));
    SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(handle));
}

TEST_F(FrameTest, SetClosableFalseGreysTheCloseCommandOfAShownFrame) {
    const HWND handle = show();
    EXPECT_FALSE(closeCommandGreyed(handle));

    frame.setClosable(false);

    EXPECT_TRUE(closeCommandGreyed(handle));
}

TEST_F(FrameTest, CloseMessageStillClosesANotClosableFrame) {
    frame.setClosable(false);
    const HWND handle = show();

    SendMessageW(handle, WM_CLOSE, 0, 0);

    EXPECT_FALSE(IsWindowVisible(handle));
}

// Insets.

TEST_F(FrameTest, InsetsAreZeroWithoutNativeWindowAndNotRemembered) {
    const awt::Insets before = frame.getInsets();
    EXPECT_EQ(L"0,0,0,0", text(before));

    const HWND handle = show();

    const awt::Insets after = frame.getInsets();
    EXPECT_EQ(text(measuredInsets(handle)), text(after));
    EXPECT_GT(after.top, after.bottom);  // the caption
    EXPECT_GT(after.left, 0);
}

TEST_F(FrameTest, InsetsAreMeasuredAgainForANewNativeWindow) {
    show();
    const awt::Insets sizing = frame.getInsets();
    frame.dispose();
    frame.setResizable(false);

    const HWND handle = show();

    EXPECT_EQ(text(measuredInsets(handle)), text(frame.getInsets()));
    EXPECT_LT(frame.getInsets().left, sizing.left);
}

// Caption.

TEST_F(FrameTest, NativeWindowIsCreatedWithTheTitle) {
    EXPECT_EQ(L"Frame title", captionOf(show()));
}

TEST_F(FrameTest, SetTitleChangesTheCaptionOfTheShownFrame) {
    const HWND handle = show();

    frame.setTitle(L"Other title");

    EXPECT_EQ(L"Other title", captionOf(handle));
    EXPECT_EQ(L"Other title", frame.getTitle());
}

TEST_F(FrameTest, TitleFromAMissingStringIsEmpty) {
    const HWND handle = show();

    frame.setTitle(54321);

    EXPECT_EQ(L"", frame.getTitle());
    EXPECT_EQ(L"", captionOf(handle));
}

// Icons.

TEST_F(FrameTest, IconsSetBeforeShowingReachTheNativeWindowInBothSizes) {
    setIconFromUser32(frame, SAMPLE_ICON);
    const HWND handle = show();

    ASSERT_NE(nullptr, frame.getSmallIcon());
    ASSERT_NE(nullptr, frame.getLargeIcon());
    EXPECT_EQ(reinterpret_cast<LRESULT>(frame.getSmallIcon()), SendMessageW(handle, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(frame.getLargeIcon()), SendMessageW(handle, WM_GETICON, ICON_BIG, 0));
    const SIZE small = iconSize(frame.getSmallIcon());
    const SIZE large = iconSize(frame.getLargeIcon());
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), small.cx);
    EXPECT_EQ(GetSystemMetrics(SM_CYSMICON), small.cy);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), large.cx);
    EXPECT_EQ(GetSystemMetrics(SM_CYICON), large.cy);
}

TEST_F(FrameTest, NewIconsReplaceTheOldOnesOnTheShownFrame) {
    setIconFromUser32(frame, SAMPLE_ICON);
    const HWND handle = show();
    const HICON oldSmall = frame.getSmallIcon();
    const HICON oldLarge = frame.getLargeIcon();

    setIconFromUser32(frame, NOTE_ICON);

    EXPECT_NE(oldSmall, frame.getSmallIcon());
    EXPECT_EQ(reinterpret_cast<LRESULT>(frame.getSmallIcon()), SendMessageW(handle, WM_GETICON, ICON_SMALL, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(frame.getLargeIcon()), SendMessageW(handle, WM_GETICON, ICON_BIG, 0));
    // The replaced icons were destroyed.
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(oldSmall, &info));
    EXPECT_FALSE(GetIconInfo(oldLarge, &info));
}

TEST_F(FrameTest, MissingIconThrowsAndKeepsTheCurrentIcons) {
    setIconFromUser32(frame, SAMPLE_ICON);
    const HWND handle = show();
    const HICON small = frame.getSmallIcon();

    try {
        setIconFromUser32(frame, 4711);
        FAIL() << "no exception";
    } catch (const awt::AWTException& e) {
        EXPECT_EQ(L"::LoadImage() failed", e.getMessage());
    }

    EXPECT_EQ(small, frame.getSmallIcon());
    EXPECT_EQ(reinterpret_cast<LRESULT>(small), SendMessageW(handle, WM_GETICON, ICON_SMALL, 0));
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(small, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

// Focus on showing.

TEST_F(FrameTest, ShowingAResizableFrameFocusesTheFrameItself) {
    ui_test::Control* const edit = ui_test::newEdit();
    edit->setBounds(10, 10, 100, 24);
    frame.add(edit);
    const HWND handle = show();
    EXPECT_TRUE(pumpToolkitUntil([handle] { return GetFocus() == handle; }));
}

TEST_F(FrameTest, ShowingANotResizableFrameFocusesItsFirstTabStop) {
    ui_test::Control* const edit = ui_test::newEdit();
    edit->setBounds(10, 10, 100, 24);
    frame.add(edit);
    frame.setResizable(false);
    show();
    EXPECT_TRUE(pumpToolkitUntil([edit] { return GetFocus() == edit->getHandle(); }));
}

}  // namespace
