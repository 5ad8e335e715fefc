// Container: adding and its failures, ordering, ownership, peers, notification routing, tree listeners,
// and the null layout.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ComponentTestSupport.h"
#include "awt/Container.h"
#include "awt/LayoutManager.h"
#include "klib/Exception.h"

namespace {

using ui_test::Control;
using ui_test::LoggingListener;
using ui_test::Panel;
using ui_test::RecordingLayout;

std::vector<awt::Component*> childrenOf(const awt::Container& c) {
    std::vector<awt::Component*> children;
    for (int i = 0; i < c.getComponentCount(); ++i) {
        children.push_back(c.getComponent(i));
    }
    return children;
}

class ContainerAdd : public ::testing::Test {
protected:
    std::unique_ptr<Panel> panelHolder = std::make_unique<Panel>();  // fixtures must not throw from ~
    Panel& panel = *panelHolder;
    std::vector<std::wstring> log;
};

TEST_F(ContainerAdd, NullChildThrowsWithTheArgumentName) {
    try {
        panel.add(nullptr);
        FAIL() << "no exception";
    } catch (const klib::NullPointerException& e) {
        EXPECT_EQ(L"child", e.getMessage());
        EXPECT_EQ(-1, e.getErrorCode());
    }
}

TEST_F(ContainerAdd, IndexBeyondTheCountThrowsAndChangesNothing) {
    panel.add(new Control);
    auto child = std::make_unique<Control>();
    try {
        panel.add(child.get(), 2, nullptr);
        FAIL() << "no exception";
    } catch (const klib::IndexOutOfBoundsException& e) {
        EXPECT_EQ(L"index: 2 (must be 0<=index<2)", e.getMessage());
    }
    EXPECT_EQ(1, panel.getComponentCount());
    EXPECT_EQ(nullptr, child->getParent());
}

TEST_F(ContainerAdd, IndexEqualToTheCountAppends) {
    Control* const first = new Control;
    Control* const second = new Control;
    panel.add(first);
    panel.add(second, 1, nullptr);
    EXPECT_EQ((std::vector<awt::Component*>{first, second}), childrenOf(panel));
}

TEST_F(ContainerAdd, ChildOfAnotherContainerIsRefused) {
    Panel other;
    Control* const child = new Control;
    other.add(child);
    try {
        panel.add(child);
        FAIL() << "no exception";
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(L"child already added to another container", e.getMessage());
    }
    EXPECT_EQ(&other, child->getParent());
    EXPECT_EQ(0, panel.getComponentCount());
}

TEST_F(ContainerAdd, TopLevelWindowIsRefused) {
    ui_test::TestWindow window;
    try {
        panel.add(&window);
        FAIL() << "no exception";
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(L"can't add top level window", e.getMessage());
    }
    EXPECT_EQ(0, panel.getComponentCount());
}

TEST_F(ContainerAdd, InsertsAtTheGivenIndex) {
    Control* const a = new Control;
    Control* const b = new Control;
    Control* const c = new Control;
    Control* const d = new Control;
    panel.add(a);
    panel.add(b);
    panel.add(c, 0, nullptr);
    panel.add(d, 2, nullptr);
    EXPECT_EQ((std::vector<awt::Component*>{c, a, d, b}), childrenOf(panel));
    EXPECT_EQ(2, panel.indexOf(d));
    EXPECT_EQ(-1, panel.indexOf(&panel));
}

TEST_F(ContainerAdd, SameChildTwiceChangesNothingTheSecondTime) {
    LoggingListener listener(log, L"L");
    panel.addContainerListener(&listener);
    Control* const child = new Control;
    panel.add(child);
    panel.add(child);
    EXPECT_EQ(1, panel.getComponentCount());
    EXPECT_EQ((std::vector<std::wstring>{L"L:componentAdded"}), log);
}

TEST_F(ContainerAdd, HandsTheChildAndItsConstraintsToTheLayout) {
    RecordingLayout layout;
    panel.setLayout(&layout);
    const awt::LayoutManager::Constraints region;
    Control* const child = new Control;
    panel.add(child, &region);
    EXPECT_EQ((std::vector<awt::Component*>{child}), layout.added);
    EXPECT_EQ(&region, layout.lastConstraints);
}

TEST_F(ContainerAdd, GetComponentOutsideTheChildrenThrows) {
    panel.add(new Control);
    try {
        panel.getComponent(1);
        FAIL() << "no exception";
    } catch (const klib::IndexOutOfBoundsException& e) {
        EXPECT_EQ(L"index: 1 (must be 0<=index<1)", e.getMessage());
    }
}

TEST_F(ContainerAdd, RemoveGivesTheChildBackAndTellsLayoutAndListeners) {
    RecordingLayout layout;
    panel.setLayout(&layout);
    LoggingListener listener(log, L"L");
    panel.addContainerListener(&listener);
    auto child = std::make_unique<Control>();
    panel.add(child.get());

    panel.remove(0, child.get());

    EXPECT_EQ(0, panel.getComponentCount());
    EXPECT_EQ(nullptr, child->getParent());
    EXPECT_EQ((std::vector<awt::Component*>{child.get()}), layout.removed);
    EXPECT_EQ((std::vector<std::wstring>{L"L:componentAdded", L"L:componentRemoved"}), log);
}

TEST(ContainerLifetime, DeletesItsChildrenLastFirst) {
    std::vector<std::wstring> deleted;
    auto panel = std::make_unique<Panel>();
    for (const wchar_t* name : {L"a", L"b", L"c"}) {
        Control* const child = new Control;
        child->onDelete = [&deleted, name](Control*) { deleted.push_back(name); };
        panel->add(child);
    }
    panel.reset();
    EXPECT_EQ((std::vector<std::wstring>{L"c", L"b", L"a"}), deleted);
}

class ContainerPeers : public ::testing::Test {
protected:
    void SetUp() override {
        window.setBounds(100, 100, 300, 200);
    }

    std::unique_ptr<ui_test::TestWindow> windowHolder = std::make_unique<ui_test::TestWindow>();
    ui_test::TestWindow& window = *windowHolder;
};

TEST_F(ContainerPeers, ChildrenGetPeersWhenTheContainerGetsItsOwn) {
    Panel* const panel = new Panel;
    Control* const child = new Control;
    panel->add(child);
    window.add(panel);
    EXPECT_EQ(nullptr, child->getHandle());

    window.addNotify();

    ASSERT_NE(nullptr, child->getHandle());
    EXPECT_EQ(panel->getHandle(), GetParent(child->getHandle()));
    EXPECT_EQ(window.getHandle(), GetParent(panel->getHandle()));
}

TEST_F(ContainerPeers, ChildAddedToAContainerWithPeerGetsItsPeerAtOnce) {
    window.addNotify();
    Control* const child = new Control;
    window.add(child);
    ASSERT_NE(nullptr, child->getHandle());
    EXPECT_EQ(window.getHandle(), GetParent(child->getHandle()));
}

TEST_F(ContainerPeers, RemoveNotifyDestroysTheChildrenAndKeepsTheObjects) {
    Control* const child = new Control;
    window.add(child);
    window.addNotify();
    const HWND childWindow = child->getHandle();

    window.removeNotify();

    EXPECT_EQ(nullptr, window.getHandle());
    EXPECT_EQ(nullptr, child->getHandle());
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(1, window.getComponentCount());
}

// A control that answers the notifications its parent routes to it.
class NotifiedControl : public Control {
public:
    LRESULT handleCommand(WORD notifyCode, WPARAM wParam, bool* handled) override {
        commands.push_back(std::to_wstring(notifyCode) + L"/" + std::to_wstring(LOWORD(wParam)));
        *handled = true;
        return 42;
    }

    std::vector<std::wstring> commands;
};

TEST_F(ContainerPeers, CommandFromAChildControlReachesThatChild) {
    NotifiedControl* const child = new NotifiedControl;
    window.add(child);
    window.addNotify();

    const LRESULT result = SendMessageW(window.getHandle(), WM_COMMAND, MAKEWPARAM(7, BN_CLICKED),
                                        reinterpret_cast<LPARAM>(child->getHandle()));

    EXPECT_EQ(42, result);
    EXPECT_EQ((std::vector<std::wstring>{L"0/7"}), child->commands);
}

TEST_F(ContainerPeers, ControlColourOfAChildWithBackgroundIsItsBrush) {
    Control* const child = new Control;
    child->setBackground(RGB(1, 2, 3));
    child->setForeground(RGB(4, 5, 6));
    window.add(child);
    window.addNotify();
    const HDC dc = GetDC(child->getHandle());

    const LRESULT brush =
        SendMessageW(window.getHandle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child->getHandle()));

