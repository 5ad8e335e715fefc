// Window: close operations, nested loops, key accelerators, owned windows, center and pack, and failures
// inside message handlers.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ComponentTestSupport.h"
#include "ToolkitTestSupport.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"
#include "klib/Exception.h"

namespace {

using ui_test::Control;
using ui_test::LoggingListener;
using ui_test::pumpToolkitUntil;
using ui_test::TestWindow;
using Log = std::vector<std::wstring>;

bool contains(const Log& log, const std::wstring& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

class WindowClose : public ::testing::Test {
protected:
    void SetUp() override {
        window.setBounds(100, 100, 200, 150);
        window.setVisible(true);
        handle = window.getHandle();
        ASSERT_TRUE(pumpToolkitUntil([this] { return IsWindowVisible(handle) != FALSE; }));
    }

    std::unique_ptr<TestWindow> windowHolder = std::make_unique<TestWindow>();  // fixtures must not throw from ~
    TestWindow& window = *windowHolder;
    HWND handle = nullptr;
    Log log;
};

TEST_F(WindowClose, ByDefaultHidesAndKeepsTheNativeWindowForTheNextShow) {
    EXPECT_EQ(awt::Window::CLOSE_HIDE, window.getDefaultCloseOperation());

    SendMessageW(handle, WM_CLOSE, 0, 0);

    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(IsWindowVisible(handle));
    EXPECT_EQ(handle, window.getHandle());
    window.setVisible(true);
    EXPECT_EQ(handle, window.getHandle());
    EXPECT_TRUE(IsWindowVisible(handle));
}

TEST_F(WindowClose, SystemCloseCommandIsACloseRequest) {
    SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(handle));
}

TEST_F(WindowClose, ConsumingListenerKeepsTheWindowOpenAndTheOthersAreStillCalled) {
    window.setDefaultCloseOperation(awt::Window::CLOSE_DISPOSE);
    LoggingListener first(log, L"A");
    LoggingListener last(log, L"B", true);
    window.addWindowListener(&first);
    window.addWindowListener(&last);

    SendMessageW(handle, WM_CLOSE, 0, 0);

    EXPECT_EQ((Log{L"B:windowClosing", L"A:windowClosing"}), log);
    EXPECT_EQ(handle, window.getHandle());
    EXPECT_TRUE(IsWindowVisible(handle));
}

TEST_F(WindowClose, DoNothingLeavesTheWindowAsItIs) {
    window.setDefaultCloseOperation(awt::Window::CLOSE_DO_NOTHING);
    SendMessageW(handle, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(handle));
}

TEST_F(WindowClose, DisposeFiresWindowClosedAndTheWindowCanBeShownAgain) {
    window.setDefaultCloseOperation(awt::Window::CLOSE_DISPOSE);
    LoggingListener listener(log, L"A");
    window.addWindowListener(&listener);

    SendMessageW(handle, WM_CLOSE, 0, 0);

    EXPECT_TRUE(contains(log, L"A:windowClosing"));
    EXPECT_TRUE(contains(log, L"A:windowClosed"));
    EXPECT_EQ(nullptr, window.getHandle());
    EXPECT_FALSE(IsWindow(handle));
    window.setVisible(true);
    EXPECT_NE(nullptr, window.getHandle());
}

TEST(WindowDeletion, DeletingAWindowWithItsNativeWindowFiresNoWindowClosed) {
    Log log;
    LoggingListener listener(log, L"A");
    auto window = std::make_unique<TestWindow>();
    window->setBounds(100, 100, 200, 150);
    window->addWindowListener(&listener);
    window->setVisible(true);
    const HWND handle = window->getHandle();

    window.reset();

    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(contains(log, L"A:windowClosed"));
}

TEST(WindowDeletion, DisposeAndDeleteDeletesTheWindowInALaterIdleStep) {
    bool deleted = false;
    TestWindow* const window = new TestWindow(nullptr, [&deleted](TestWindow*) { deleted = true; });  // deletes itself
    window->setBounds(100, 100, 200, 150);
    window->setDefaultCloseOperation(awt::Window::CLOSE_DISPOSE_AND_DELETE);
    window->setVisible(true);

    SendMessageW(window->getHandle(), WM_CLOSE, 0, 0);

    EXPECT_FALSE(deleted);
    EXPECT_EQ(nullptr, window->getHandle());
    EXPECT_TRUE(pumpToolkitUntil([&] { return deleted; }));
}

TEST(WindowLoops, CloseQuitEndsOnlyTheInnermostLoop) {
    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    TestWindow window;
    window.setBounds(100, 100, 200, 150);
    window.setDefaultCloseOperation(awt::Window::CLOSE_QUIT);
    window.setVisible(true);
    int nested = -1;
    awt_test::CallRunnable modal([&] {
        PostMessageW(window.getHandle(), WM_CLOSE, 0, 0);
        nested = toolkit->runModal(&window);
        toolkit->postQuit(7);
    });
    awt_test::LoopWatchdog watchdog;
    toolkit->invokeLater(&modal);

    EXPECT_EQ(7, toolkit->run());
    EXPECT_EQ(0, nested);
    EXPECT_TRUE(window.isVisible());
}

TEST(WindowLoops, ExceptionFromAMessageHandlerReachesTheCallerOfRun) {
    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    Log log;
    LoggingListener failing(log, L"A");
    failing.action = [] { throw klib::IllegalStateException(L"closing failed"); };
    TestWindow window;
    window.setBounds(100, 100, 200, 150);
    window.setDefaultCloseOperation(awt::Window::CLOSE_QUIT);
    window.setVisible(true);
    window.addWindowListener(&failing);
    PostMessageW(window.getHandle(), WM_CLOSE, 0, 0);
    awt_test::LoopWatchdog watchdog;

    try {
        toolkit->run();
        FAIL() << "run() returned normally";
    } catch (const klib::IllegalStateException& e) {
        EXPECT_EQ(L"closing failed", e.getMessage());
    }
    // The failure came before the close operation.
    EXPECT_TRUE(window.isVisible());
    window.removeWindowListener(&failing);
}

// A window whose edit has the focus, with Enter as a consuming accelerator.
class WindowAccelerators : public ::testing::Test {
protected:
    void SetUp() override {
        window.setBounds(100, 100, 300, 150);
        edit = ui_test::newEdit();
        edit->setBounds(10, 10, 100, 24);
        window.add(edit);
        edit->addKeyListener(&editListener);
        window.addKeyAccelerator(awt::KeyStroke{VK_RETURN, 0, false}, &enter);
        window.setVisible(true);
        ASSERT_TRUE(pumpToolkitUntil([this] { return GetFocus() == edit->getHandle(); }));
    }

