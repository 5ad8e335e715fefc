// Button: click notification to every action listener.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/ComponentTestSupport.h"
#include "awt/Button.h"
#include "awt/Toolkit.h"

namespace {

using ui_test::Log;
using ui_test::LoggingListener;

class ButtonWindow : public ui_test::WidgetWindow {
protected:
    ui_test::LoggingListener first{log, L"first"};
    ui_test::LoggingListener second{log, L"second", true};
    ui_test::LoggingListener third{log, L"third"};
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

}  // namespace
