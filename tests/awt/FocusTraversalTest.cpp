// Keyboard focus: Tab traversal across containers, wrapping, skipped controls, and the window's memory
// of the focused control.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "tests/support/ComponentTestSupport.h"
#include "awt/Frame.h"
#include "awt/Window.h"

namespace {

using ui_test::Control;
using ui_test::pumpUntil;

// A window with edits: first and second inside a panel, third after the panel.
class TabTraversal : public ::testing::Test {
protected:
    void SetUp() override {
        window.setBounds(100, 100, 400, 200);
        ui_test::Panel* const panel = new ui_test::Panel;
        panel->setBounds(0, 0, 400, 100);
        first->setBounds(10, 10, 100, 24);
        second->setBounds(150, 10, 100, 24);
        third->setBounds(10, 120, 100, 24);
        panel->add(first);
        panel->add(second);
        window.add(panel);
        window.add(third);
        window.setVisible(true);
        ASSERT_TRUE(pumpUntil([this] { return GetFocus() == first->getHandle(); }));
    }

    // Presses and releases Tab in the focused control and returns the control focused then.
    HWND pressTab() {
        const HWND focused = GetFocus();
        SendMessageW(focused, WM_KEYDOWN, VK_TAB, 0);
        SendMessageW(focused, WM_KEYUP, VK_TAB, 0);
        return GetFocus();
    }

    std::unique_ptr<ui_test::TestWindow> windowHolder = std::make_unique<ui_test::TestWindow>();  // ~ may throw
    ui_test::TestWindow& window = *windowHolder;
    // Owned by the window from SetUp on.
    Control* const first = ui_test::newEdit();
    Control* const second = ui_test::newEdit();
    Control* const third = ui_test::newEdit();
};

TEST_F(TabTraversal, TabGoesForwardAcrossThePanelShiftTabBackwardBothWrapAndDisabledIsSkipped) {
    EXPECT_EQ(second->getHandle(), pressTab());
    EXPECT_EQ(third->getHandle(), pressTab());
    EXPECT_EQ(first->getHandle(), pressTab());
    {
        const ui_test::HeldKeys shift{VK_SHIFT};
        EXPECT_EQ(third->getHandle(), pressTab());
        EXPECT_EQ(second->getHandle(), pressTab());
    }
    third->setEnabled(false);  // a disabled control is skipped
    EXPECT_EQ(first->getHandle(), pressTab());
}

TEST_F(TabTraversal, WindowRemembersTheLastFocusedControlUntilItLeavesTheTree) {
    third->requestFocus();
    EXPECT_EQ(third, window.getLastFocused());
    // Focus given to the window itself goes on to that control.
    SetFocus(window.getHandle());
    EXPECT_EQ(third->getHandle(), GetFocus());

    window.remove(window.indexOf(third), third);
    const std::unique_ptr<Control> removed(third);
    EXPECT_EQ(nullptr, window.getLastFocused());
}

}  // namespace
