#include "awt/LayoutManager.h"

#include "awt/Container.h"

#include <new>
#include <type_traits>

namespace awt {

namespace {

// Storage for the shared null layout; the object is built in place and its destructor never runs.
std::aligned_storage_t<sizeof(NullLayout), alignof(NullLayout)> sharedNullLayoutStorage;

// Builds the shared instance during static initialisation even if nothing asks for it then.
NullLayout* const sharedNullLayoutAtStartup = NullLayout::getSharedInstance();

}  // namespace

NullLayout* NullLayout::getSharedInstance() {
    // Construct-on-first-use also serves containers built by other files' static initialisers.
    static NullLayout* const instance = new (&sharedNullLayoutStorage) NullLayout();
    return instance;
}

void NullLayout::addLayoutComponent(Component*, const Constraints*) {}

void NullLayout::removeLayoutComponent(Component*) {}

Dimension NullLayout::preferredLayoutSize(Container* parent) {
    const Insets insets = parent->getInsets();
    return Dimension{insets.left + insets.right, insets.top + insets.bottom};
}

void NullLayout::layoutContainer(Container*) {}

}  // namespace awt
