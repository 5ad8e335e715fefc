#pragma once

#include <cstddef>
#include <vector>

#include "awt/Listeners.h"

namespace awt {

// One list of (tag, listener) entries for listeners of every kind; the tag names the kind. Listeners are
// not owned. A listener being notified may add or remove listeners, itself included.
class ListenerList {
public:
    // Adding an entry that is already there does nothing. Throws klib::NullPointerException "listener".
    void add(const wchar_t* tag, EventListener* listener);
    // Removes every entry with this tag and listener.
    void remove(const wchar_t* tag, EventListener* listener);
    bool contains(const wchar_t* tag, const EventListener* listener) const noexcept;

    // Calls operation on every listener of kind L, the most recently added first, whatever the consumed
    // flag says. Walks a snapshot taken before the first call: listeners added meanwhile wait for the next
    // event, and one removed meanwhile is skipped.
    template <typename L, typename E>
    void notify(void (L::*operation)(E&), E& event) {
        std::vector<EventListener*> snapshot;
        for (std::size_t i = entries.size(); i > 0; --i) {
            if (sameTag(entries[i - 1].tag, L::TAG)) {
                snapshot.push_back(entries[i - 1].listener);
            }
        }
        for (EventListener* const listener : snapshot) {
            if (contains(L::TAG, listener)) {
                (static_cast<L*>(listener)->*operation)(event);
            }
        }
    }

private:
    struct Entry {
        const wchar_t* tag;
        EventListener* listener;  // not owned
    };

    static bool sameTag(const wchar_t* a, const wchar_t* b) noexcept;

    std::vector<Entry> entries;
};

}  // namespace awt
