// The saver window in-process: renderer life cycle, cursor, and which messages end saving.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "awt/Toolkit.h"
#include "screensaver/DummyParent.h"
#include "screensaver/SaverWindow.h"

namespace {

// Records what the window asks of its renderer.
class RecordingRenderer : public screensaver::Renderer {
public:
    void start(awt::Component* target, HWND handle) override {
        calls.push_back("start");
        startedHidden = !IsWindowVisible(handle);
        startTarget = target;
    }
    void paint(awt::Component*, HDC dc) override {
        calls.push_back("paint");
        paintedWithDc = dc != nullptr;
    }
    void stop(awt::Component*) override { calls.push_back("stop"); }
    void suspend(awt::Component*) override { calls.push_back("suspend"); }
    void resume(awt::Component*) override { calls.push_back("resume"); }

    std::vector<std::string> calls;
    bool startedHidden = false;
    bool paintedWithDc = false;
    awt::Component* startTarget = nullptr;
};

int cursorCount() {
    const int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return count;
}

// True (and the message is taken) when a WM_QUIT with code 0 waits in the queue.
bool quitPosted() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 0;
}

class SaverWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        cursorBefore = cursorCount();
        saver = std::make_unique<screensaver::SaverWindow>();
        saver->setRenderer(&renderer);
        saver->setVisible(true);
        quitPosted();  // nothing may be left from an earlier test
    }
    void TearDown() override {
        saver.reset();
        // Every test ends saving at most once more than it began: give the cursor count back.
        while (cursorCount() > cursorBefore) ShowCursor(FALSE);
        while (cursorCount() < cursorBefore) ShowCursor(TRUE);
        while (quitPosted()) {}
    }

    LRESULT send(UINT msg, WPARAM wParam, LPARAM lParam) {
        return SendMessageW(saver->getHandle(), msg, wParam, lParam);
    }
    bool saving() { return saver->isVisible() && !quitPosted(); }

    int cursorBefore = 0;
    RecordingRenderer renderer;
    // Held by pointer: its destructor may throw, which a test fixture's may not.
    std::unique_ptr<screensaver::SaverWindow> saver;
};

// The rectangle of every monitor together, in screen coordinates.
RECT virtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

