// Component: geometry with and without a peer, repaint requests, listener lists, key and mouse dispatch.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ComponentTestSupport.h"
#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/Window.h"
#include "klib/Exception.h"

namespace {

using ui_test::Control;
using ui_test::LoggingListener;
using ui_test::Panel;
using ui_test::pumpToolkitUntil;
using ui_test::TestWindow;

// A shown window at (100, 100), 300 x 200, with nothing painted pending.
class ShownWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window.setBounds(100, 100, 300, 200);
    }

    void show() {
        window.setVisible(true);
        ASSERT_TRUE(pumpToolkitUntil([this] { return IsWindowVisible(window.getHandle()) != FALSE; }));
    }

    // Pumps until no window of the tree has anything left to paint.
    void paintEverything(std::initializer_list<const awt::Component*> components) {
        ASSERT_TRUE(pumpToolkitUntil([&] {
            for (const awt::Component* c : components) {
                if (GetUpdateRect(c->getHandle(), nullptr, FALSE)) {
                    return false;
                }
            }
            return true;
        }));
    }

    std::unique_ptr<TestWindow> windowHolder = std::make_unique<TestWindow>();  // fixtures must not throw from ~
    TestWindow& window = *windowHolder;
};

using ComponentGeometry = ShownWindow;

TEST_F(ComponentGeometry, WithoutPeerOnlyStoresAndTheLaterPeerIsCreatedThere) {
    Control* const c = new Control;
    c->setBounds(10, 20, 50, 30);
    c->setLocation(12, 22);
    c->setSize(55, 33);
    window.add(c);
    EXPECT_EQ(awt::Rectangle({12, 22, 55, 33}), c->getBounds());
    EXPECT_EQ(nullptr, c->getHandle());

    show();

    ASSERT_NE(nullptr, c->getHandle());
    EXPECT_EQ(L"(12,22,67,55)", ui_test::text(ui_test::rectInParent(c->getHandle())));
    RECT outer;
    GetWindowRect(window.getHandle(), &outer);
    EXPECT_EQ(L"(100,100,400,300)", ui_test::text(outer));
}

TEST_F(ComponentGeometry, WithPeerMovesAndResizesTheNativeWindow) {
    Control* const c = new Control;
    window.add(c);
    show();

    c->setBounds(30, 40, 70, 25);
    EXPECT_EQ(L"(30,40,100,65)", ui_test::text(ui_test::rectInParent(c->getHandle())));
    c->setLocation(5, 6);
    EXPECT_EQ(L"(5,6,75,31)", ui_test::text(ui_test::rectInParent(c->getHandle())));
    c->setSize(20, 10);
    EXPECT_EQ(L"(5,6,25,16)", ui_test::text(ui_test::rectInParent(c->getHandle())));
}

TEST_F(ComponentGeometry, ChildLocationsCountFromTheParentsFrameCorner) {
    // A bordered panel's client area starts one pixel inside its frame.
    Panel* const panel = new Panel(WS_BORDER);
    panel->setBounds(10, 10, 200, 150);
    Control* const c = new Control;
    c->setBounds(10, 10, 40, 20);
    panel->add(c);
    window.add(panel);
    show();

    EXPECT_EQ(awt::Point({1, 1}), panel->getClientOffset());
    EXPECT_EQ(L"(9,9,49,29)", ui_test::text(ui_test::rectInParent(c->getHandle())));
    c->setLocation(20, 30);
    EXPECT_EQ(L"(19,29,59,49)", ui_test::text(ui_test::rectInParent(c->getHandle())));
}

TEST_F(ComponentGeometry, FollowsMovesAndResizesMadeBehindItsBack) {
    Control* const c = new Control;
    c->setBounds(10, 10, 40, 20);
    window.add(c);
    show();

    SetWindowPos(c->getHandle(), nullptr, 50, 60, 70, 80, SWP_NOZORDER);

    EXPECT_EQ(awt::Rectangle({50, 60, 70, 80}), c->getBounds());
}

TEST_F(ComponentGeometry, TopLevelLocationIsInScreenCoordinates) {
    show();
    window.setLocation(150, 120);
    RECT outer;
    GetWindowRect(window.getHandle(), &outer);
    EXPECT_EQ(L"(150,120,450,320)", ui_test::text(outer));
    EXPECT_EQ(awt::Point({150, 120}), window.getLocation());
}

