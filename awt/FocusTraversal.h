#pragma once

namespace awt {

class Component;
class Container;

// The two searches for a keyboard-focus target in a component tree.

// For Tab and Shift+Tab: the next (or previous) tab stop after from that is showing and enabled, searched
// depth-first through from's own subtree, then the siblings after (before) from and each ancestor with
// their subtrees, then from the start (end) of from's top-level window. Null when there is none.
Component* nextFocusTarget(Component* from, bool forward);

// For a container asked to take the focus: its first enabled tab-stop descendant, depth-first in child
// order; visibility plays no part. Null when there is none.
Component* firstTabStop(const Container* container);

}  // namespace awt