    // Posts a key press to the edit and pumps until the accelerator or the edit saw it.
    void press(int key) {
        log.clear();
        PostMessageW(edit->getHandle(), WM_KEYDOWN, static_cast<WPARAM>(key), 0);
        ASSERT_TRUE(pumpToolkitUntil([this] { return !log.empty(); }));
        ui_test::settle(50);
    }

    std::unique_ptr<TestWindow> windowHolder = std::make_unique<TestWindow>();
    TestWindow& window = *windowHolder;
    Control* edit = nullptr;
    Log log;
    // Held on the heap: fixtures must not have destructors that may throw.
    std::unique_ptr<LoggingListener> editListenerHolder = std::make_unique<LoggingListener>(log, L"edit");
    std::unique_ptr<LoggingListener> enterHolder = std::make_unique<LoggingListener>(log, L"enter", true);
    LoggingListener& editListener = *editListenerHolder;
    LoggingListener& enter = *enterHolder;
};

TEST_F(WindowAccelerators, ConsumingAcceleratorTakesTheKeyBeforeTheFocusedControl) {
    press(VK_RETURN);
    EXPECT_EQ((Log{L"enter:keyPressed 13 0"}), log);
}

TEST_F(WindowAccelerators, StrokeWithOtherModifiersDoesNotMatch) {
    ui_test::HeldKeys shift{VK_SHIFT};
    press(VK_RETURN);
    EXPECT_TRUE(contains(log, L"edit:keyPressed 13 1"));
    EXPECT_FALSE(contains(log, L"enter:keyPressed 13 1"));
}

TEST_F(WindowAccelerators, UnconsumedAcceleratorLetsTheKeyReachTheControlToo) {
    LoggingListener f2(log, L"f2");
    window.addKeyAccelerator(awt::KeyStroke{VK_F2, 0, false}, &f2);
    // A handler that exists already picks new strokes up at once.
    press(VK_F2);
    // The accelerator sees the key before it is dispatched to the edit.
    EXPECT_EQ((Log{L"f2:keyPressed 113 0", L"edit:keyPressed 113 0"}), log);
}

TEST_F(WindowAccelerators, FirstRegistrationOfAStrokeStays) {
    LoggingListener second(log, L"second", true);
    window.addKeyAccelerator(awt::KeyStroke{VK_RETURN, 0, false}, &second);
    press(VK_RETURN);
    EXPECT_EQ((Log{L"enter:keyPressed 13 0"}), log);
}

TEST_F(WindowAccelerators, WorkOnlyWhileTheWindowIsActive) {
    TestWindow other;
    other.setBounds(500, 100, 200, 150);
    other.setVisible(true);
    ASSERT_TRUE(pumpToolkitUntil([&] { return GetActiveWindow() == other.getHandle(); }));

    press(VK_RETURN);
    EXPECT_TRUE(contains(log, L"edit:keyPressed 13 0"));
    EXPECT_FALSE(contains(log, L"enter:keyPressed 13 0"));

    window.toFront();
    ASSERT_TRUE(pumpToolkitUntil([&] { return GetActiveWindow() == window.getHandle(); }));
    press(VK_RETURN);
    EXPECT_EQ((Log{L"enter:keyPressed 13 0"}), log);
}

TEST(KeyStroke, OrdersByUnsignedKeyCodeThenModifiersAndIgnoresTheFlag) {
    EXPECT_TRUE((awt::KeyStroke{1, 8, false} < awt::KeyStroke{2, 0, false}));
    EXPECT_TRUE((awt::KeyStroke{0x7FFFFFFF, 0, false} < awt::KeyStroke{-1, 0, false}));
    EXPECT_TRUE((awt::KeyStroke{13, 1, false} < awt::KeyStroke{13, 2, false}));
    EXPECT_TRUE((awt::KeyStroke{13, 2, false} == awt::KeyStroke{13, 2, true}));
}

TEST(OwnedWindows, AreDeletedLastConstructedFirst) {
    std::vector<std::wstring> deleted;
    const auto record = [&deleted](const wchar_t* name) {
        return [&deleted, name](TestWindow*) { deleted.push_back(name); };
    };
    auto owner = std::make_unique<TestWindow>();
    TestWindow* const first = new TestWindow(owner.get(), record(L"first"));  // owned by owner
    TestWindow* const second = new TestWindow(owner.get(), record(L"second"));  // owned by owner
    TestWindow* const third = new TestWindow(owner.get(), record(L"third"));  // owned by owner
    EXPECT_EQ((std::vector<awt::Window*>{first, second, third}), owner->getOwnedWindows());

    owner.reset();

    EXPECT_EQ((std::vector<std::wstring>{L"third", L"second", L"first"}), deleted);
}

TEST(OwnedWindows, OneDeletedEarlyLeavesItsOwnersList) {
    std::vector<std::wstring> deleted;
    auto owner = std::make_unique<TestWindow>();
    TestWindow* const first = new TestWindow(owner.get());  // owned by owner
    TestWindow* const second = new TestWindow(owner.get(), [&deleted](TestWindow*) { deleted.push_back(L"second"); });
    first->onDelete = [&deleted](TestWindow*) { deleted.push_back(L"first"); };

    delete second;

    EXPECT_EQ((std::vector<awt::Window*>{first}), owner->getOwnedWindows());
    owner.reset();
    EXPECT_EQ((std::vector<std::wstring>{L"second", L"first"}), deleted);
}

TEST(OwnedWindows, AreCreatedAndDisposedWithTheirOwner) {
    TestWindow owner;
    owner.setBounds(100, 100, 200, 150);
    TestWindow* const owned = new TestWindow(&owner);  // owned by owner
    owned->setBounds(150, 150, 100, 80);

    owner.setVisible(true);
    ASSERT_NE(nullptr, owned->getHandle());
    EXPECT_EQ(owner.getHandle(), GetWindow(owned->getHandle(), GW_OWNER));
    EXPECT_FALSE(owned->isVisible());

    owner.dispose();
    EXPECT_EQ(nullptr, owned->getHandle());
}

TEST(WindowCenter, TruncatesAnOddDifferenceOnTheOwner) {
    TestWindow owner;
    owner.setBounds(0, 0, 200, 100);
    TestWindow* const window = new TestWindow(&owner);  // owned by owner
    window->setSize(101, 51);

    window->center();

    EXPECT_EQ(awt::Point({49, 24}), window->getLocation());
}

TEST(WindowCenter, WindowLargerThanItsOwnerTruncatesTowardZero) {
    TestWindow owner;
    owner.setBounds(10, 20, 100, 100);
    TestWindow* const window = new TestWindow(&owner);  // owned by owner
    window->setSize(103, 105);

    window->center();

    EXPECT_EQ(awt::Point({9, 18}), window->getLocation());
}

TEST(WindowCenter, WithoutOwnerCentresInTheWorkArea) {
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    TestWindow window;
    window.setSize(301, 201);

    window.center();

    const int x = work.left + (work.right - work.left - 301) / 2;
    const int y = work.top + (work.bottom - work.top - 201) / 2;
    EXPECT_EQ(awt::Point({x, y}), window.getLocation());
    RECT outer;
    GetWindowRect(window.getHandle(), &outer);
    EXPECT_EQ(ui_test::text(RECT{x, y, x + 301, y + 201}), ui_test::text(outer));
}

TEST(WindowPack, SizesTheWindowToTheLayoutsPreferredSize) {
    TestWindow window;
    ui_test::RecordingLayout layout(awt::Dimension{150, 90});
    window.setLayout(&layout);
    window.setLocation(50, 60);

    window.pack();

    ASSERT_NE(nullptr, window.getHandle());
    EXPECT_EQ(awt::Dimension({150, 90}), window.getSize());
    RECT outer;
    GetWindowRect(window.getHandle(), &outer);
    EXPECT_EQ(L"(50,60,200,150)", ui_test::text(outer));
}

TEST(WindowCreation, ReadsTheRealRectangleOfADefaultPlacedWindow) {
    TestWindow window;
    window.addNotify();
    RECT outer;
    GetWindowRect(window.getHandle(), &outer);
    EXPECT_EQ((awt::Rectangle{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top}),
              window.getBounds());
    EXPECT_EQ(WS_POPUP, GetWindowLongPtrW(window.getHandle(), GWL_STYLE) & WS_POPUP);
}

TEST(WindowSettings, MinimumSizeIsTheMinimumTrackingSize) {
    TestWindow window;
    window.setBounds(100, 100, 200, 150);
    window.setMinimumSize(120, 80);
    window.addNotify();
    MINMAXINFO info{};

    SendMessageW(window.getHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));

    EXPECT_EQ(120, info.ptMinTrackSize.x);
    EXPECT_EQ(80, info.ptMinTrackSize.y);
    EXPECT_EQ(awt::Dimension({120, 80}), window.getMinimumSize());
}

TEST(WindowSettings, AlwaysOnTopMakesTheNativeWindowTopmost) {
    TestWindow window;
    window.setBounds(100, 100, 200, 150);
    window.addNotify();

    window.setAlwaysOnTop(true);
    EXPECT_NE(0, GetWindowLongPtrW(window.getHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    window.setAlwaysOnTop(false);
    EXPECT_EQ(0, GetWindowLongPtrW(window.getHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace
