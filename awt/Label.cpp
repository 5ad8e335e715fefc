#include "awt/Label.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "awt/AWTException.h"
#include "awt/GdiObject.h"
#include "awt/TextMetrics.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"
#include "klib/Strings.h"

namespace awt {

namespace {

constexpr DWORD ALIGNMENT_MASK = 3;  // SS_LEFT, SS_CENTER, SS_RIGHT

// Other values would turn the static control into another kind (icon, frame, ...).
int checkAlignment(int alignment) {
    if (alignment != Label::LEFT && alignment != Label::CENTER && alignment != Label::RIGHT) {
        throw klib::IllegalArgumentException(L"alignment: " + klib::toString(alignment));
    }
    return alignment;
}

}  // namespace

Label::Label(int stringId, int alignment)
    : Label(Toolkit::loadString(static_cast<UINT>(stringId)), alignment) {}

Label::Label(std::wstring text, int alignment)
    : text(std::move(text)), alignment(checkAlignment(alignment)), preferredSize{-1, 0} {}

Label::~Label() noexcept(false) = default;

const wchar_t* Label::getClassName() const {
    return L"STATIC";
}

const wchar_t* Label::getWindowText() const {
    return text.c_str();
}

DWORD Label::getStyle() const {
    return Component::getStyle() | static_cast<DWORD>(alignment) | SS_NOPREFIX | SS_NOTIFY;
}

Dimension Label::getPreferredSize() {
    if (preferredSize.width != -1) {
        return preferredSize;
    }
    const Dimension measured = measure();
    // Before the control exists the font is only the one it will be given; measure again once it exists.
    if (handle != nullptr) {
        preferredSize = measured;
    }
    return measured;
}

void Label::fontChanged() {
    preferredSize.width = -1;
}

void Label::setAlignment(int newAlignment) {
    if (newAlignment == alignment) {
        return;
    }
    checkAlignment(newAlignment);
    alignment = newAlignment;
    if (handle != nullptr) {
        changeStyle(ALIGNMENT_MASK, static_cast<DWORD>(newAlignment));
        repaint(0, 0, width, height);
    }
}

Dimension Label::measure() const {
    // Without a control, the screen and the font every control gets (Component::initWindow).
    const HFONT font = handle != nullptr ? getFont() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    WindowDC dc(GetDC(handle), handle);
    if (dc.get() == nullptr) {
        throw AWTException(L"::GetDC() failed", static_cast<int>(GetLastError()));
    }
    // A null font is the system font, which the DC already has.
    const HGDIOBJ previous = font != nullptr ? selectObject(dc.get(), font) : nullptr;

    int lines = 0;
    int textWidth = 0;
    const std::size_t length = text.size();
    if (length > 0) {
        std::size_t start = 0;
        do {
            std::size_t end = text.find(L'\n', start);
            if (end == std::wstring::npos) {
                end = length;
            }
            SIZE extent{0, 0};
            getTextExtent(dc.get(), text.c_str() + start, static_cast<int>(end - start), &extent);
            textWidth = std::max(textWidth, static_cast<int>(extent.cx));
            ++lines;
            start = end + 1;
        } while (start < length);
    }
    TEXTMETRICW metrics{};
    getTextMetrics(dc.get(), &metrics);

    if (previous != nullptr) {
        selectObject(dc.get(), previous);
    }
    ReleaseDC(handle, dc.detach());
    return Dimension{textWidth, (metrics.tmHeight + metrics.tmExternalLeading) * lines};
}

}  // namespace awt
