#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "ComponentTestSupport.h"
#include "awt/Component.h"
#include "awt/Geometry.h"
#include "awt/LayoutManager.h"
#include "klib/Exception.h"

namespace layout_test {

using Stub = ui_test::Control;

// Layout arithmetic runs on components without windows: a box of fixed size and insets holding stubs of
// fixed preferred sizes.
template <typename Layout>
class LayoutTest : public ::testing::Test {
protected:
    template <typename... Args>
    explicit LayoutTest(Args&&... args) : layout(std::forward<Args>(args)...) {
        useBox(awt::Insets{0, 0, 0, 0});
    }

    void useBox(awt::Insets insets) {
        box = std::make_unique<ui_test::Panel>(0, insets);
        box->setLayout(&layout);
    }
    Stub* add(int width, int height, const awt::LayoutManager::Constraints* constraints = nullptr) {
        Stub* const stub = new Stub(L"STATIC", 0, awt::Dimension{width, height});  // owned by the box
        box->add(stub, constraints);
        return stub;
    }
    std::string preferred() {
        const awt::Dimension d = box->getPreferredSize();
        return std::to_string(d.width) + "x" + std::to_string(d.height);
    }
    void layOut(int width, int height) {
        box->setSize(width, height);
        layout.layoutContainer(box.get());
    }
    // The bounds of every child in order, "(x,y,w,h)" each, so that failures read as rectangles.
    std::string allBounds() const {
        std::string bounds;
        for (int i = 0; i < box->getComponentCount(); ++i) {
            const awt::Rectangle r = box->getComponent(i)->getBounds();
            bounds += "(" + std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
                      std::to_string(r.height) + ")";
        }
        return bounds;
    }

    Layout layout;
    std::unique_ptr<ui_test::Panel> box;
};

// The message of the IllegalArgumentException (code -1) that action throws, or "no exception".
template <typename Action>
std::wstring refusal(Action action) {
    try {
        action();
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(-1, e.getErrorCode());
        return e.getMessage();
    }
    return L"no exception";
}

}  // namespace layout_test
