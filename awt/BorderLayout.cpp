#include "awt/BorderLayout.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "awt/Component.h"
#include "awt/Container.h"
#include "klib/Exception.h"
#include "klib/Strings.h"

namespace awt {

// Defined in this order: north, south, east, west, centre.
const LayoutManager::Constraints BorderLayout::NORTH{};
const LayoutManager::Constraints BorderLayout::SOUTH{};
const LayoutManager::Constraints BorderLayout::EAST{};
const LayoutManager::Constraints BorderLayout::WEST{};
const LayoutManager::Constraints BorderLayout::CENTER{};

namespace {

// An empty or invisible region takes no space.
Dimension regionSize(Component* child) {
    if (child == nullptr || !child->isVisible()) {
        return Dimension{0, 0};
    }
    return child->getPreferredSize();
}

bool isPlaced(const Component* child) {
    return child != nullptr && child->isVisible();
}

}  // namespace

void BorderLayout::addLayoutComponent(Component* child, const Constraints* constraints) {
    if (constraints == &NORTH) {
        north = child;
    } else if (constraints == &SOUTH) {
        south = child;
    } else if (constraints == &EAST) {
        east = child;
    } else if (constraints == &WEST) {
        west = child;
    } else if (constraints == &CENTER) {
        center = child;
    } else {
        throw klib::IllegalArgumentException(L"constraints");
    }
}

void BorderLayout::removeLayoutComponent(Component* child) {
    for (Component** region : {&north, &south, &east, &west, &center}) {
        if (*region == child) {
            *region = nullptr;
            return;
        }
    }
}

Dimension BorderLayout::preferredLayoutSize(Container* parent) {
    const Dimension n = regionSize(north);
    const Dimension s = regionSize(south);
    const Dimension e = regionSize(east);
    const Dimension w = regionSize(west);
    const Dimension m = regionSize(center);

    int width = std::max(std::max(n.width, s.width), w.width + m.width + e.width);
    // The gaps between the columns count even when a band is the widest part.
    const int columns = (w.width > 0 ? 1 : 0) + (m.width > 0 ? 1 : 0) + (e.width > 0 ? 1 : 0);
    if (columns >= 2) {
        width += (columns - 1) * hgap;
    }
    int height = std::max(std::max(w.height, m.height), e.height) + n.height + s.height;
    const int bands = (w.height + m.height + e.height > 0 ? 1 : 0) + (n.height > 0 ? 1 : 0) + (s.height > 0 ? 1 : 0);
    if (bands >= 2) {
        height += (bands - 1) * vgap;
    }
    const Insets insets = parent->getInsets();
    return Dimension{width + insets.left + insets.right, height + insets.top + insets.bottom};
}

void BorderLayout::layoutContainer(Container* parent) {
    const Dimension size = parent->getSize();
    const Insets insets = parent->getInsets();
    int top = insets.top;
    int left = insets.left;
    int right = size.width - insets.right;
    int bottom = size.height - insets.bottom;

    if (isPlaced(north)) {
        const int h = north->getPreferredSize().height;
        north->setBounds(left, top, right - left, h);
        top += h + vgap;
    }
    if (isPlaced(south)) {
        const int h = south->getPreferredSize().height;
        south->setBounds(left, bottom - h, right - left, h);
        bottom -= h + vgap;
    }
    if (isPlaced(west)) {
        const int w = west->getPreferredSize().width;
        west->setBounds(left, top, w, bottom - top);
        left += w + hgap;
    }
    if (isPlaced(east)) {
        const int w = east->getPreferredSize().width;
        east->setBounds(right - w, top, w, bottom - top);
        right -= w + hgap;
    }
    if (isPlaced(center)) {
        center->setBounds(left, top, right - left, bottom - top);
    }
}

}  // namespace awt
