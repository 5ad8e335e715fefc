// Keyboard focus: Tab traversal across containers, wrapping, skipped controls, and the window's memory
// of the focused control.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "ComponentTestSupport.h"
#include "awt/Window.h"

namespace {

using ui_test::Control;
using ui_test::Panel;
using ui_test::pumpToolkitUntil;

// A window with edits: first and second inside a panel, third after the panel.
class TabTraversal : public ::testing::Test {
protected:
    void SetUp() override {
        window.setBounds(100, 100, 400, 200);
        Panel* const panel = new Panel;
        panel->setBounds(0, 0, 400, 100);
        first = ui_test::newEdit();
        first->setBounds(10, 10, 100, 24);
        second = ui_test::newEdit();
        second->setBounds(150, 10, 100, 24);
        panel->add(first);
        panel->add(second);
        third = ui_test::newEdit();
        third->setBounds(10, 120, 100, 24);
        window.add(panel);
        window.add(third);
        window.setVisible(true);
        ASSERT_TRUE(pumpToolkitUntil([this] { return GetFocus() == first->getHandle(); }));
    }

    // Presses and releases Tab in the focused control, as the loop would deliver it.
    void pressTab() {
        const HWND focused = GetFocus();
        SendMessageW(focused, WM_KEYDOWN, VK_TAB, 0);
        SendMessageW(focused, WM_KEYUP, VK_TAB, 0);
    }

    std::unique_ptr<ui_test::TestWindow> windowHolder = std::make_unique<ui_test::TestWindow>();  // fixtures must not throw from ~
    ui_test::TestWindow& window = *windowHolder;
    Control* first = nullptr;
    Control* second = nullptr;
    Control* third = nullptr;
};

TEST_F(TabTraversal, TabMovesToTheNextControlAndOutOfThePanel) {
    pressTab();
    EXPECT_EQ(second->getHandle(), GetFocus());
    pressTab();
    EXPECT_EQ(third->getHandle(), GetFocus());
}

TEST_F(TabTraversal, TabInTheLastControlWrapsToTheFirst) {
    third->requestFocus();
    pressTab();
    EXPECT_EQ(first->getHandle(), GetFocus());
}

TEST_F(TabTraversal, ShiftTabGoesBackwardAndWraps) {
    ui_test::HeldKeys shift{VK_SHIFT};
    pressTab();
    EXPECT_EQ(third->getHandle(), GetFocus());
    pressTab();
    EXPECT_EQ(second->getHandle(), GetFocus());
}

TEST_F(TabTraversal, ControlTabIsLeftAlone) {
    ui_test::HeldKeys control{VK_CONTROL};
    pressTab();
    EXPECT_EQ(first->getHandle(), GetFocus());
}

TEST_F(TabTraversal, DisabledControlIsSkipped) {
    second->setEnabled(false);
    pressTab();
    EXPECT_EQ(third->getHandle(), GetFocus());
}

TEST_F(TabTraversal, ControlWithCoveredTopLeftPixelIsSkipped) {
    POINT corner{0, 0};
    ClientToScreen(second->getHandle(), &corner);
    // An owned popup lies above its owner; a static control would be transparent to hit-testing.
    const HWND cover = CreateWindowExW(WS_EX_NOACTIVATE, ui_test::panelClass(), L"", WS_POPUP, corner.x - 2, corner.y - 2, 10,
                                       10, window.getHandle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, cover);
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(pumpToolkitUntil([&] { return !second->isShowing(); }));
    first->requestFocus();

    pressTab();

    EXPECT_EQ(third->getHandle(), GetFocus());
    DestroyWindow(cover);
}

TEST_F(TabTraversal, TabCharacterNeverReachesTheControl) {
    Control* const multiline = new Control(L"EDIT", WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN);
    multiline->setBounds(150, 120, 100, 60);
    window.add(multiline);

    EXPECT_EQ(0, SendMessageW(multiline->getHandle(), WM_CHAR, L'\t', 0));

    EXPECT_EQ(0, GetWindowTextLengthW(multiline->getHandle()));
    // Without Tab's special treatment the same control takes other characters.
    SendMessageW(multiline->getHandle(), WM_CHAR, L'x', 0);
    EXPECT_EQ(1, GetWindowTextLengthW(multiline->getHandle()));
}

TEST_F(TabTraversal, WindowRemembersTheLastFocusedControl) {
    third->requestFocus();
    EXPECT_EQ(third, window.getLastFocused());

    // Focus given to the window itself goes on to that control.
    SetFocus(window.getHandle());
    EXPECT_EQ(third->getHandle(), GetFocus());
}

TEST_F(TabTraversal, WindowForgetsAFocusedControlThatLeavesTheTree) {
    third->requestFocus();
    window.remove(window.indexOf(third), third);
    const std::unique_ptr<Control> removed(third);
    EXPECT_EQ(nullptr, window.getLastFocused());
}

}  // namespace