TEST_F(SaverWindowTest, CoversTheVirtualScreenTopmostAndHidesTheCursorUntilSavingEnds) {
    RECT rect;
    GetWindowRect(saver->getHandle(), &rect);
    const RECT expected = virtualScreen();
    EXPECT_TRUE(EqualRect(&rect, &expected));
    EXPECT_TRUE(GetWindowLongPtrW(saver->getHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(cursorCount(), cursorBefore - 1);
    // Ending shows the cursor, hides the window and quits with zero. Hiding deactivates the window,
    // which ends saving again: the cursor is shown at least once more.
    saver->endSaving();
    EXPECT_GE(cursorCount(), cursorBefore);
    EXPECT_FALSE(saver->isVisible());
    EXPECT_FALSE(IsWindowVisible(saver->getHandle()));
    EXPECT_TRUE(quitPosted());
}

TEST_F(SaverWindowTest, StartsTheRendererOnceWhileStillHiddenAndPaintsOnlyThroughIt) {
    ASSERT_EQ(renderer.calls.size() >= 1, true);
    EXPECT_EQ(renderer.calls.front(), "start");
    EXPECT_TRUE(renderer.startedHidden);
    EXPECT_EQ(renderer.startTarget, saver.get());
    InvalidateRect(saver->getHandle(), nullptr, FALSE);
    UpdateWindow(saver->getHandle());
    EXPECT_EQ(renderer.calls.back(), "paint");
    EXPECT_TRUE(renderer.paintedWithDc);
    EXPECT_EQ(std::count(renderer.calls.begin(), renderer.calls.end(), "start"), 1);
    saver->setVisible(false);
    saver->setVisible(true);
    EXPECT_EQ(std::count(renderer.calls.begin(), renderer.calls.end(), "start"), 1) << "shown again, not started again";
    // The system never erases the background.
    HDC dc = GetDC(saver->getHandle());
    EXPECT_EQ(send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(saver->getHandle(), dc);
}

TEST_F(SaverWindowTest, ReleasesCharactersAndTheFirstMouseMoveDoNotEndSaving) {
    for (const UINT msg : {WM_KEYUP, WM_CHAR, WM_LBUTTONUP, WM_RBUTTONUP}) {
        send(msg, 'A', 0);
        EXPECT_TRUE(saving()) << "message " << std::hex << msg;
    }
    // The first move only records where the mouse is.
    send(WM_MOUSEMOVE, 0, MAKELPARAM(40, 30));
    EXPECT_TRUE(saving());
    send(WM_MOUSEMOVE, 0, MAKELPARAM(40, 30));
    EXPECT_TRUE(saving());
    send(WM_MOUSEMOVE, 0, MAKELPARAM(40, 31));
    EXPECT_FALSE(saving());
}

TEST_F(SaverWindowTest, AMoveOfOnePixelInXEndsSaving) {
    send(WM_MOUSEMOVE, 0, MAKELPARAM(-5, 7));
    EXPECT_TRUE(saving());
    send(WM_MOUSEMOVE, 0, MAKELPARAM(-6, 7));
    EXPECT_FALSE(saving());
}

TEST_F(SaverWindowTest, KeysButtonsTheWheelDeactivationAndTheScreenSaveCommandEndSaving) {
    const struct { UINT msg; WPARAM wParam; } enders[] = {
        {WM_KEYDOWN, VK_SHIFT}, {WM_SYSKEYDOWN, VK_MENU}, {WM_LBUTTONDOWN, 0}, {WM_RBUTTONDOWN, 0},
        {WM_MBUTTONDOWN, 0}, {WM_MOUSEWHEEL, 0}, {WM_ACTIVATE, WA_INACTIVE}, {WM_SYSCOMMAND, SC_SCREENSAVE}};
    for (const auto& ender : enders) {
        saver->setVisible(true);
        send(ender.msg, ender.wParam, 0);
        EXPECT_FALSE(saving()) << "message " << std::hex << ender.msg;
        ShowCursor(FALSE);
    }
}

TEST_F(SaverWindowTest, TheLoopEndsWithZeroOnTheCloseCommandAndOnAKeyPress) {
    PostMessageW(saver->getHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(saver->getToolkit()->run(), 0);
    saver->setVisible(true);
    PostMessageW(saver->getHandle(), WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(saver->getToolkit()->run(), 0);
    EXPECT_FALSE(saver->isVisible());
}

// The console display going off, as the system announces it.
void sendDisplayOff(HWND window) {
    POWERBROADCAST_SETTING message{GUID_CONSOLE_DISPLAY_STATE, sizeof(DWORD), {}};
    SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&message));
}

// A new display layout: the saver covers the new virtual screen with a board started afresh, still
// suspended when the display is off, and the mouse position it recorded stays where the mouse is.
TEST_F(SaverWindowTest, ADisplayChangeCoversTheNewVirtualScreenAgain) {
    send(WM_MOUSEMOVE, 0, MAKELPARAM(40, 30));
    saver->setBounds(100, 50, 300, 200);
    sendDisplayOff(saver->getHandle());
    renderer.calls.clear();
    send(WM_DISPLAYCHANGE, 32, MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    RECT rect;
    GetWindowRect(saver->getHandle(), &rect);
    const RECT expected = virtualScreen();
    EXPECT_TRUE(EqualRect(&rect, &expected));
    EXPECT_EQ(renderer.calls, (std::vector<std::string>{"stop", "start", "suspend"}));
    const POINT same{140 - rect.left, 80 - rect.top};
    send(WM_MOUSEMOVE, 0, MAKELPARAM(same.x, same.y));
    EXPECT_TRUE(saving()) << "the mouse did not move";
    send(WM_MOUSEMOVE, 0, MAKELPARAM(same.x + 1, same.y));
    EXPECT_FALSE(saving());
}

TEST(DummyParentTest, AdoptsAWindowWithoutTouchingIt) {
    HWND foreign = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 30, 40, 152, 112, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    SetWindowLongPtrW(foreign, GWLP_USERDATA, 1234);
    const LONG_PTR procedure = GetWindowLongPtrW(foreign, GWLP_WNDPROC);
    {
        screensaver::DummyParent parent(foreign);
        EXPECT_EQ(parent.getHandle(), foreign);
        EXPECT_TRUE(parent.isVisible());
        EXPECT_EQ(parent.getX(), 30);
        EXPECT_EQ(parent.getY(), 40);
        EXPECT_EQ(parent.getWidth(), 152);
        EXPECT_EQ(parent.getHeight(), 112);
        EXPECT_EQ(parent.getToolkit(), awt::Toolkit::forCurrentThread());
        ValidateRect(foreign, nullptr);
        parent.repaint(0, 0, 152, 112);
        parent.getToolkit()->idle();
        RECT dirty{};
        EXPECT_FALSE(GetUpdateRect(foreign, &dirty, FALSE)) << "a repaint request must not reach the adopted window";
    }
    EXPECT_TRUE(IsWindow(foreign)) << "the adopted window must outlive its stand-in";
    EXPECT_EQ(GetWindowLongPtrW(foreign, GWLP_USERDATA), 1234);
    EXPECT_EQ(GetWindowLongPtrW(foreign, GWLP_WNDPROC), procedure);
    DestroyWindow(foreign);
}

}  // namespace