TEST_F(ComponentGeometry, SurvivesAnOutsideDestroyAndGetsANewPeer) {
    Control* const c = new Control;
    window.add(c);
    show();

    DestroyWindow(c->getHandle());
    EXPECT_EQ(nullptr, c->getHandle());

    c->addNotify();
    EXPECT_NE(nullptr, c->getHandle());
    EXPECT_EQ(window.getHandle(), GetParent(c->getHandle()));
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
    show();
    paintEverything({&window, panel, left, right});

    panel->repaint(0, 0, 40, 100);

    EXPECT_EQ(L"(0,0,40,100)", ui_test::updateRect(panel->getHandle()));
    EXPECT_EQ(L"(0,0,20,40)", ui_test::updateRect(left->getHandle()));
    EXPECT_EQ(L"none", ui_test::updateRect(right->getHandle()));
    // The idle step paints the queued areas.
    paintEverything({panel, left, right});
}

TEST_F(ComponentRepaint, ShrinkingInBothDimensionsRepaintsTheUncoveredCornerOfTheParent) {
    Panel* const panel = new Panel;
    panel->setBounds(0, 0, 300, 200);
    Control* const c = new Control;
    c->setBounds(10, 10, 50, 40);
    panel->add(c);
    window.add(panel);
    show();
    paintEverything({&window, panel, c});

    c->setSize(30, 20);

    const awt::GdiObject region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(ERROR, GetUpdateRgn(panel->getHandle(), static_cast<HRGN>(region.get()), FALSE));
    EXPECT_TRUE(PtInRegion(static_cast<HRGN>(region.get()), 45, 15));  // right strip
    EXPECT_TRUE(PtInRegion(static_cast<HRGN>(region.get()), 15, 45));  // bottom strip
    EXPECT_TRUE(PtInRegion(static_cast<HRGN>(region.get()), 55, 45));  // the corner
    EXPECT_FALSE(PtInRegion(static_cast<HRGN>(region.get()), 65, 15));  // beyond the old bounds
}

TEST_F(ComponentRepaint, ChildBackgroundColourReachesTheScreen) {
    Control* const c = new Control;
    c->setBounds(20, 20, 60, 40);
    c->setBackground(RGB(0, 128, 255));
    window.add(c);
    show();
    paintEverything({&window, c});

    const HDC dc = GetDC(c->getHandle());
    const COLORREF pixel = GetPixel(dc, 30, 20);
    ReleaseDC(c->getHandle(), dc);
    EXPECT_EQ(RGB(0, 128, 255), pixel);
}

TEST_F(ComponentRepaint, HiddenChildMakesItsParentLayOutAgain) {
    ui_test::RecordingLayout layout;
    Panel* const panel = new Panel;
    panel->setLayout(&layout);
    Control* const c = new Control;
    panel->add(c);
    window.add(panel);
    show();
    // Sized once shown, so the panel lays out (its parent's null layout never resizes it).
    panel->setBounds(0, 0, 300, 200);
    ASSERT_TRUE(pumpToolkitUntil([&] { return layout.layouts > 0; }));
    const int before = layout.layouts;

    c->setVisible(false);

    EXPECT_FALSE(IsWindowVisible(c->getHandle()));
    EXPECT_TRUE(pumpToolkitUntil([&] { return layout.layouts == before + 1; }));
}

class ComponentListeners : public ShownWindow {
protected:
    void SetUp() override {
        ShownWindow::SetUp();
        edit = new Control(L"EDIT", WS_BORDER | ES_AUTOHSCROLL);
        edit->setBounds(10, 10, 120, 24);
        window.add(edit);
        show();
    }

    std::wstring editText() const {
        wchar_t buffer[64] = L"";
        GetWindowTextW(edit->getHandle(), buffer, 64);
        return buffer;
    }

    Control* edit = nullptr;
    std::vector<std::wstring> log;
};

TEST_F(ComponentListeners, MostRecentlyAddedIsNotifiedFirstAndConsumingStopsNobody) {
    LoggingListener a(log, L"A");
    LoggingListener b(log, L"B", true);
    edit->addKeyListener(&a);
    edit->addKeyListener(&b);

    SendMessageW(edit->getHandle(), WM_CHAR, L'x', 0);

    EXPECT_EQ((std::vector<std::wstring>{L"B:keyTyped 120 0", L"A:keyTyped 120 0"}), log);
    // Consumed: the control never saw the character.
    EXPECT_EQ(L"", editText());
}

