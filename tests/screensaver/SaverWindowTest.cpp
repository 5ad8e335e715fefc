// The saver window in-process: renderer life cycle, cursor, the display-state registration, and which
// messages end saving.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "awt/Toolkit.h"
#include "awt/Screen.h"
#include "screensaver/DummyParent.h"
#include "screensaver/SaverWindow.h"
#include "tests/support/ComponentTestSupport.h"

namespace {

// Records what the window asks of its renderer.
class RecordingRenderer : public screensaver::Renderer {
public:
    void start(awt::Component* target, HWND handle) override {
        calls.push_back("start");
        startedHidden = !IsWindowVisible(handle);
        startTarget = target;
        if (failStart) throw std::runtime_error("start failed");
    }
    void paint(awt::Component*, HDC dc) override {
        calls.push_back("paint");
        lastDc = dc;
        if (failPaint) throw std::runtime_error("paint failed");
    }
    void stop(awt::Component*) override { calls.push_back("stop"); }
    void suspend(awt::Component*) override { calls.push_back("suspend"); }
    void resume(awt::Component*) override { calls.push_back("resume"); }

    std::vector<std::string> calls;
    bool startedHidden = false;
    bool failStart = false;
    bool failPaint = false;
    HDC lastDc = nullptr;
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

// What the window asks of RegisterPowerSettingNotification, which Wine only pretends to do; the console
// display state is refused when told.
struct Registration {
    HANDLE recipient;
    GUID setting;
    DWORD flags;
};
std::vector<Registration> registrations;
bool refuseDisplayState = false;

HPOWERNOTIFY WINAPI recordRegistration(HANDLE recipient, LPCGUID setting, DWORD flags) {
    registrations.push_back(Registration{recipient, *setting, flags});
    if (refuseDisplayState && *setting == GUID_CONSOLE_DISPLAY_STATE) return nullptr;
    return reinterpret_cast<HPOWERNOTIFY>(static_cast<INT_PTR>(registrations.size()));
}

// Puts recordRegistration in place of the registering call while it lives.
class RecordedRegistrations {
public:
    RecordedRegistrations() {
        registrations.clear();
        refuseDisplayState = false;
        screensaver::DisplayStateNotification::registerSetting = recordRegistration;
    }
    RecordedRegistrations(const RecordedRegistrations&) = delete;
    RecordedRegistrations& operator=(const RecordedRegistrations&) = delete;
    ~RecordedRegistrations() { screensaver::DisplayStateNotification::registerSetting = saved; }

private:
    const screensaver::DisplayStateNotification::RegisterFunction saved =
        screensaver::DisplayStateNotification::registerSetting;
};

// A saver window that records the system commands it hands on to the default handling: Wine's shows
// nothing for the screen-saver command, so only this sees one that was not answered.
class WatchedSaverWindow : public screensaver::SaverWindow {
public:
    // The native window exists: it hands on to the replaced procedure, now a recording one.
    void watchDefault() { previousProcedure = recordDefault; }

    static inline std::vector<WPARAM> handedOn;

private:
    static LRESULT CALLBACK recordDefault(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_SYSCOMMAND) handedOn.push_back(wParam);
        return DefWindowProcW(window, msg, wParam, lParam);
    }
};

class SaverWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        cursorBefore = cursorCount();
        saver = std::make_unique<WatchedSaverWindow>();
        saver->setRenderer(&renderer);
        saver->setVisible(true);
    }
    void TearDown() override {
        saver.reset();
        // Give the cursor count back, whatever a failing test left.
        while (cursorCount() > cursorBefore) ShowCursor(FALSE);
        while (cursorCount() < cursorBefore) ShowCursor(TRUE);
        while (quitPosted()) {}
    }

    LRESULT send(UINT msg, WPARAM wParam, LPARAM lParam) {
        return SendMessageW(saver->getHandle(), msg, wParam, lParam);
    }
    bool saving() { return saver->isVisible() && !quitPosted(); }

    const RecordedRegistrations recorded;
    int cursorBefore = 0;
    RecordingRenderer renderer;
    // Held by pointer: its destructor may throw, which a test fixture's may not.
    std::unique_ptr<screensaver::SaverWindow> saver;
};

