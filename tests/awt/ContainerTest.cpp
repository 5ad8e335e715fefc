// Container: adding and its failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/ComponentTestSupport.h"
#include "awt/Container.h"
#include "awt/LayoutManager.h"
#include "klib/Exception.h"

namespace {

using ui_test::messageOf;
using ui_test::Control;
using ui_test::Panel;
using Children = std::vector<awt::Component*>;

Children childrenOf(const awt::Container& c) {
    Children children;
    for (int i = 0; i < c.getComponentCount(); ++i) {
        children.push_back(c.getComponent(i));
    }
    return children;
}

class ContainerAdd : public ::testing::Test {
protected:
    std::unique_ptr<Panel> panelHolder = std::make_unique<Panel>();  // fixtures must not throw from ~
    Panel& panel = *panelHolder;
};

TEST_F(ContainerAdd, RefusesBadChildrenAndIndexesWithExactTextsAndChangesNothing) {
    Control* const first = new Control;
    panel.add(first);
    Panel other;
    Control* const foreign = new Control;
    other.add(foreign);
    ui_test::TestWindow window;

    EXPECT_EQ(L"child", messageOf<klib::NullPointerException>([&] { panel.add(nullptr); }));
    EXPECT_EQ(L"child already added to another container",
              messageOf<klib::IllegalArgumentException>([&] { panel.add(foreign); }));
    EXPECT_EQ(L"can't add top level window", messageOf<klib::IllegalArgumentException>([&] { panel.add(&window); }));
    EXPECT_EQ(L"index: 1 (must be 0<=index<1)",
              messageOf<klib::IndexOutOfBoundsException>([&] { panel.getComponent(1); }));
    EXPECT_EQ(L"layout", messageOf<klib::NullPointerException>([&] { panel.setLayout(nullptr); }));

    EXPECT_EQ(Children{first}, childrenOf(panel));
    EXPECT_EQ(&other, foreign->getParent());
    EXPECT_EQ(awt::NullLayout::getSharedInstance(), panel.getLayout());
}

}  // namespace
