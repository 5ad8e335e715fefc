// Window: the close operations the program uses, and nested loops.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/ComponentTestSupport.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"

namespace {

using awt::Window;
using ui_test::LoggingListener;
using ui_test::TestWindow;
using Log = std::vector<std::wstring>;

bool contains(const Log& log, const wchar_t* entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

TEST(WindowClose, ByDefaultHidesAndKeepsTheNativeWindow) {
    Log log;
    LoggingListener listener(log, L"A");
    TestWindow window;
    EXPECT_EQ(Window::CLOSE_HIDE, window.getDefaultCloseOperation());
    window.setBounds(100, 100, 200, 150);
    window.addWindowListener(&listener);
    window.setVisible(true);
    const HWND handle = window.getHandle();

    SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);

    EXPECT_FALSE(IsWindowVisible(handle));
    EXPECT_TRUE(contains(log, L"A:windowClosing"));
    EXPECT_FALSE(contains(log, L"A:windowClosed"));
    EXPECT_EQ(handle, window.getHandle());
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
    EXPECT_EQ(7, testing_support::runWatched(toolkit));
    EXPECT_EQ(0, nested);
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
