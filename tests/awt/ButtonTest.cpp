// Button: click notification to every action listener.
#include <gtest/gtest.h>

#include <windows.h>

#include "WidgetTestSupport.h"
#include "awt/Button.h"
#include "awt/Toolkit.h"

namespace {

using widget_test::Log;
using widget_test::Recorder;

class ButtonWindow : public widget_test::WidgetWindow {
protected:
    Recorder first{log, L"first"};
    Recorder second{log, L"second", true};
    Recorder third{log, L"third"};
};

TEST_F(ButtonWindow, ClickReachesEveryActionListenerNewestFirstEvenWhenOneConsumes) {
    awt::Button* const button = show(new awt::Button(1));
    button->addActionListener(&first);
    button->addActionListener(&second);
    button->addActionListener(&third);
    button->addActionListener(&first);  // already there: not added again

    SendMessageW(button->getHandle(), BM_CLICK, 0, 0);
    awt::Toolkit::rethrowParked();

    EXPECT_EQ((Log{L"third:action", L"second:action", L"first:action"}), log);
}

TEST_F(ButtonWindow, OtherNotificationsFireNothingAndGoOnToTheDefault) {
    awt::Button* const button = show(new awt::Button(1));
    button->addActionListener(&first);
    bool handled = false;

    EXPECT_EQ(0, button->handleCommand(BN_SETFOCUS, MAKEWPARAM(0, BN_SETFOCUS), &handled));
    EXPECT_FALSE(handled);
    SendMessageW(window.getHandle(), WM_COMMAND, MAKEWPARAM(0, BN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(button->getHandle()));

    EXPECT_TRUE(log.empty());
}

}  // namespace