    LOGBRUSH info{};
    ASSERT_NE(0, GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof info, &info));
    EXPECT_EQ(RGB(1, 2, 3), info.lbColor);
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(dc));
    EXPECT_EQ(RGB(4, 5, 6), GetTextColor(dc));
    ReleaseDC(child->getHandle(), dc);
}

TEST_F(ContainerPeers, ControlColourWithSystemColoursIsLeftToTheDefault) {
    Control* const child = new Control;
    window.add(child);
    window.addNotify();
    bool handled = false;

    EXPECT_EQ(0, child->handleControlColor(WM_CTLCOLORSTATIC, nullptr, &handled));
    EXPECT_FALSE(handled);
}

// Records the order in which components enter and leave the tree.
class TreeRecorder : public awt::RecursiveListener {
public:
    void attach(awt::Component* c) override { attached.push_back(c); }
    void detach(awt::Component* c) override { detached.push_back(c); }

    std::vector<awt::Component*> attached;
    std::vector<awt::Component*> detached;
};

TEST(RecursiveListener, AttachesDepthFirstAndFollowsLaterAdditionsOnce) {
    Panel root;
    Panel* const outer = new Panel;
    Control* const first = new Control;
    Panel* const inner = new Panel;
    Control* const second = new Control;
    Control* const last = new Control;
    inner->add(second);
    outer->add(first);
    outer->add(inner);
    root.add(outer);
    root.add(last);
    TreeRecorder recorder;

    recorder.attachTree(&root);
    EXPECT_EQ((std::vector<awt::Component*>{&root, outer, first, inner, second, last}), recorder.attached);

    Control* const later = new Control;
    inner->add(later);
    EXPECT_EQ(later, recorder.attached.back());
    EXPECT_EQ(7u, recorder.attached.size());

    recorder.detachTree(&root);
    EXPECT_EQ((std::vector<awt::Component*>{&root, outer, first, inner, second, later, last}), recorder.detached);
    inner->add(new Control);
    EXPECT_EQ(7u, recorder.attached.size());
}

TEST(NullLayout, PrefersTheSumOfTheInsets) {
    Panel plain;
    Panel framed(0, awt::Insets{1, 2, 3, 4});
    EXPECT_EQ(awt::Dimension({0, 0}), plain.getPreferredSize());
    EXPECT_EQ(awt::Dimension({6, 4}), framed.getPreferredSize());
}

TEST(NullLayout, IsTheSharedDefaultOfEveryContainer) {
    Panel a;
    Panel b;
    EXPECT_EQ(awt::NullLayout::getSharedInstance(), a.getLayout());
    EXPECT_EQ(a.getLayout(), b.getLayout());
}

TEST(NullLayout, KeepsTheBoundsGivenByHand) {
    ui_test::TestWindow window;
    window.setBounds(100, 100, 300, 200);
    Control* const child = new Control;
    child->setBounds(7, 8, 9, 10);
    window.add(child);
    window.setVisible(true);
    window.validate();
    EXPECT_EQ(awt::Rectangle({7, 8, 9, 10}), child->getBounds());
}

TEST(ContainerLayout, NullManagerIsRefused) {
    Panel panel;
    try {
        panel.setLayout(nullptr);
        FAIL() << "no exception";
    } catch (const klib::NullPointerException& e) {
        EXPECT_EQ(L"layout", e.getMessage());
    }
    EXPECT_EQ(awt::NullLayout::getSharedInstance(), panel.getLayout());
}

TEST(ContainerLayout, SettingTheSameManagerAgainDoesNotLayOutAgain) {
    ui_test::TestWindow window;
    window.setBounds(100, 100, 300, 200);
    RecordingLayout layout;
    window.setLayout(&layout);
    window.setVisible(true);
    ASSERT_TRUE(ui_test::pumpToolkitUntil([&] { return layout.layouts > 0; }));
    ui_test::settle();
    const int before = layout.layouts;

    window.setLayout(&layout);
    ui_test::settle();
    EXPECT_EQ(before, layout.layouts);

    RecordingLayout other;
    window.setLayout(&other);
    EXPECT_TRUE(ui_test::pumpToolkitUntil([&] { return other.layouts == 1; }));
    EXPECT_EQ(awt::Dimension({300, 200}), other.lastSize);
}

}  // namespace