TEST_F(ComponentListeners, UnconsumedKeyReachesTheControl) {
    LoggingListener a(log, L"A");
    edit->addKeyListener(&a);

    SendMessageW(edit->getHandle(), WM_CHAR, L'x', 0);

    EXPECT_EQ(L"x", editText());
}

TEST_F(ComponentListeners, SameListenerAddedTwiceIsCalledOnce) {
    LoggingListener a(log, L"A");
    edit->addKeyListener(&a);
    edit->addKeyListener(&a);

    SendMessageW(edit->getHandle(), WM_KEYUP, 'Q', 0);

    EXPECT_EQ((std::vector<std::wstring>{L"A:keyReleased 81 0"}), log);
}

TEST_F(ComponentListeners, ListenerOfSeveralKindsGetsOnlyTheKeyOperationForAKey) {
    LoggingListener a(log, L"A");
    edit->addKeyListener(&a);
    edit->addMouseListener(&a);
    edit->addFocusListener(&a);

    SendMessageW(edit->getHandle(), WM_KEYDOWN, 'Q', 0);

    EXPECT_EQ((std::vector<std::wstring>{L"A:keyPressed 81 0"}), log);
}

TEST_F(ComponentListeners, RemovedListenerIsNotCalled) {
    LoggingListener a(log, L"A");
    LoggingListener b(log, L"B");
    edit->addFocusListener(&a);
    edit->addFocusListener(&b);
    edit->removeFocusListener(&b);

    SendMessageW(edit->getHandle(), WM_KILLFOCUS, 0, 0);

    EXPECT_EQ((std::vector<std::wstring>{L"A:focusLost"}), log);
}

TEST_F(ComponentListeners, ModifiersAreReadFromTheKeyboardState) {
    LoggingListener a(log, L"A");
    edit->addKeyListener(&a);
    {
        ui_test::HeldKeys keys{VK_SHIFT, VK_RWIN};
        SendMessageW(edit->getHandle(), WM_KEYDOWN, 'Q', 0);
    }

    EXPECT_EQ((std::vector<std::wstring>{L"A:keyPressed 81 9"}), log);
}

TEST_F(ComponentListeners, FocusListenerFailureReachesTheCallerOfRequestFocus) {
    LoggingListener a(log, L"A");
    a.action = [] { throw klib::IllegalStateException(L"focus listener failed"); };
    edit->addFocusListener(&a);

    try {
        edit->requestFocus();
        FAIL() << "requestFocus() returned normally";
    } catch (const klib::IllegalStateException& e) {
        EXPECT_EQ(L"focus listener failed", e.getMessage());
    }
    edit->removeFocusListener(&a);
}

using ComponentMouse = ComponentListeners;

TEST_F(ComponentMouse, RightDoubleClickIsIdFourButtonTwoClickCountTwoInComponentCoordinates) {
    LoggingListener a(log, L"A");
    edit->addMouseListener(&a);
    const awt::Point offset = edit->getClientOffset();

    SendMessageW(edit->getHandle(), WM_RBUTTONDBLCLK, 0, MAKELPARAM(5, 7));

    const std::wstring at = L"(" + std::to_wstring(5 + offset.x) + L"," + std::to_wstring(7 + offset.y) + L")";
    EXPECT_EQ((std::vector<std::wstring>{L"A:mouseEntered id0 b0 " + at + L" n0",
                                         L"A:mouseDoubleClicked id4 b2 " + at + L" n2"}),
              log);
}

TEST_F(ComponentMouse, MovingOnToAnotherComponentSendsTheFirstItsMouseExited) {
    Control* const other = new Control;
    other->setBounds(200, 10, 40, 20);
    window.add(other);
    LoggingListener a(log, L"A");
    LoggingListener b(log, L"B");
    edit->addMouseListener(&a);
    other->addMouseListener(&b);
    const awt::Point offset = edit->getClientOffset();

    SendMessageW(edit->getHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    SendMessageW(other->getHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));

    // (2, 2) in the other control is (192, 2) from the edit's frame corner.
    EXPECT_EQ((std::vector<std::wstring>{
                  L"A:mouseEntered id0 b0 (" + std::to_wstring(3 + offset.x) + L"," + std::to_wstring(4 + offset.y) +
                      L") n0",
                  L"A:mouseExited id1 b0 (192,2) n0", L"B:mouseEntered id0 b0 (2,2) n0"}),
              log);
    EXPECT_EQ(other, window.getMouseOwner());
}

}  // namespace
