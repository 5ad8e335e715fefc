// Window: close operations and nested loops.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ComponentTestSupport.h"
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

}  // namespace
