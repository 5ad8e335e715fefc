#include "awt/Choice.h"

#include <commctrl.h>

#include <algorithm>

#include "awt/AWTException.h"
#include "awt/Toolkit.h"
#include "awt/WidgetMetrics.h"
#include "klib/Exception.h"

namespace awt {

Choice::Choice() : selected(-1), preferredSize{-1, -1} {}

const wchar_t* Choice::getClassName() const {
    return L"COMBOBOX";
}

DWORD Choice::getStyle() const {
    return Component::getStyle() | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
}

void Choice::initWindow() {
    Component::initWindow();
    for (const std::wstring& item : items) {
        if (sendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())) < 0) {
            throwLastError(L"::SendMessage", L"CB_ADDSTRING");
        }
    }
    sendMessage(CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    // The control chose its field's height for the font, before it was bound to tell us.
    RECT field{};
    getWindowRect(&field);
    height = field.bottom - field.top;
    sizeDroppedList();
}

void Choice::removeNotify() {
    if (handle != nullptr) {
        const LRESULT current = sendMessage(CB_GETCURSEL, 0, 0);
        if (current >= 0 && current < getItemCount()) selected = static_cast<int>(current);
    }
    Component::removeNotify();
}

LRESULT Choice::handleCommand(WORD notifyCode, WPARAM wParam, bool* handled) {
    // Escape in an open list puts the old selection back, on some systems without a CBN_SELCHANGE.
    if (notifyCode != CBN_SELCHANGE && notifyCode != CBN_CLOSEUP) {
        return Component::handleCommand(notifyCode, wParam, handled);
    }
    selectionChanged();
    *handled = true;
    return 0;
}

void Choice::selectionChanged() {
    const LRESULT current = sendMessage(CB_GETCURSEL, 0, 0);
    if (current < 0 || current >= getItemCount() || current == selected) {
        return;
    }
    selected = static_cast<int>(current);
    ItemEvent event{static_cast<Component*>(this), false, selected};
    notifyListeners(&ItemListener::itemStateChanged, event);
}

Dimension Choice::getPreferredSize() {
    if (preferredSize.width != -1) {
        return preferredSize;
    }
    TEXTMETRICW metrics{};
    bool keep = measureControlText(*this, std::wstring(), nullptr, &metrics);
    int widest = 0;
    for (const std::wstring& item : items) {
        SIZE extent{0, 0};
        keep = measureControlText(*this, item, &extent, nullptr) && keep;
        widest = std::max(widest, static_cast<int>(extent.cx));
    }
    // Room for the text's margins inside the field, the edges and the drop-down button.
    Dimension measured{widest + 2 * metrics.tmAveCharWidth + 2 * GetSystemMetrics(SM_CXEDGE) +
                           GetSystemMetrics(SM_CXVSCROLL),
                       metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE) + 4};
    if (handle != nullptr) {
        // The control sets its field's height itself; anything else would be overridden.
        RECT field{};
        getWindowRect(&field);
        measured.height = field.bottom - field.top;
    }
    if (keep) {
        preferredSize = measured;
    }
    return measured;
}

void Choice::fontChanged() {
    preferredSize.width = -1;
    // The list's rows take the new font's height.
    sizeDroppedList();
}

void Choice::setSize(int newWidth, int newHeight) {
    const int oldWidth = width;
    Component::setSize(newWidth, handle != nullptr ? height : newHeight);
    if (width != oldWidth) sizeDroppedList();
}

void Choice::setBounds(int newX, int newY, int newWidth, int newHeight) {
    const int oldWidth = width;
    Component::setBounds(newX, newY, newWidth, handle != nullptr ? height : newHeight);
    if (width != oldWidth) sizeDroppedList();
}

void Choice::sizeDroppedList() {
    if (handle == nullptr) {
        return;
    }
    const LRESULT itemHeight = sendMessage(CB_GETITEMHEIGHT, 0, 0);
    const int rows = std::max(1, std::min(getItemCount(), VISIBLE_ROWS));
    const int listHeight = rows * static_cast<int>(itemHeight > 0 ? itemHeight : 0) + 2 * GetSystemMetrics(SM_CYEDGE);
    // Common Controls 6 counts rows rather than pixels; the older control ignores this message.
    sendMessage(CB_SETMINVISIBLE, static_cast<WPARAM>(rows), 0);
    // The control keeps the height beyond its field for the list and shrinks back to the field.
    setWindowPos(nullptr, 0, 0, width, height + listHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void Choice::add(const std::wstring& item) {
    if (handle != nullptr && sendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())) < 0) {
        throwLastError(L"::SendMessage", L"CB_ADDSTRING");
    }
    items.push_back(item);
    preferredSize.width = -1;
    if (selected == -1) {
        select(0);
    }
    if (getItemCount() <= VISIBLE_ROWS) {
        sizeDroppedList();
    }
    invalidate();
}

const std::wstring& Choice::getItem(int index) const {
    klib::checkIndex(L"index", 0, getItemCount(), index);
    return items[static_cast<std::size_t>(index)];
}

void Choice::select(int index) {
    klib::checkIndex(L"index", 0, getItemCount(), index);
    selected = index;
    if (handle != nullptr) {
        sendMessage(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

bool Choice::isDropped() const {
    return handle != nullptr && sendMessage(CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void Choice::addItemListener(ItemListener* listener) {
    addListener(ItemListener::TAG, listener);
}

void Choice::removeItemListener(ItemListener* listener) {
    removeListener(ItemListener::TAG, listener);
}

}  // namespace awt
