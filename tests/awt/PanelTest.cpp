// Panel: its static control's class and styles, and laying out its children once it has its window.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <memory>
#include <string>

#include "ComponentTestSupport.h"
#include "awt/FlowLayout.h"
#include "awt/Label.h"
#include "awt/Panel.h"

namespace {

using ui_test::pumpToolkitUntil;
using ui_test::TestWindow;

class PanelTest : public ::testing::Test {
protected:
    // Sizes the panel once it has its window, as a parent's layout would.
    awt::Panel* show(awt::Panel* panel) {
        window.setBounds(40, 40, 300, 200);
        window.add(panel);
        window.setVisible(true);
        EXPECT_TRUE(pumpToolkitUntil([panel] { return panel->getHandle() != nullptr; }));
        panel->setBounds(5, 5, 200, 50);
        return panel;
    }

    std::unique_ptr<TestWindow> windowHolder = std::make_unique<TestWindow>();  // fixtures must not throw from ~
    TestWindow& window = *windowHolder;
};

TEST_F(PanelTest, IsAStaticControlThatClipsItsChildrenAndIsAControlParent) {
    const HWND control = show(new awt::Panel)->getHandle();
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    std::wstring name(className);
    for (wchar_t& c : name) {
        c = static_cast<wchar_t>(std::towlower(c));
    }

    EXPECT_EQ(L"static", name);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_GROUP | SS_NOTIFY),
              GetWindowLongPtrW(control, GWL_STYLE));
    EXPECT_EQ(WS_EX_CONTROLPARENT | WS_EX_NOPARENTNOTIFY,
              GetWindowLongPtrW(control, GWL_EXSTYLE) & (WS_EX_CONTROLPARENT | WS_EX_NOPARENTNOTIFY));
}

TEST_F(PanelTest, LaysOutItsChildrenWithItsManagerOnceItHasItsWindow) {
    awt::FlowLayout flow(awt::FlowLayout::RIGHT);
    flow.setHgap(6);
    awt::Panel* const panel = new awt::Panel;
    panel->setLayout(&flow);
    awt::Label* const first = new awt::Label(L"first", awt::Label::LEFT);
    awt::Label* const second = new awt::Label(L"second", awt::Label::LEFT);
    panel->add(first);
    panel->add(second);
    show(panel);

    ASSERT_TRUE(pumpToolkitUntil([second] { return second->getWidth() > 0; }));
    const awt::Dimension a = first->getPreferredSize();
    const awt::Dimension b = second->getPreferredSize();
    EXPECT_EQ(200 - b.width, second->getX());
    EXPECT_EQ(200 - b.width - 6 - a.width, first->getX());
    EXPECT_EQ((50 - b.height) / 2, second->getY());
    // The controls are where the components say.
    const RECT r = ui_test::rectInParent(second->getHandle());
    EXPECT_EQ(ui_test::text(RECT{200 - b.width, (50 - b.height) / 2, 200, (50 - b.height) / 2 + b.height}),
              ui_test::text(r));
}

}  // namespace
