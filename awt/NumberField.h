#pragma once

#include <windows.h>

#include <memory>

#include "awt/Events.h"
#include "awt/Geometry.h"
#include "awt/Listeners.h"
#include "awt/TextComponent.h"

namespace awt {

// An ES_NUMBER edit control without input method that holds an int between a minimum and a maximum. Its
// Handler turns Up and Down (Shift: by a block, Ctrl: to the bound) into steps and parsable text into
// the value at every keystroke; a window timer rewrites the text to the value's decimal form once the
// text has not changed for the normalisation delay. Value changes go to the AdjustmentListeners.
class NumberField : public TextField {
public:
    // adjustmentType of the adjustment events.
    static constexpr int ADJUST_SET = 0;  // typed, or Ctrl+Up / Ctrl+Down
    static constexpr int UNIT_INCREMENT = 1;  // Up
    static constexpr int UNIT_DECREMENT = 2;  // Down
    static constexpr int BLOCK_INCREMENT = 3;  // Shift+Up
    static constexpr int BLOCK_DECREMENT = 4;  // Shift+Down

    // How long the text may differ from the value's canonical form after the last change, by default.
    static constexpr UINT NORMALIZE_DELAY_MS = 2000;

    // The field's key, text and timer listener; its action-listener part is the timer's identity.
    class Handler : public KeyListener, public TextListener, public ActionListener {
    public:
        explicit Handler(NumberField* field) noexcept : field(field), timerRunning(false), timerOwed(false) {}

        // Up and Down step the value; the control never sees them.
        void keyPressed(KeyEvent& event) override;
        void keyReleased(KeyEvent& event) override;
        void keyTyped(KeyEvent& event) override;
        // Takes parsable text as the value at once and restarts the normalisation wait.
        void textValueChanged(TextEvent& event) override;
        // The normalisation timer's tick.
        void actionPerformed(ActionEvent& event) override;

    private:
        friend class NumberField;

        void restartTimer();

        NumberField* field;  // not owned: the field that owns this handler
        bool timerRunning;  // a timer runs on the field's current control
        bool timerOwed;  // a normalisation is due but its timer waits for a new control
    };

    // The value is stored as given, without clamping; the bounds are the whole int range.
    explicit NumberField(int value);
    ~NumberField() noexcept(false) override;

    // Digits only, right-aligned, without horizontal scrolling.
    DWORD getStyle() const override;
    // Switches the input method off for the new control. A timer of an earlier control died with it.
    HWND createWindow() override;
    // Resumes a normalisation that was due when the previous control went.
    void initWindow() override;
    // Seven digit widths plus frame and margins, measured once with the control's font.
    Dimension getPreferredSize() override;

    // Neither the value nor the text changes, and no event is fired.
    void setRange(int minimum, int maximum);
    // The wait before the text is rewritten; takes effect at the next change.
    void setNormalizeDelay(UINT milliseconds) noexcept { normalizeDelayMs = milliseconds; }
    UINT getNormalizeDelay() const noexcept { return normalizeDelayMs; }
    int getValue() const noexcept { return value; }
    int getMinimum() const noexcept { return minimum; }
    int getMaximum() const noexcept { return maximum; }

    // Not owned; a listener is registered once.
    void addAdjustmentListener(AdjustmentListener* listener);
    void removeAdjustmentListener(AdjustmentListener* listener);

private:
    // Snaps toward zero to a multiple of the unit, then bounds (the minimum last). Wide enough that a
    // step beyond the int range saturates at the bound instead of wrapping.
    int clamp(long long candidate) const noexcept;
    // Takes v, rewrites the text and fires the event; nothing if v is the value already.
    void setValue(int v, int type);
    // Shows the canonical text of the value, caret after the last digit; an equal text stays untouched.
    void rewriteText();

    std::unique_ptr<Handler> handler;  // registered as this field's key and text listener
    int value;
    int minimum;
    int maximum;
    int unitIncrement;  // step of Up and Down, and the unit values are snapped to
    int blockIncrement;  // step of Shift+Up and Shift+Down
    UINT normalizeDelayMs = NORMALIZE_DELAY_MS;
};

}  // namespace awt
