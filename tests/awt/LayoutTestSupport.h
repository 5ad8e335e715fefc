#pragma once

#include <string>

#include "ComponentTestSupport.h"
#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/Geometry.h"
#include "awt/LayoutManager.h"

namespace layout_test {

// Layout arithmetic runs on components without windows: a container of fixed size and insets holding
// stubs of fixed preferred sizes.
using Stub = ui_test::Control;
using Box = ui_test::Panel;

inline Stub* addStub(awt::Container& parent, int width, int height,
                     const awt::LayoutManager::Constraints* constraints = nullptr) {
    Stub* const stub = new Stub(L"STATIC", 0, awt::Dimension{width, height});
    parent.add(stub, constraints);
    return stub;
}

inline Stub* addHiddenStub(awt::Container& parent, int width, int height,
                           const awt::LayoutManager::Constraints* constraints = nullptr) {
    Stub* const stub = addStub(parent, width, height, constraints);
    stub->setVisible(false);
    return stub;
}

// "(x,y,w,h)", so that failures read as rectangles.
inline std::string text(const awt::Rectangle& r) {
    return "(" + std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height) + ")";
}

inline std::string text(const awt::Dimension& d) {
    return std::to_string(d.width) + "x" + std::to_string(d.height);
}

inline std::string boundsOf(const awt::Component* c) {
    return text(c->getBounds());
}

}  // namespace layout_test
