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

}  // namespace
