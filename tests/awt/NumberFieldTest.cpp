// NumberField: digits only, typed values taken and clamped at once, step keys with modifiers, saturation at
// the int range, the delayed rewrite of the text, accelerators, and re-creation of the control.
#include <gtest/gtest.h>

#include <windows.h>

#include <imm.h>

#include <climits>
#include <string>

#include "WidgetTestSupport.h"
#include "awt/NumberField.h"
#include "awt/Toolkit.h"
#include "awt/Window.h"

namespace {

using awt::NumberField;
using ui_test::HeldKeys;
using ui_test::pumpToolkitUntil;
using widget_test::Log;
using widget_test::press;
using widget_test::Recorder;
using widget_test::type;
using widget_test::windowText;

constexpr DWORD REWRITE_DEADLINE_MS = 6000;
constexpr ULONGLONG EARLIEST_REWRITE_MS = 1800;  // timers may round a little

std::wstring adjust(int type, int value) {
    return L"A:adjust " + std::to_wstring(type) + L" " + std::to_wstring(value);
}

class NumberFieldWindow : public widget_test::WidgetWindow {
protected:
    NumberField* showField(int value, int minimum, int maximum) {
        NumberField* const created = new NumberField(value);
        created->setRange(minimum, maximum);
        created->addAdjustmentListener(&listener);
        return show(created);
    }

    // Replaces the whole text by typing.
    void typeOver(const std::wstring& text) {
        field()->selectAll();
        type(handle(), text);
    }

    // Pumps until the control shows text; returns the milliseconds since lastChange, or -1 on timeout.
    long long waitForText(const std::wstring& text, ULONGLONG lastChange) {
        if (!pumpToolkitUntil([&] { return windowText(handle()) == text; }, REWRITE_DEADLINE_MS)) {
            return -1;
        }
        return static_cast<long long>(GetTickCount64() - lastChange);
    }

    NumberField* field() { return static_cast<NumberField*>(window.getComponent(0)); }
    HWND handle() { return field()->getHandle(); }

