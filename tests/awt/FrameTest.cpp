// Frame: the sizing border with the insets it gives, a move to another DPI, and the icons.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "tests/support/ComponentTestSupport.h"
#include "awt/AWTException.h"
#include "awt/BorderLayout.h"
#include "awt/Dialog.h"
#include "awt/Dpi.h"
#include "awt/Frame.h"
#include "awt/Toolkit.h"

namespace {

constexpr int SAMPLE_ICON = 32512;  // icon groups every user32.dll carries
constexpr int NOTE_ICON = 32516;
constexpr UINT GET_DPI_SCALED_SIZE = 0x02E4;  // WM_GETDPISCALEDSIZE, hidden by the Windows 7 headers

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
    struct Restore {
        const HINSTANCE original = awt::Toolkit::getInstanceHandle();
        ~Restore() { awt::Toolkit::initialize(original, SW_SHOW); }
    } const restore;
    awt::Toolkit::initialize(GetModuleHandleW(L"user32.dll"), SW_SHOW);
    frame.setIcon(id);
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
        EXPECT_TRUE(ui_test::pumpUntil([handle] { return IsWindowVisible(handle) != FALSE; }));
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
}

// Counts the moves and resizes of one window on this thread: each SetWindowPos sends one
// WM_WINDOWPOSCHANGING.
class PositionChanges {
public:
    explicit PositionChanges(HWND window)
        : hook_(SetWindowsHookExW(WH_CALLWNDPROC, record, nullptr, GetCurrentThreadId())) {
        window_ = window;
        changes_ = 0;
    }
    PositionChanges(const PositionChanges&) = delete;
    PositionChanges& operator=(const PositionChanges&) = delete;
    ~PositionChanges() { UnhookWindowsHookEx(hook_); }

    int count() const { return changes_; }

private:
    static LRESULT CALLBACK record(int code, WPARAM wParam, LPARAM lParam) {
        const auto* const message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->hwnd == window_ && message->message == WM_WINDOWPOSCHANGING) ++changes_;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline HWND window_ = nullptr;
    static inline int changes_ = 0;
    HHOOK hook_;
};

// The system asks the frame (here a dialog, as the program's) for its size at the new DPI, which is its
// contents inside the border of that DPI, and suggests a rectangle of that size on the new monitor. The
// border grew behind the toolkit's back, as it does with the DPI: the frame must measure it again rather
// than lay out within the remembered one.
TEST(FrameDpiTest, MovedToAnotherDpiItTakesTheSuggestedRectangleInOneStepAndLaysOutInsideTheNewBorder) {
    awt::BorderLayout layout;
    const auto holder = std::make_unique<awt::Dialog>(nullptr, L"Dialog", false);
    awt::Dialog& dialog = *holder;
    dialog.setLayout(&layout);
    dialog.add(new ui_test::Control(L"STATIC", 0, {120, 60}), &awt::BorderLayout::CENTER);
    dialog.add(new ui_test::Control(L"STATIC", 0, {80, 20}), &awt::BorderLayout::SOUTH);
    dialog.setResizable(false);
    dialog.pack();
    dialog.setLocation(120, 100);
    dialog.setVisible(true);
    const HWND handle = dialog.getHandle();
    RECT contents;
    GetClientRect(handle, &contents);
    const std::wstring thin = measuredInsets(handle);
    SetWindowLongPtrW(handle, GWL_STYLE, GetWindowLongPtrW(handle, GWL_STYLE) | WS_THICKFRAME);
    SetWindowLongPtrW(handle, GWL_EXSTYLE, GetWindowLongPtrW(handle, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
    SetWindowPos(handle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ASSERT_NE(measuredInsets(handle), thin) << "the border did not grow";

    const auto adjust = awt::user32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (adjust == nullptr) GTEST_SKIP() << "no AdjustWindowRectExForDpi (before Windows 10 1607)";
    const UINT dpi = awt::getWindowDpi(handle) * 3 / 2;
    RECT wanted = contents;
    ASSERT_TRUE(adjust(&wanted, static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_EXSTYLE)), dpi));
    SIZE size{dialog.getWidth(), dialog.getHeight()};
    ASSERT_TRUE(SendMessageW(handle, GET_DPI_SCALED_SIZE, dpi, reinterpret_cast<LPARAM>(&size)));
    EXPECT_EQ(size.cx, wanted.right - wanted.left);
    EXPECT_EQ(size.cy, wanted.bottom - wanted.top);
    RECT suggested{dialog.getX() + 30, dialog.getY() + 20, dialog.getX() + 30 + size.cx, dialog.getY() + 20 + size.cy};
    const PositionChanges changes(handle);
    SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));

    EXPECT_EQ(changes.count(), 1);
    RECT rect;
    GetWindowRect(handle, &rect);
    EXPECT_EQ(ui_test::text(rect), ui_test::text(suggested));
    EXPECT_EQ(measuredInsets(handle), text(dialog.getInsets()));
    RECT client;
    GetClientRect(handle, &client);
    EXPECT_GE(client.right, 120);
    EXPECT_GE(client.bottom, 80);
    for (int i = 0; i < dialog.getComponentCount(); ++i) {
        const RECT child = ui_test::rectInParent(dialog.getComponent(i)->getHandle());
        RECT common;
        IntersectRect(&common, &child, &client);
        EXPECT_TRUE(EqualRect(&common, &child)) << i << ": " << ui_test::text(child);
    }
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
