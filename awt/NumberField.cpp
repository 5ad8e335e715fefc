#include "awt/NumberField.h"

#include <imm.h>

#include <climits>

#include "awt/WidgetMetrics.h"
#include "klib/Exception.h"
#include "klib/Strings.h"

namespace awt {

namespace {

constexpr int COLUMNS = 7;

}  // namespace

void NumberField::Handler::keyPressed(KeyEvent& event) {
    const bool control = (event.modifiers & CTRL_MASK) != 0;
    const bool shift = (event.modifiers & SHIFT_MASK) != 0;
    NumberField& f = *field;
    // Stepping starts from the value, which already holds any parsable typed text.
    const long long v = f.value;
    if (event.keyCode == VK_UP) {
        if (control) {
            f.setValue(f.maximum, ADJUST_SET);
        } else if (shift) {
            f.setValue(f.clamp(v + f.blockIncrement), BLOCK_INCREMENT);
        } else {
            f.setValue(f.clamp(v + f.unitIncrement), UNIT_INCREMENT);
        }
    } else if (event.keyCode == VK_DOWN) {
        if (control) {
            f.setValue(f.minimum, ADJUST_SET);
        } else if (shift) {
            f.setValue(f.clamp(v - f.blockIncrement), BLOCK_DECREMENT);
        } else {
            f.setValue(f.clamp(v - f.unitIncrement), UNIT_DECREMENT);
        }
    } else {
        return;
    }
    event.consumed = true;
}

void NumberField::Handler::keyReleased(KeyEvent&) {}

void NumberField::Handler::keyTyped(KeyEvent&) {}

void NumberField::Handler::textValueChanged(TextEvent&) {
    NumberField& f = *field;
    bool parsed = false;
    int p = 0;
    try {
        p = klib::parseInt(f.getText());
        parsed = true;
    } catch (const klib::NumberFormatException&) {
        // Empty or too large: the value keeps its last good state until the text is rewritten.
    }
    if (parsed) {
        const int c = f.clamp(p);
        if (c != f.value) {
            // The text stays as typed, so that an out-of-range prefix can still be typed on.
            f.value = c;
            AdjustmentEvent adjustment{static_cast<Component*>(&f), false, ADJUST_SET, c};
            f.notifyListeners(&AdjustmentListener::adjustmentValueChanged, adjustment);
        }
    }
    restartTimer();
}

void NumberField::Handler::actionPerformed(ActionEvent&) {
    field->rewriteText();
    // The rewrite restarted the timer through textValueChanged; the normalisation is done now.
    if (timerRunning && field->getHandle() != nullptr) {
        field->killTimer(this);
    }
    timerRunning = false;
    timerOwed = false;
}

void NumberField::Handler::restartTimer() {
    if (field->getHandle() == nullptr) {
        timerOwed = true;
        return;
    }
    if (timerRunning) {
        field->killTimer(this);
    }
    field->setTimer(field->normalizeDelayMs, this);
    timerRunning = true;
}

NumberField::NumberField(int value)
    : TextField(klib::toString(value), COLUMNS),
      handler(std::make_unique<Handler>(this)),
      value(value),
      minimum(INT_MIN),
      maximum(INT_MAX),
      unitIncrement(1),
      blockIncrement(10) {
    addKeyListener(handler.get());
    addTextListener(handler.get());
}

NumberField::~NumberField() noexcept(false) {
    removeTextListener(handler.get());
    removeKeyListener(handler.get());
    if (handle != nullptr && handler->timerRunning) {
        // No tick may reach the handler once it is gone; a failure here changes nothing for anyone.
        KillTimer(handle, reinterpret_cast<UINT_PTR>(static_cast<ActionListener*>(handler.get())));
    }
}

DWORD NumberField::getStyle() const {
    return TextComponent::getStyle() | ES_NUMBER | ES_RIGHT;
}

HWND NumberField::createWindow() {
    const HWND window = TextField::createWindow();
    // The control is not bound yet, so what this sends reaches only the control's own procedure.
    ImmAssociateContext(window, nullptr);
    if (handler->timerRunning) {
        handler->timerRunning = false;
        handler->timerOwed = true;
    }
    return window;
}

void NumberField::initWindow() {
    TextField::initWindow();
    if (handler->timerOwed) {
        handler->timerOwed = false;
        handler->restartTimer();
    }
}

Dimension NumberField::getPreferredSize() {
    if (preferredSize.width != -1) {
        return preferredSize;
    }
    SIZE digit{0, 0};
    const bool keep = measureControlText(*this, L"8", &digit, nullptr);
    const Dimension measured{
        getColumns() * digit.cx + 2 * GetSystemMetrics(SM_CXEDGE) + 4,
        digit.cy + 2 * GetSystemMetrics(SM_CYEDGE) + 2,
    };
    // Before the control exists the font is only the one it will be given.
    if (keep) {
        preferredSize = measured;
    }
    return measured;
}

void NumberField::setRange(int newMinimum, int newMaximum) {
    minimum = newMinimum;
    maximum = newMaximum;
}

void NumberField::addAdjustmentListener(AdjustmentListener* listener) {
    addListener(AdjustmentListener::TAG, listener);
}

void NumberField::removeAdjustmentListener(AdjustmentListener* listener) {
    removeListener(AdjustmentListener::TAG, listener);
}

int NumberField::clamp(long long candidate) const noexcept {
    if (unitIncrement != 0) {
        candidate -= candidate % unitIncrement;
    }
    if (candidate > maximum) {
        candidate = maximum;
    }
    if (candidate < minimum) {
        candidate = minimum;
    }
    return static_cast<int>(candidate);
}

void NumberField::setValue(int v, int type) {
    if (v == value) {
        return;
    }
    value = v;
    rewriteText();
    AdjustmentEvent event{static_cast<Component*>(this), false, type, v};
    notifyListeners(&AdjustmentListener::adjustmentValueChanged, event);
}

void NumberField::rewriteText() {
    const std::wstring canonical = klib::toString(value);
    if (canonical == getText()) {
        return;
    }
    setText(canonical);
    setCaretPosition(static_cast<int>(canonical.size()));
}

}  // namespace awt
