#include "awt/TextComponent.h"

#include <vector>

#include "awt/Toolkit.h"
#include "awt/WidgetMetrics.h"

namespace awt {

TextComponent::TextComponent(const std::wstring& text)
    : preferredSize{-1, -1}, text(text), textStale(false), editable(true) {}

const wchar_t* TextComponent::getClassName() const {
    return L"EDIT";
}

const wchar_t* TextComponent::getWindowText() const {
    return text.c_str();
}

DWORD TextComponent::getStyle() const {
    DWORD style = Component::getStyle() | WS_TABSTOP;
    if (!editable) {
        style |= ES_READONLY;
    }
    return style;
}

DWORD TextComponent::getExStyle() const {
    return Component::getExStyle() | WS_EX_CLIENTEDGE;
}

LRESULT TextComponent::handleCommand(WORD notifyCode, WPARAM wParam, bool* handled) {
    if (notifyCode != EN_CHANGE) {
        return Component::handleCommand(notifyCode, wParam, handled);
    }
    textStale = true;
    fireTextValueChanged();
    *handled = true;
    return 0;
}

void TextComponent::removeNotify() {
    if (handle != nullptr) {
        getText();
    }
    Component::removeNotify();
}

const std::wstring& TextComponent::getText() {
    if (handle != nullptr && textStale) {
        const int length = GetWindowTextLengthW(handle);
        std::vector<wchar_t> buffer(static_cast<std::size_t>(length > 0 ? length : 0) + 1);
        // The length may overestimate; the copied count is what counts.
        // WM_GETTEXT passes through our own window procedure.
        const int copied = Toolkit::sendingMessages(
            [&] { return GetWindowTextW(handle, buffer.data(), static_cast<int>(buffer.size())); });
        text.assign(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
        textStale = false;
    }
    return text;
}

void TextComponent::setText(const std::wstring& newText) {
    // A copy: listeners reached while the control's text is set may read text back, and newText may be it.
    const std::wstring value = newText;
    if (handle != nullptr) {
        if (value == text && !textStale) {
            return;
        }
        setWindowText(value.c_str());
        text = value;
        textStale = false;
    } else {
        if (value == text) {
            return;
        }
        text = value;
    }
    fireTextValueChanged();
}

void TextComponent::setCaretPosition(int position) {
    if (handle != nullptr) {
        sendMessage(EM_SETSEL, static_cast<WPARAM>(position), static_cast<LPARAM>(position));
    }
}

void TextComponent::selectAll() {
    if (handle != nullptr) {
        sendMessage(EM_SETSEL, 0, -1);
    }
}

void TextComponent::fontChanged() {
    preferredSize.width = -1;
}

void TextComponent::addTextListener(TextListener* listener) {
    addListener(TextListener::TAG, listener);
}

void TextComponent::removeTextListener(TextListener* listener) {
    removeListener(TextListener::TAG, listener);
}

void TextComponent::fireTextValueChanged() {
    TextEvent event{static_cast<Component*>(this), false};
    notifyListeners(&TextListener::textValueChanged, event);
}

void TextField::KeyHandler::keyPressed(KeyEvent& event) {
    // Enter with a modifier is left to whoever wants that combination.
    if (event.keyCode == VK_RETURN && event.modifiers == 0) {
        field->fireActionPerformed();
    }
}

void TextField::KeyHandler::keyReleased(KeyEvent&) {}

void TextField::KeyHandler::keyTyped(KeyEvent&) {}

TextField::TextField(const std::wstring& text, int columns)
    : TextComponent(text), columns(columns), keyHandler(std::make_unique<KeyHandler>(this)) {
    addKeyListener(keyHandler.get());
}

TextField::~TextField() noexcept(false) {
    removeKeyListener(keyHandler.get());
}

DWORD TextField::getStyle() const {
    return TextComponent::getStyle() | ES_AUTOHSCROLL;
}

Dimension TextField::getPreferredSize() {
    if (preferredSize.width != -1) {
        return preferredSize;
    }
    TEXTMETRICW metrics{};
    const bool keep = measureControlText(*this, std::wstring(), nullptr, &metrics);
    const Dimension measured{
        columns * metrics.tmAveCharWidth + 2 * GetSystemMetrics(SM_CXEDGE) + 4,
        metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE) + 2,
    };
    // Before the control exists the font is only the one it will be given.
    if (keep) {
        preferredSize = measured;
    }
    return measured;
}

void TextField::requestFocus() {
    if (handle == nullptr) {
        return;
    }
    focusWindow();
    selectAll();
}

void TextField::addActionListener(ActionListener* listener) {
    addListener(ActionListener::TAG, listener);
}

void TextField::removeActionListener(ActionListener* listener) {
    removeListener(ActionListener::TAG, listener);
}

void TextField::fireActionPerformed() {
    ActionEvent event{static_cast<Component*>(this), false};
    notifyListeners(&ActionListener::actionPerformed, event);
}

}  // namespace awt