// The window's place over the virtual screen is checked after a display change below.
TEST_F(SaverWindowTest, IsTopmostAndKeepsTheCursorHiddenUntilSavingEndsOnce) {
    EXPECT_TRUE(GetWindowLongPtrW(saver->getHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(cursorCount(), cursorBefore - 1);
    // The default handling of WM_SETCURSOR would bring back the arrow.
    EXPECT_EQ(send(WM_SETCURSOR, reinterpret_cast<WPARAM>(saver->getHandle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(GetCursor(), nullptr);
    // Ending shows the cursor, hides the window and quits with zero; hiding deactivates the window, and
    // neither that nor a second call shows the cursor again.
    saver->endSaving();
    saver->endSaving();
    EXPECT_EQ(cursorCount(), cursorBefore);
    EXPECT_FALSE(saver->isVisible());
    EXPECT_FALSE(IsWindowVisible(saver->getHandle()));
    EXPECT_TRUE(quitPosted());
}

TEST_F(SaverWindowTest, StartsTheRendererOnceWhileStillHiddenAndPaintsOnlyThroughIt) {
    EXPECT_TRUE(renderer.startedHidden);
    EXPECT_EQ(renderer.startTarget, saver.get());
    renderer.calls.clear();
    InvalidateRect(saver->getHandle(), nullptr, FALSE);
    UpdateWindow(saver->getHandle());
    saver->setVisible(false);
    saver->setVisible(true);
    EXPECT_EQ(renderer.calls.at(0), "paint");
    EXPECT_EQ(std::count(renderer.calls.begin(), renderer.calls.end(), "start"), 0) << "shown again, not started again";
    EXPECT_NE(renderer.lastDc, nullptr);
    // The system never erases the background.
    HDC dc = GetDC(saver->getHandle());
    EXPECT_EQ(send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    ReleaseDC(saver->getHandle(), dc);
}

TEST_F(SaverWindowTest, AFailedPaintStillEndsThePaintSoTheNextOneGetsTheSameDeviceContext) {
    renderer.failPaint = true;
    InvalidateRect(saver->getHandle(), nullptr, FALSE);
    UpdateWindow(saver->getHandle());
    EXPECT_THROW(awt::Toolkit::rethrowParked(), std::runtime_error);
    const HDC failed = renderer.lastDc;
    renderer.failPaint = false;
    InvalidateRect(saver->getHandle(), nullptr, FALSE);
    UpdateWindow(saver->getHandle());
    EXPECT_EQ(renderer.lastDc, failed) << "the failed paint's device context was not given back";
}

TEST_F(SaverWindowTest, NoSignOfTheUserDoesNotEndSavingNorDoesTheFirstMouseMoveAMoveOfOnePixelDoes) {
    // A screen-saver command reaching the running saver is answered, and not handed on to start it again.
    const struct {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    } keepers[] = {{WM_KEYUP, 'A', 0},           {WM_CHAR, 'A', 0},
                   {WM_LBUTTONUP, 0, 0},         {WM_RBUTTONUP, 0, 0},
                   {WM_ACTIVATE, WA_ACTIVE, 0},  {WM_NCACTIVATE, TRUE, 0},
                   {WM_SYSCOMMAND, SC_SCREENSAVE, 0}, {WM_SYSCOMMAND, SC_MONITORPOWER, 2}};
    static_cast<WatchedSaverWindow&>(*saver).watchDefault();
    WatchedSaverWindow::handedOn.clear();
    for (const auto& keeper : keepers) {
        send(keeper.msg, keeper.wParam, keeper.lParam);
        EXPECT_TRUE(saving()) << "message " << std::hex << keeper.msg << " " << keeper.wParam;
    }
    // The default handling would start the saver again; the monitor's power is the system's affair.
    EXPECT_EQ(WatchedSaverWindow::handedOn, std::vector<WPARAM>{SC_MONITORPOWER});
    // The first move only records where the mouse is, whatever the position.
    send(WM_MOUSEMOVE, 0, MAKELPARAM(-5, 7));
    EXPECT_TRUE(saving());
    send(WM_MOUSEMOVE, 0, MAKELPARAM(-5, 7));
    EXPECT_TRUE(saving());
    send(WM_MOUSEMOVE, 0, MAKELPARAM(-6, 7));
    EXPECT_FALSE(saving());
}

struct Ender {
    UINT msg;
    WPARAM wParam;
};

class SaverEndTest : public SaverWindowTest, public ::testing::WithParamInterface<Ender> {};

TEST_P(SaverEndTest, EndsSavingAndShowsTheCursorExactlyOnce) {
    send(GetParam().msg, GetParam().wParam, 0);
    EXPECT_FALSE(saving());
    EXPECT_EQ(cursorCount(), cursorBefore);
}

INSTANTIATE_TEST_SUITE_P(Messages, SaverEndTest,
                         ::testing::Values(Ender{WM_KEYDOWN, VK_SHIFT}, Ender{WM_SYSKEYDOWN, VK_MENU},
                                           Ender{WM_LBUTTONDOWN, 0}, Ender{WM_RBUTTONDOWN, 0},
                                           Ender{WM_MBUTTONDOWN, 0}, Ender{WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1)},
                                           Ender{WM_MOUSEWHEEL, 0}, Ender{WM_MOUSEHWHEEL, 0},
                                           Ender{WM_ACTIVATE, WA_INACTIVE}, Ender{WM_ACTIVATEAPP, FALSE},
                                           Ender{WM_NCACTIVATE, FALSE}));

// The ending input's exit code is SaverEndingTest's, with real keys, clicks and moves.
TEST_F(SaverWindowTest, TheLoopEndsWithZeroOnTheCloseCommand) {
    PostMessageW(saver->getHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(testing_support::runWatched(saver->getToolkit()), 0);
}

// A failure on the way (here the renderer's start; a tick or a display change alike) ends in an error
// box, which needs the pointer.
TEST(SaverCursorTest, AFailedStartLeavesTheCursorShownOnceTheWindowGoes) {
    const int before = cursorCount();
    RecordingRenderer renderer;
    renderer.failStart = true;
    {
        const auto saver = std::make_unique<screensaver::SaverWindow>();
        saver->setRenderer(&renderer);
        EXPECT_THROW(saver->setVisible(true), std::runtime_error);
    }
    EXPECT_EQ(cursorCount(), before);
    while (cursorCount() < before) ShowCursor(TRUE);
}

// The version of the running system as ntdll reports it, whatever the program's manifest claims.
OSVERSIONINFOW systemVersion() {
    OSVERSIONINFOW version{sizeof version, 0, 0, 0, 0, {}};
    if (const auto get = reinterpret_cast<LONG(WINAPI*)(OSVERSIONINFOW*)>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion"))))
        get(&version);
    return version;
}

// Windows 8 (6.2) and later are asked for the console display state, Windows 7 for the monitor's power.
TEST_F(SaverWindowTest, AsksToHearOfTheDisplayUntilItsWindowGoes) {
    const OSVERSIONINFOW version = systemVersion();
    ASSERT_GE(version.dwMajorVersion, 6u);
    const bool windows8 = version.dwMajorVersion > 6 || version.dwMinorVersion >= 2;
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations[0].recipient, saver->getHandle());
    EXPECT_EQ(registrations[0].flags, static_cast<DWORD>(DEVICE_NOTIFY_WINDOW_HANDLE));
    EXPECT_EQ(registrations[0].setting, windows8 ? GUID_CONSOLE_DISPLAY_STATE : GUID_MONITOR_POWER_ON)
        << "Windows " << version.dwMajorVersion << "." << version.dwMinorVersion;
    ASSERT_NE(saver->getDisplayState().getSetting(), nullptr);
    EXPECT_EQ(*saver->getDisplayState().getSetting(), registrations[0].setting);
    saver->dispose();
    EXPECT_EQ(saver->getDisplayState().getSetting(), nullptr);
}

// Windows 7 knows only the monitor's power; a system that refuses the console display state is
// asked for that as well. One that takes it is the window's test above.
TEST(DisplayStateRegistrationTest, TheMonitorsPowerServesWhereTheConsoleDisplayStateDoesNot) {
    const RecordedRegistrations recorded;
    const ui_test::PlainWindow popup;
    const HWND window = popup.get();
    const struct {
        bool consoleDisplayStateKnown;
        bool refused;
        std::vector<GUID> asked;
    } cases[] = {{true, true, {GUID_CONSOLE_DISPLAY_STATE, GUID_MONITOR_POWER_ON}},
                 {false, false, {GUID_MONITOR_POWER_ON}}};
    for (const auto& c : cases) {
        registrations.clear();
        refuseDisplayState = c.refused;
        screensaver::DisplayStateNotification notification;
        EXPECT_TRUE(notification.registerFor(window, c.consoleDisplayStateKnown));
        std::vector<GUID> asked;
        for (const Registration& r : registrations) asked.push_back(r.setting);
        EXPECT_EQ(asked, c.asked) << c.consoleDisplayStateKnown << c.refused;
        ASSERT_NE(notification.getSetting(), nullptr);
        EXPECT_EQ(*notification.getSetting(), c.asked.back());
    }
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
    const RECT expected = awt::getVirtualScreen();
    EXPECT_TRUE(EqualRect(&rect, &expected));
    EXPECT_EQ(renderer.calls, (std::vector<std::string>{"stop", "start", "suspend"}));
    const POINT same{140 - rect.left, 80 - rect.top};
    send(WM_MOUSEMOVE, 0, MAKELPARAM(same.x, same.y));
    EXPECT_TRUE(saving()) << "the mouse did not move";
    send(WM_MOUSEMOVE, 0, MAKELPARAM(same.x + 1, same.y));
    EXPECT_FALSE(saving());
}

TEST(DummyParentTest, AdoptsAWindowWithoutTouchingIt) {
    const ui_test::PlainWindow host(L"STATIC", WS_POPUP | WS_VISIBLE, 30, 40, 152, 112);
    const HWND foreign = host.get();
    ASSERT_NE(foreign, nullptr);
    // Painted first: a window just shown may be invalidated again by its first exposure (Wine 10 does
    // so at the first look at the queue), which is no request of ours.
    ASSERT_TRUE(testing_support::pumpUntil([&] { return !GetUpdateRect(foreign, nullptr, FALSE); }, 5000));
    SetWindowLongPtrW(foreign, GWLP_USERDATA, 1234);
    const LONG_PTR procedure = GetWindowLongPtrW(foreign, GWLP_WNDPROC);
    {
        screensaver::DummyParent parent(foreign);
        EXPECT_EQ(parent.getHandle(), foreign);
        EXPECT_TRUE(parent.isVisible());
        EXPECT_EQ(awt::Rectangle({30, 40, 152, 112}), parent.getBounds());
        ValidateRect(foreign, nullptr);
        parent.repaint(0, 0, 152, 112);
        parent.getToolkit()->idle();
        RECT dirty{};
        EXPECT_FALSE(GetUpdateRect(foreign, &dirty, FALSE)) << "a repaint request must not reach the adopted window";
    }
    EXPECT_TRUE(IsWindow(foreign)) << "the adopted window must outlive its stand-in";
    EXPECT_EQ(GetWindowLongPtrW(foreign, GWLP_USERDATA), 1234);
    EXPECT_EQ(GetWindowLongPtrW(foreign, GWLP_WNDPROC), procedure);
}

}  // namespace
