// NumberField: digits only, typed values taken and clamped at once, step keys with modifiers, the delayed
// rewrite of the text (with a short delay) and accelerators.
#include <gtest/gtest.h>

#include <windows.h>

#include <imm.h>

#include <climits>
#include <initializer_list>
#include <string>

#include "tests/support/ComponentTestSupport.h"
#include "awt/NumberField.h"
#include "awt/Window.h"

namespace {

using awt::NumberField;
using ui_test::pumpUntil;
using ui_test::Log;
using ui_test::press;
using ui_test::type;
using ui_test::windowText;

constexpr UINT DELAY_MS = 300;  // the rewrite delay under test; the real one is two seconds
constexpr UINT SLACK_MS = 30;  // timers may round a little

std::wstring adjust(int type, int value) {
    return L"A:adjust " + std::to_wstring(type) + L" " + std::to_wstring(value);
}

class NumberFieldWindow : public ui_test::WidgetWindow {
protected:
    void showField(int value, int minimum, int maximum, UINT delay = DELAY_MS) {
        field = new NumberField(value);  // owned by the window
        field->setRange(minimum, maximum);
        field->setNormalizeDelay(delay);
        field->addAdjustmentListener(&listener);
        show(field);
    }
    HWND handle() const { return field->getHandle(); }

    // Replaces the whole text by typing.
    void typeOver(const std::wstring& text) {
        field->selectAll();
        type(handle(), text);
    }
    // Presses key with the modifier keys held down.
    void step(std::initializer_list<int> held, int key) {
        const ui_test::HeldKeys keys(held);
        press(handle(), key);
    }
    // Pumps until the control shows text; returns the milliseconds since the last change, or -1 on timeout.
    long long waitForText(const std::wstring& text, ULONGLONG lastChange) {
        if (!pumpUntil([&] { return windowText(handle()) == text; }, 10 * field->getNormalizeDelay())) {
            return -1;
        }
        return static_cast<long long>(GetTickCount64() - lastChange);
    }

    NumberField* field = nullptr;
    ui_test::LoggingListener listener{log, L"A"};
};

TEST_F(NumberFieldWindow, AcceptsOnlyDigitsAndHasNoInputMethod) {
    showField(42, 0, 100);
    SendMessageW(handle(), EM_SETSEL, 2, 2);
    type(handle(), L"a-");
    EXPECT_EQ(L"42", windowText(handle()));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(nullptr, ImmGetContext(handle()));
}

TEST_F(NumberFieldWindow, TypedValueIsClampedAtOnceAndTheTextOneDelayAfterTheLastChange) {
    EXPECT_EQ(2000u, NumberField(0).getNormalizeDelay());
    // A long delay: the text must still wait a third of the way in, also on a busy machine.
    constexpr UINT delay = 1200;
    showField(50, 0, 1000, delay);
    typeOver(L"2000");
    EXPECT_EQ((Log{adjust(0, 2), adjust(0, 20), adjust(0, 200), adjust(0, 1000)}), log);
    EXPECT_EQ(1000, field->getValue());
    const ULONGLONG first = GetTickCount64();
    ASSERT_TRUE(pumpUntil([&] { return GetTickCount64() - first >= delay / 3; }, delay));
    ASSERT_EQ(L"2000", windowText(handle())) << "rewritten after " << GetTickCount64() - first << " ms";

    type(handle(), L"0");  // the same value: no event, but the wait starts again
    const long long elapsed = waitForText(L"1000", GetTickCount64());

    ASSERT_GE(elapsed, 0) << "text was never rewritten";
    EXPECT_GE(elapsed, delay - SLACK_MS);
    EXPECT_EQ(L"4-4", ui_test::selection(handle()));  // caret after the last digit
    EXPECT_EQ(4u, log.size());
}

TEST_F(NumberFieldWindow, LeadingZerosEmptyTextAndTooManyDigitsAreRewrittenToTheValue) {
    showField(50, 0, INT_MAX);
    typeOver(L"007");
    EXPECT_EQ((Log{adjust(0, 0), adjust(0, 7)}), log);
    EXPECT_GE(waitForText(L"7", GetTickCount64()), 0);

    typeOver(L"\b");
    EXPECT_EQ(L"", windowText(handle()));
    EXPECT_EQ(7, field->getValue());
    EXPECT_GE(waitForText(L"7", GetTickCount64()), 0);

    typeOver(L"99999999999");  // the tenth and eleventh digits do not fit an int
    EXPECT_EQ(999999999, field->getValue());
    EXPECT_EQ(11u, log.size());
    EXPECT_GE(waitForText(L"999999999", GetTickCount64()), 0);
}

TEST_F(NumberFieldWindow, StepKeysStartFromTheTypedValueMoveByOneOrTenOrToTheBound) {
    showField(50, 0, 1000);
    typeOver(L"995");
    log.clear();
    step({}, VK_UP);
    step({VK_SHIFT}, VK_UP);
    SendMessageW(handle(), EM_SETSEL, 2, 2);
    step({}, VK_UP);  // at the maximum: nothing, and the key does not reach the control
    EXPECT_EQ(L"2-2", ui_test::selection(handle()));
    step({VK_SHIFT}, VK_DOWN);
    field->setRange(0, 200);  // leaves the value until the next step
    step({}, VK_DOWN);
    step({VK_CONTROL}, VK_DOWN);
    step({VK_CONTROL, VK_SHIFT}, VK_UP);

    EXPECT_EQ((Log{adjust(NumberField::UNIT_INCREMENT, 996), adjust(NumberField::BLOCK_INCREMENT, 1000),
                   adjust(NumberField::BLOCK_DECREMENT, 990), adjust(NumberField::UNIT_DECREMENT, 200),
                   adjust(NumberField::ADJUST_SET, 0), adjust(NumberField::ADJUST_SET, 200)}),
              log);
    EXPECT_EQ(L"200", windowText(handle()));
    EXPECT_EQ(L"3-3", ui_test::selection(handle()));  // caret after the last digit
}

TEST_F(NumberFieldWindow, EnterAndEscapeReachTheWindowsAccelerators) {
    ui_test::LoggingListener enter(log, L"enter", true);
    ui_test::LoggingListener escape(log, L"escape", true);
    window.addKeyAccelerator(awt::KeyStroke{VK_RETURN, 0, false}, &enter);
    window.addKeyAccelerator(awt::KeyStroke{VK_ESCAPE, 0, false}, &escape);
    showField(5, 0, 10);
    field->addActionListener(&listener);
    ASSERT_EQ(handle(), GetFocus());

    press(handle(), VK_RETURN);
    press(handle(), VK_ESCAPE);

    EXPECT_EQ((Log{L"enter:keyPressed 13 0", L"escape:keyPressed 27 0"}), log);
}

}  // namespace
