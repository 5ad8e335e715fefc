// Component: geometry of the native window, repaint requests, listener order and consumption.
#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/ComponentTestSupport.h"
#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/Window.h"

namespace {

using ui_test::Control;
using ui_test::LoggingListener;
using ui_test::Panel;
using ui_test::pumpUntil;
using ui_test::rectInParent;
using ui_test::text;
using Log = std::vector<std::wstring>;

// A window at (100, 100), 300 x 200, shown by show().
class ShownWindow : public ::testing::Test {
protected:
    void SetUp() override { window.setBounds(100, 100, 300, 200); }

    // Shows the window and pumps until nothing of it is left to paint.
    void show(std::initializer_list<const awt::Component*> components = {}) {
        window.setVisible(true);
        ASSERT_TRUE(pumpUntil([&] {
            for (const awt::Component* c : components) {
                if (GetUpdateRect(c->getHandle(), nullptr, FALSE)) {
                    return false;
                }
            }
            return IsWindowVisible(window.getHandle()) && !GetUpdateRect(window.getHandle(), nullptr, FALSE);
        }));
    }

    std::unique_ptr<ui_test::TestWindow> windowHolder = std::make_unique<ui_test::TestWindow>();  // ~ may throw
    ui_test::TestWindow& window = *windowHolder;
};

using ComponentGeometry = ShownWindow;

TEST_F(ComponentGeometry, WithPeerMovesTheNativeWindowRelativeToTheParentsFrameCorner) {
    // A bordered panel's client area starts one pixel inside its frame.
    Panel* const panel = new Panel(WS_BORDER);
    panel->setBounds(10, 10, 200, 150);
    Control* const c = new Control;
    panel->add(c);
    window.add(panel);
    show();

    c->setBounds(30, 40, 70, 25);
    EXPECT_EQ(L"(29,39,99,64)", text(rectInParent(c->getHandle())));
    c->setLocation(5, 6);
    EXPECT_EQ(L"(4,5,74,30)", text(rectInParent(c->getHandle())));
    c->setSize(20, 10);
    EXPECT_EQ(L"(4,5,24,15)", text(rectInParent(c->getHandle())));
}

using ComponentRepaint = ShownWindow;

TEST_F(ComponentRepaint, ContainerAreaOverHalfAChildRepaintsThatHalfInTheChildsCoordinates) {
    Panel* const panel = new Panel;
    panel->setBounds(0, 0, 300, 200);
    Control* const left = new Control;
    left->setBounds(20, 20, 40, 40);
    Control* const right = new Control;
    right->setBounds(200, 20, 40, 40);
    panel->add(left);
    panel->add(right);
    window.add(panel);
    show({panel, left, right});

    panel->repaint(0, 0, 40, 100);

    EXPECT_EQ(L"(0,0,40,100)", ui_test::updateRect(panel->getHandle()));
    EXPECT_EQ(L"(0,0,20,40)", ui_test::updateRect(left->getHandle()));
    EXPECT_EQ(L"none", ui_test::updateRect(right->getHandle()));
}

// A shown window with a focusable edit.
class ComponentListeners : public ShownWindow {
protected:
    void SetUp() override {
        ShownWindow::SetUp();
        edit->setBounds(10, 10, 120, 24);
        window.add(edit);
        show();
    }

    Control* const edit = new Control(L"EDIT", WS_BORDER | ES_AUTOHSCROLL);  // owned by window from SetUp
    Log log;
};

TEST_F(ComponentListeners, LatestAddedIsNotifiedFirstOnceEachAndConsumingStopsOnlyTheControl) {
    LoggingListener a(log, L"A"), b(log, L"B"), removed(log, L"R");
    for (LoggingListener* listener : {&a, &a, &removed, &b}) edit->addKeyListener(listener);
    edit->removeKeyListener(&removed);

    SendMessageW(edit->getHandle(), WM_CHAR, L'x', 0);
    EXPECT_EQ((Log{L"B:keyTyped 120 0", L"A:keyTyped 120 0"}), log);
    EXPECT_EQ(1, GetWindowTextLengthW(edit->getHandle()));

    LoggingListener consuming(log, L"C", true);
    edit->addKeyListener(&consuming);
    log.clear();
    SendMessageW(edit->getHandle(), WM_CHAR, L'y', 0);
    EXPECT_EQ((Log{L"C:keyTyped 121 0", L"B:keyTyped 121 0", L"A:keyTyped 121 0"}), log);
    EXPECT_EQ(1, GetWindowTextLengthW(edit->getHandle())) << "the control never saw the consumed character";
}

TEST_F(ComponentListeners, AListenerRemovedOrAddedDuringANotificationIsSkippedAndEveryOtherHearsItOnce) {
    LoggingListener a(log, L"A"), b(log, L"B"), c(log, L"C"), added(log, L"N");
    for (LoggingListener* listener : {&a, &b, &c}) edit->addKeyListener(listener);
    c.action = [&] {
        edit->removeKeyListener(&a);
        edit->addKeyListener(&added);
    };
    SendMessageW(edit->getHandle(), WM_CHAR, L'x', 0);
    EXPECT_EQ((Log{L"C:keyTyped 120 0", L"B:keyTyped 120 0"}), log);
    c.action = nullptr;
    edit->removeKeyListener(&added);
}

}  // namespace
