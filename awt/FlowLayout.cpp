#include "awt/FlowLayout.h"

#include <algorithm>
#include <string>
#include <vector>

#include "awt/Component.h"
#include "awt/Container.h"
#include "awt/LayoutGaps.h"
#include "awt/TextMetrics.h"
#include "klib/Exception.h"
#include "klib/Strings.h"

namespace awt {

namespace {

FlowLayout::Alignment checkAlignment(FlowLayout::Alignment alignment) {
    if (alignment != FlowLayout::LEFT && alignment != FlowLayout::RIGHT && alignment != FlowLayout::CENTER) {
        throw klib::IllegalArgumentException(L"alignment: " + klib::toString(static_cast<int>(alignment)));
    }
    return alignment;
}

int defaultHgap() {
    int charWidth = 0;
    int halfCharHeight = 0;
    getDefaultFontUnits(charWidth, halfCharHeight);
    return charWidth;
}

}  // namespace

FlowLayout::FlowLayout(Alignment alignment) : alignment(checkAlignment(alignment)), hgap(defaultHgap()) {}

void FlowLayout::setAlignment(Alignment newAlignment) {
    alignment = checkAlignment(newAlignment);
}

void FlowLayout::setHgap(int gap) {
    hgap = checkGap(L"hgap", gap);
}

void FlowLayout::addLayoutComponent(Component*, const Constraints*) {}

void FlowLayout::removeLayoutComponent(Component*) {}

namespace {

// The visible children of a row with their preferred sizes, the row's width with the gaps between
// them (leading children of width 0 add no gap) and its height.
struct Row {
    struct Placement {
        Component* child;
        Dimension preferred;
    };
    std::vector<Placement> placements;
    int width = 0;
    int height = 0;
};

Row measureRow(Container* parent, int hgap) {
    Row row;
    const int count = parent->getComponentCount();
    for (int i = 0; i < count; ++i) {
        Component* const child = parent->getComponent(i);
        if (!child->isVisible()) {
            continue;
        }
        const Dimension preferred = child->getPreferredSize();
        if (row.width > 0) {
            row.width += hgap;
        }
        row.width += preferred.width;
        row.height = std::max(row.height, preferred.height);
        row.placements.push_back(Row::Placement{child, preferred});
    }
    return row;
}

}  // namespace

Dimension FlowLayout::preferredLayoutSize(Container* parent) {
    const Row row = measureRow(parent, hgap);
    const Insets insets = parent->getInsets();
    return Dimension{row.width + insets.left + insets.right, row.height + insets.top + insets.bottom};
}

void FlowLayout::layoutContainer(Container* parent) {
    const Dimension size = parent->getSize();
    const Insets insets = parent->getInsets();
    const Row row = measureRow(parent, hgap);
    const int total = row.width;

    int x = insets.left;
    if (alignment == RIGHT) {
        x = size.width - insets.right - total;
    } else if (alignment == CENTER) {
        x = insets.left + (size.width - insets.right - insets.left - total) / 2;
    }
    x = std::max(x, insets.left);

    const int available = size.height - insets.top - insets.bottom;
    // Gaps as counted in total: none before a child while the row so far is empty, so the row ends where
    // the alignment expects it.
    int run = 0;
    for (const Row::Placement& p : row.placements) {
        if (run > 0) {
            x += hgap;
            run += hgap;
        }
        p.child->setBounds(x, insets.top + (available - p.preferred.height) / 2, p.preferred.width, p.preferred.height);
        x += p.preferred.width;
        run += p.preferred.width;
    }
}

}  // namespace awt
