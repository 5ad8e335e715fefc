#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "awt/Component.h"
#include "awt/Events.h"
#include "awt/Geometry.h"
#include "awt/Listeners.h"

namespace awt {

// An EDIT control whose text is kept on the object side as well, so that it survives the control's
// destruction. The control's text is read back only after the control reported a change; every change
// is reported to the text listeners. Abstract: it has no preferred size.
class TextComponent : public Component {
public:
    explicit TextComponent(const std::wstring& text);

    const wchar_t* getClassName() const override;
    // The text the control is created with.
    const wchar_t* getWindowText() const override;
    DWORD getStyle() const override;
    DWORD getExStyle() const override;
    // EN_CHANGE marks the text stale and notifies the text listeners.
    LRESULT handleCommand(WORD notifyCode, WPARAM wParam, bool* handled) override;
    // Keeps the typed text before the control goes.
    void removeNotify() override;

    // The current text; reads the control's text back if it changed since the last read.
    const std::wstring& getText();
    // Sets the text and notifies the text listeners, unless nothing changes. With a control, the
    // control's own change notification reaches the listeners as well. Throws "::SetWindowText() failed"
    // (the text stays as it was).
    void setText(const std::wstring& text);
    void setCaretPosition(int position);
    void selectAll();
    bool isEditable() const noexcept { return editable; }

    // Not owned; a listener is registered once.
    void addTextListener(TextListener* listener);
    void removeTextListener(TextListener* listener);
    // Subclasses measure again with the new font.
    void fontChanged() override;

protected:
    // textValueChanged to every text listener, the most recently added first.
    void fireTextValueChanged();

    Dimension preferredSize;  // kept by subclasses; width -1: not measured yet

private:
    std::wstring text;
    bool textStale;  // the control changed its text since text was last read back
    bool editable;
};

// A single-line, horizontally scrolling text field, columns average characters wide. requestFocus
// selects its whole text; Enter without modifiers fires its action listeners.
class TextField : public TextComponent {
public:
    // Turns Enter into an action event of the field; the key still reaches the control.
    class KeyHandler : public KeyListener {
    public:
        explicit KeyHandler(TextField* field) noexcept : field(field) {}

        void keyPressed(KeyEvent& event) override;
        void keyReleased(KeyEvent& event) override;
        void keyTyped(KeyEvent& event) override;

    private:
        TextField* field;  // not owned: the field that owns this handler
    };

    TextField(const std::wstring& text, int columns);
    ~TextField() noexcept(false) override;

    DWORD getStyle() const override;
    // Measured once with the control's font. Throws as the text-measuring helpers.
    Dimension getPreferredSize() override;
    // Focuses the control and selects its whole text; nothing without a control.
    void requestFocus() override;

    // Not owned; a listener is registered once.
    void addActionListener(ActionListener* listener);
    void removeActionListener(ActionListener* listener);
    int getColumns() const noexcept { return columns; }

protected:
    // actionPerformed to every action listener, the most recently added first.
    void fireActionPerformed();

private:
    int columns;
    std::unique_ptr<KeyHandler> keyHandler;  // registered as this field's key listener
};

}  // namespace awt