    Recorder listener{log, L"A"};
};

TEST_F(NumberFieldWindow, RejectsTypedNonDigits) {
    showField(42, 0, 100);
    SendMessageW(handle(), EM_SETSEL, 2, 2);
    type(handle(), L"a-");
    EXPECT_EQ(L"42", windowText(handle()));
    EXPECT_EQ(42, field()->getValue());
    EXPECT_TRUE(log.empty());
}

TEST_F(NumberFieldWindow, HasNoInputMethod) {
    showField(42, 0, 100);
    EXPECT_EQ(nullptr, ImmGetContext(handle()));
}

TEST_F(NumberFieldWindow, TypedValueAboveTheMaximumIsClampedAtOnceAndTheTextTwoSecondsLater) {
    showField(50, 0, 1000);
    typeOver(L"2000");
    const ULONGLONG typed = GetTickCount64();

    EXPECT_EQ((Log{adjust(0, 2), adjust(0, 20), adjust(0, 200), adjust(0, 1000)}), log);
    EXPECT_EQ(1000, field()->getValue());
    EXPECT_EQ(L"2000", windowText(handle()));

    const long long elapsed = waitForText(L"1000", typed);
    ASSERT_GE(elapsed, 0) << "text was never rewritten";
    EXPECT_GE(elapsed, static_cast<long long>(EARLIEST_REWRITE_MS));
    EXPECT_EQ(L"4-4", widget_test::selection(handle()));  // caret after the last digit
    EXPECT_EQ(4u, log.size());  // the rewrite changes no value
}

TEST_F(NumberFieldWindow, LeadingZerosAreDroppedByTheRewrite) {
    showField(50, 0, 1000);
    typeOver(L"007");
    const ULONGLONG typed = GetTickCount64();
    EXPECT_EQ((Log{adjust(0, 0), adjust(0, 7)}), log);
    EXPECT_EQ(7, field()->getValue());
    EXPECT_GE(waitForText(L"7", typed), 0);
}

TEST_F(NumberFieldWindow, DeletedTextFiresNothingAndTheValueReturnsLater) {
    showField(42, 0, 100);
    typeOver(L"\b");
    const ULONGLONG typed = GetTickCount64();
    EXPECT_EQ(L"", windowText(handle()));
    EXPECT_EQ(42, field()->getValue());
    EXPECT_TRUE(log.empty());
    EXPECT_GE(waitForText(L"42", typed), 0);
}

TEST_F(NumberFieldWindow, TextWithTheSameValueFiresNothingButIsRewritten) {
    showField(5, 0, 100);
    SendMessageW(handle(), EM_SETSEL, 0, 0);
    type(handle(), L"0");
    const ULONGLONG typed = GetTickCount64();
    EXPECT_EQ(L"05", windowText(handle()));
    EXPECT_TRUE(log.empty());
    EXPECT_GE(waitForText(L"5", typed), 0);
}

TEST_F(NumberFieldWindow, EachChangeRestartsTheWait) {
    showField(50, 0, 1000);
    typeOver(L"0");
    const ULONGLONG first = GetTickCount64();
    pumpToolkitUntil([&] { return GetTickCount64() - first >= 1200; }, 2000);
    ASSERT_EQ(L"0", windowText(handle()));
    type(handle(), L"7");
    const ULONGLONG second = GetTickCount64();
    ASSERT_EQ(L"07", windowText(handle()));

    const long long elapsed = waitForText(L"7", second);

    ASSERT_GE(elapsed, 0);
    EXPECT_GE(elapsed, static_cast<long long>(EARLIEST_REWRITE_MS));
}

TEST_F(NumberFieldWindow, UpAtTheMaximumFiresNothing) {
    showField(10, 1, 10);
    press(handle(), VK_UP);
    EXPECT_EQ(10, field()->getValue());
    EXPECT_TRUE(log.empty());
}

TEST_F(NumberFieldWindow, DownStepsByOneAndRewritesTheTextAtOnce) {
    showField(10, 1, 10);
    press(handle(), VK_DOWN);
    EXPECT_EQ((Log{adjust(NumberField::UNIT_DECREMENT, 9)}), log);
    EXPECT_EQ(L"9", windowText(handle()));
    EXPECT_EQ(L"1-1", widget_test::selection(handle()));
}

TEST_F(NumberFieldWindow, ControlDownJumpsToTheMinimum) {
    showField(10, 1, 10);
    const HeldKeys control{VK_CONTROL};
    press(handle(), VK_DOWN);
    EXPECT_EQ((Log{adjust(NumberField::ADJUST_SET, 1)}), log);
    EXPECT_EQ(L"1", windowText(handle()));
}

TEST_F(NumberFieldWindow, ShiftStepsByTenAndClampsAtTheBound) {
    showField(995, 0, 1000);
    const HeldKeys shift{VK_SHIFT};
    press(handle(), VK_UP);
    press(handle(), VK_DOWN);
    EXPECT_EQ((Log{adjust(NumberField::BLOCK_INCREMENT, 1000), adjust(NumberField::BLOCK_DECREMENT, 990)}), log);
}

TEST_F(NumberFieldWindow, ControlWinsOverShift) {
    showField(5, 0, 1000);
    const HeldKeys both{VK_CONTROL, VK_SHIFT};
    press(handle(), VK_UP);
    EXPECT_EQ((Log{adjust(NumberField::ADJUST_SET, 1000)}), log);
}

TEST_F(NumberFieldWindow, SteppingStartsFromTheTypedValue) {
    showField(50, 0, 1000);
    typeOver(L"300");
    log.clear();
    press(handle(), VK_UP);
    EXPECT_EQ((Log{adjust(NumberField::UNIT_INCREMENT, 301)}), log);
    EXPECT_EQ(L"301", windowText(handle()));
}

TEST_F(NumberFieldWindow, StepKeysNeverReachTheControl) {
    showField(10, 1, 10);
    SendMessageW(handle(), EM_SETSEL, 1, 1);
    press(handle(), VK_UP);  // at the maximum: no rewrite either
    press(handle(), VK_DOWN);
    // The rewrite put the caret after "9"; a Down that reached the control would have moved it.
    EXPECT_EQ(L"1-1", widget_test::selection(handle()));
    SendMessageW(handle(), EM_SETSEL, 0, 0);
    press(handle(), VK_UP);
    EXPECT_EQ(L"2-2", widget_test::selection(handle()));
}

TEST_F(NumberFieldWindow, NarrowedRangeLeavesTheValueUntilTheNextStep) {
    showField(50, 0, 100);
    field()->setRange(1, 10);
    EXPECT_EQ(50, field()->getValue());
    EXPECT_EQ(L"50", windowText(handle()));
    EXPECT_TRUE(log.empty());

    press(handle(), VK_DOWN);

    EXPECT_EQ((Log{adjust(NumberField::UNIT_DECREMENT, 10)}), log);
}

TEST_F(NumberFieldWindow, StepsSaturateAtTheTopOfTheIntRange) {
    showField(INT_MAX, INT_MIN, INT_MAX);
    press(handle(), VK_UP);
    {
        const HeldKeys shift{VK_SHIFT};
        press(handle(), VK_UP);
    }
    EXPECT_EQ(INT_MAX, field()->getValue());
    EXPECT_TRUE(log.empty());
}

TEST_F(NumberFieldWindow, StepsSaturateAtTheBottomOfTheIntRange) {
    showField(INT_MIN + 3, INT_MIN, INT_MAX);
    {
        const HeldKeys shift{VK_SHIFT};
        press(handle(), VK_DOWN);
    }
    press(handle(), VK_DOWN);
    EXPECT_EQ((Log{adjust(NumberField::BLOCK_DECREMENT, INT_MIN)}), log);
    EXPECT_EQ(L"-2147483648", windowText(handle()));
}

TEST_F(NumberFieldWindow, TooLargeTypedNumberKeepsTheValue) {
    showField(7, INT_MIN, INT_MAX);
    typeOver(L"99999999999");
    const ULONGLONG typed = GetTickCount64();
    EXPECT_EQ(999999999, field()->getValue());
    EXPECT_GE(waitForText(L"999999999", typed), 0);
}

TEST_F(NumberFieldWindow, EnterAndEscapeReachTheWindowsAccelerators) {
    ui_test::LoggingListener enter(log, L"enter", true);
    ui_test::LoggingListener escape(log, L"escape", true);
    window.addKeyAccelerator(awt::KeyStroke{VK_RETURN, 0, false}, &enter);
    window.addKeyAccelerator(awt::KeyStroke{VK_ESCAPE, 0, false}, &escape);
    NumberField* const number = showField(5, 0, 10);
    number->addActionListener(&listener);
    ASSERT_EQ(handle(), GetFocus());

    press(handle(), VK_RETURN);
    press(handle(), VK_ESCAPE);

    EXPECT_EQ((Log{L"enter:keyPressed 13 0", L"escape:keyPressed 27 0"}), log);
}

TEST_F(NumberFieldWindow, RecreatedControlStillRewritesTextTypedBeforeIt) {
    showField(50, 0, 1000);
    typeOver(L"2000");
    window.dispose();
    window.setVisible(true);
    const ULONGLONG shown = GetTickCount64();
    ASSERT_EQ(L"2000", windowText(handle()));

    EXPECT_GE(waitForText(L"1000", shown), 0);
}

TEST_F(NumberFieldWindow, RecreatedControlAcceptsTypingWhileAnEarlierWaitWasCutShort) {
    showField(50, 0, 1000);
    typeOver(L"20");
    window.dispose();
    window.setVisible(true);
    ASSERT_TRUE(pumpToolkitUntil([&] { return GetFocus() == handle(); }));

    SendMessageW(handle(), EM_SETSEL, 2, 2);
    type(handle(), L"0");
    const ULONGLONG typed = GetTickCount64();

    EXPECT_EQ(200, field()->getValue());
    EXPECT_GE(waitForText(L"200", typed), 0);
}

TEST_F(NumberFieldWindow, TextSetBeforeTheControlExistsIsTakenAtOnceAndRewrittenOnceShown) {
    NumberField* const number = new NumberField(5);  // owned by the window once shown
    number->setRange(0, 1000);
    number->addAdjustmentListener(&listener);
    number->setText(L"2000");
    EXPECT_EQ((Log{adjust(NumberField::ADJUST_SET, 1000)}), log);

    show(number);
    const ULONGLONG shown = GetTickCount64();
    ASSERT_EQ(L"2000", windowText(handle()));

    EXPECT_GE(waitForText(L"1000", shown), 0);
}

TEST_F(NumberFieldWindow, PreferredSizeIsSevenDigitWidthsOfTheControlFont) {
    showField(1, 0, 10);
    SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(largeFont.get()), FALSE);
    SIZE digit{};
    TEXTMETRICW metrics{};
    widget_test::measureWithControlFont(handle(), L"8", &digit, &metrics);

    const awt::Dimension size = field()->getPreferredSize();

    EXPECT_EQ(7 * digit.cx + 2 * GetSystemMetrics(SM_CXEDGE) + 4, size.width);
    EXPECT_EQ(digit.cy + 2 * GetSystemMetrics(SM_CYEDGE) + 2, size.height);
    EXPECT_GT(digit.cy, 20);
}

}  // namespace
