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
Label::Alignment checkAlignment(Label::Alignment alignment) {
    if (alignment != Label::LEFT && alignment != Label::CENTER && alignment != Label::RIGHT) {
        throw klib::IllegalArgumentException(L"alignment: " + klib::toString(static_cast<int>(alignment)));
    }
    return alignment;
}

// A missing string is no text, not the absent-string marker.
std::wstring loadText(int stringId) {
    std::wstring text = Toolkit::loadString(static_cast<UINT>(stringId));
    return text == klib::nullString ? std::wstring() : text;
}

}  // namespace

Label::Label(int stringId, Alignment alignment) : Label(loadText(stringId), alignment) {}

Label::Label(std::wstring text, Alignment alignment)
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

void Label::setAlignment(Alignment newAlignment) {
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
        throwLastError(L"::GetDC");
    }
    // A null font is the system font, which the DC already has.
    Selection selection(font != nullptr ? selectObject(dc.get(), font) : nullptr, dc.get());

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

    selection.release();
    return Dimension{textWidth, (metrics.tmHeight + metrics.tmExternalLeading) * lines};
}

}  // namespace awt
