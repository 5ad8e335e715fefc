// Window: close operations, nested loops, key accelerators, owned windows and center.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ComponentTestSupport.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"

namespace {

using awt::Window;
using ui_test::LoggingListener;
using ui_test::pumpToolkitUntil;
using ui_test::TestWindow;
using Log = std::vector<std::wstring>;

bool contains(const Log& log, const wchar_t* entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

TEST(WindowClose, HideKeepsTheNativeWindowDoNothingKeepsItShownDisposeDestroysItAndFiresClosed) {
    EXPECT_EQ(Window::CLOSE_HIDE, TestWindow().getDefaultCloseOperation());
    struct Case {
        int operation;
        bool visible;
        bool kept;
    };
    for (const Case c : {Case{Window::CLOSE_HIDE, false, true}, Case{Window::CLOSE_DO_NOTHING, true, true},
                         Case{Window::CLOSE_DISPOSE, false, false}}) {
        Log log;
        LoggingListener listener(log, L"A");
        TestWindow window;
        window.setBounds(100, 100, 200, 150);
        window.setDefaultCloseOperation(c.operation);
        window.addWindowListener(&listener);
        window.setVisible(true);
        const HWND handle = window.getHandle();

        SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);

        EXPECT_EQ(c.visible, IsWindowVisible(handle) != FALSE) << c.operation;
        EXPECT_EQ(c.kept, IsWindow(handle) && window.getHandle() == handle) << c.operation;
        EXPECT_TRUE(contains(log, L"A:windowClosing")) << c.operation;
        EXPECT_EQ(!c.kept, contains(log, L"A:windowClosed")) << c.operation;
        window.setVisible(true);
        EXPECT_TRUE(!c.kept || window.getHandle() == handle) << c.operation;
        EXPECT_TRUE(IsWindowVisible(window.getHandle())) << c.operation;
    }
}

TEST(WindowLoops, CloseQuitEndsOnlyTheInnermostLoop) {
    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    TestWindow window;
    window.setDefaultCloseOperation(Window::CLOSE_QUIT);
    window.setVisible(true);
    int nested = -1;
    ui_test::CallRunnable modal([&] {
        PostMessageW(window.getHandle(), WM_CLOSE, 0, 0);
        nested = toolkit->runModal(&window);
        toolkit->postQuit(7);
    });
    toolkit->invokeLater(&modal);
    ui_test::LoopWatchdog watchdog;
    EXPECT_EQ(7, toolkit->run());
    EXPECT_EQ(0, nested);
    EXPECT_TRUE(window.isVisible());
}

TEST(WindowAccelerators, WorkOnlyWhileTheWindowIsActiveAndTakeTheKeyBeforeTheFocusedControl) {
    Log log;
    LoggingListener editListener(log, L"edit");
    LoggingListener enter(log, L"enter", true);
    TestWindow window;
    window.setBounds(100, 100, 300, 150);
    ui_test::Control* const edit = ui_test::newEdit();
    edit->setBounds(10, 10, 100, 24);
    window.add(edit);
    edit->addKeyListener(&editListener);
    window.addKeyAccelerator(awt::KeyStroke{VK_RETURN, 0, false}, &enter);
    window.setVisible(true);
    ASSERT_TRUE(pumpToolkitUntil([&] { return GetFocus() == edit->getHandle(); }));
    // Posts Enter to the edit and returns what the accelerator and the edit saw of it.
    const auto pressEnter = [&] {
        log.clear();
        PostMessageW(edit->getHandle(), WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(pumpToolkitUntil([&] { return !log.empty(); }));
        const ULONGLONG until = GetTickCount64() + 50;
        pumpToolkitUntil([&] { return GetTickCount64() >= until; });
        return log;
    };
    TestWindow other;
    other.setBounds(500, 100, 200, 150);
    other.setVisible(true);
    ASSERT_TRUE(pumpToolkitUntil([&] { return GetActiveWindow() == other.getHandle(); }));
    EXPECT_EQ((Log{L"edit:keyPressed 13 0", L"edit:keyTyped 13 0"}), pressEnter());

    window.toFront();
    ASSERT_TRUE(pumpToolkitUntil([&] { return GetActiveWindow() == window.getHandle(); }));
    EXPECT_EQ((Log{L"enter:keyPressed 13 0"}), pressEnter());
}

TEST(OwnedWindows, AreDeletedLastConstructedFirstAndOneDeletedEarlyLeavesTheList) {
    Log deleted;
    const auto record = [&deleted](const wchar_t* name) {
        return [&deleted, name](TestWindow*) { deleted.push_back(name); };
    };
    auto owner = std::make_unique<TestWindow>();
    // Owned by owner.
    TestWindow* const first = new TestWindow(owner.get(), record(L"first"));
    TestWindow* const second = new TestWindow(owner.get(), record(L"second"));
    TestWindow* const third = new TestWindow(owner.get(), record(L"third"));
    EXPECT_EQ((std::vector<Window*>{first, second, third}), owner->getOwnedWindows());

    delete second;
    EXPECT_EQ((std::vector<Window*>{first, third}), owner->getOwnedWindows());
    owner.reset();
    EXPECT_EQ((Log{L"second", L"third", L"first"}), deleted);
}

TEST(WindowCenter, CentresOnTheOwnerTruncatingTowardZeroOrInTheWorkArea) {
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    struct Case {
        awt::Rectangle owner;  // empty: no owner
        awt::Dimension size;
        awt::Point expected;
    };
    const int x = work.left + (work.right - work.left - 301) / 2;
    const int y = work.top + (work.bottom - work.top - 201) / 2;
    for (const Case c : {Case{{0, 0, 200, 100}, {101, 51}, {49, 24}}, Case{{10, 20, 100, 100}, {103, 105}, {9, 18}},
                         Case{{0, 0, 0, 0}, {301, 201}, {x, y}}}) {
        TestWindow owner;
        owner.setBounds(c.owner.x, c.owner.y, c.owner.width, c.owner.height);
        TestWindow* const window = c.owner.width > 0 ? new TestWindow(&owner) : &owner;  // owned by owner
        window->setSize(c.size.width, c.size.height);
        window->center();
        EXPECT_EQ(c.expected, window->getLocation());
    }
}

}  // namespace
