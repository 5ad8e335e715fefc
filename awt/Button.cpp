#include "awt/Button.h"

#include "awt/Toolkit.h"
#include "awt/WidgetMetrics.h"
#include "klib/Strings.h"

namespace awt {

Button::Button(int stringId) : text(Toolkit::loadString(static_cast<UINT>(stringId))), preferredSize{-1, 0} {}

const wchar_t* Button::getClassName() const {
    return L"BUTTON";
}

const wchar_t* Button::getWindowText() const {
    return klib::cstrOrNull(text);
}

DWORD Button::getStyle() const {
    return Component::getStyle() | WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_PUSHBUTTON;
}

LRESULT Button::handleCommand(WORD notifyCode, WPARAM wParam, bool* handled) {
    if (notifyCode != BN_CLICKED) {
        return Component::handleCommand(notifyCode, wParam, handled);
    }
    ActionEvent event{static_cast<Component*>(this), false};
    notifyListeners(&ActionListener::actionPerformed, event);
    *handled = true;
    return 0;
}

Dimension Button::getPreferredSize() {
    if (preferredSize.width != -1) {
        return preferredSize;
    }
    SIZE extent{0, 0};
    TEXTMETRICW metrics{};
    // A missing caption is shown as none, so it measures as an empty one.
    const bool keep = measureControlText(*this, text == klib::nullString ? std::wstring() : text, &extent, &metrics);
    const Dimension measured{
        extent.cx + 2 * (GetSystemMetrics(SM_CXEDGE) + metrics.tmAveCharWidth) + 4,
        extent.cy + 2 * (GetSystemMetrics(SM_CYEDGE) + metrics.tmExternalLeading) + 4,
    };
    // Before the control exists the font is only the one it will be given.
    if (keep) {
        preferredSize = measured;
    }
    return measured;
}

void Button::fontChanged() {
    preferredSize.width = -1;
}

void Button::addActionListener(ActionListener* listener) {
    addListener(ActionListener::TAG, listener);
}

void Button::removeActionListener(ActionListener* listener) {
    removeListener(ActionListener::TAG, listener);
}

}  // namespace awt
