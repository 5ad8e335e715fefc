#include "awt/ListenerList.h"

#include <algorithm>
#include <cwchar>

#include "klib/Exception.h"

namespace awt {

void ListenerList::add(const wchar_t* tag, EventListener* listener) {
    klib::checkNotNull(L"listener", listener);
    if (!contains(tag, listener)) {
        entries.push_back(Entry{tag, listener});
    }
}

void ListenerList::remove(const wchar_t* tag, EventListener* listener) {
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const Entry& e) { return e.listener == listener && sameTag(e.tag, tag); }),
                  entries.end());
}

bool ListenerList::contains(const wchar_t* tag, const EventListener* listener) const noexcept {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const Entry& e) { return e.listener == listener && sameTag(e.tag, tag); });
}

bool ListenerList::sameTag(const wchar_t* a, const wchar_t* b) noexcept {
    return a == b || std::wcscmp(a, b) == 0;
}

}  // namespace awt
