// TextComponent and TextField: text kept across the control's life, stale-text read-back, text and action
// events, focus selection, preferred size.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "WidgetTestSupport.h"
#include "awt/TextComponent.h"
#include "awt/Toolkit.h"

namespace {

using ui_test::HeldKeys;
using widget_test::Log;
using widget_test::Recorder;
using widget_test::windowText;

// A text field whose change notifications can be swallowed, so the control's text can change behind the
// object's back.
class MutableField : public awt::TextField {
public:
    using awt::TextField::TextField;

    LRESULT handleCommand(WORD notifyCode, WPARAM wParam, bool* handled) override {
        if (muted && notifyCode == EN_CHANGE) {
            *handled = true;
            return 0;
        }
        return awt::TextField::handleCommand(notifyCode, wParam, handled);
    }

    bool muted = false;
};

class TextFieldWindow : public widget_test::WidgetWindow {
protected:
    MutableField* showField(const std::wstring& text) {
        MutableField* const created = show(new MutableField(text, 10));
        created->addTextListener(&listener);
        created->addActionListener(&listener);
        return created;
    }

    // Moves the focus to a second field of the window.
    void focusElsewhere() {
        awt::TextField* const other = new awt::TextField(L"other", 5);  // owned by the window
        other->setBounds(10, 60, 100, 26);
        window.add(other);
        other->requestFocus();
        ASSERT_EQ(other->getHandle(), GetFocus());
    }

    Recorder listener{log, L"L"};
};

TEST_F(TextFieldWindow, TypingMarksTheTextStaleAndNotifies) {
    MutableField* const field = showField(L"abc");
    field->selectAll();

    widget_test::type(field->getHandle(), L"xy");

    EXPECT_EQ((Log{L"L:text", L"L:text"}), log);
    EXPECT_EQ(L"xy", field->getText());
}

TEST_F(TextFieldWindow, TextIsReadBackOnlyAfterTheControlReportedAChange) {
    MutableField* const field = showField(L"abc");
    field->selectAll();
    widget_test::type(field->getHandle(), L"q");
    ASSERT_EQ(L"q", field->getText());

    field->muted = true;
    ASSERT_TRUE(SetWindowTextW(field->getHandle(), L"behind"));

    EXPECT_EQ(L"q", field->getText());
}

TEST_F(TextFieldWindow, SettingTheCurrentTextOfAnUntouchedControlDoesNothing) {
    MutableField* const field = showField(L"abc");
    field->setText(L"abc");
    EXPECT_TRUE(log.empty());
}

TEST_F(TextFieldWindow, SettingANewTextReachesTheControlAndIsHeardTwice) {
    MutableField* const field = showField(L"abc");
    field->setText(L"new");
    EXPECT_EQ(L"new", windowText(field->getHandle()));
    EXPECT_EQ(L"new", field->getText());
    // Once from the control's change notification, once from setText itself.
    EXPECT_EQ((Log{L"L:text", L"L:text"}), log);
}

TEST_F(TextFieldWindow, AfterTypingTheOldTextCanBeSetAgain) {
    MutableField* const field = showField(L"abc");
    field->selectAll();
    widget_test::type(field->getHandle(), L"z");
    log.clear();

    field->setText(L"abc");

    EXPECT_EQ(L"abc", windowText(field->getHandle()));
    EXPECT_FALSE(log.empty());
}

TEST_F(TextFieldWindow, RequestFocusSelectsTheWholeText) {
    MutableField* const field = showField(L"hello");
    SendMessageW(field->getHandle(), EM_SETSEL, 2, 2);
    focusElsewhere();

    field->requestFocus();

    EXPECT_EQ(field->getHandle(), GetFocus());
    EXPECT_EQ(L"0-5", widget_test::selection(field->getHandle()));
}

TEST_F(TextFieldWindow, FocusGainedOtherwiseKeepsTheSelection) {
    MutableField* const field = showField(L"hello");
    SendMessageW(field->getHandle(), EM_SETSEL, 2, 2);
    focusElsewhere();

    SetFocus(field->getHandle());

    EXPECT_EQ(field->getHandle(), GetFocus());
    EXPECT_EQ(L"2-2", widget_test::selection(field->getHandle()));
}

TEST_F(TextFieldWindow, EnterFiresTheActionListeners) {
    MutableField* const field = showField(L"abc");
    widget_test::press(field->getHandle(), VK_RETURN);
    EXPECT_EQ((Log{L"L:action"}), log);
}

TEST_F(TextFieldWindow, EnterWithControlFiresNothing) {
    MutableField* const field = showField(L"abc");
    const HeldKeys control{VK_CONTROL};
    widget_test::press(field->getHandle(), VK_RETURN);
    EXPECT_TRUE(log.empty());
}

TEST_F(TextFieldWindow, TypedTextSurvivesDisposeAndRecreation) {
    MutableField* const field = showField(L"abc");
    field->selectAll();
    widget_test::type(field->getHandle(), L"kept");

    window.dispose();
    EXPECT_EQ(nullptr, field->getHandle());
    EXPECT_EQ(L"kept", field->getText());

    window.setVisible(true);
    ASSERT_NE(nullptr, field->getHandle());
    EXPECT_EQ(L"kept", windowText(field->getHandle()));
}

TEST_F(TextFieldWindow, PreferredSizeIsColumnsOfAverageCharactersOfTheControlFont) {
    MutableField* const field = showField(L"abc");
    SendMessageW(field->getHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(largeFont.get()), FALSE);
    SIZE extent{};
    TEXTMETRICW metrics{};
    widget_test::measureWithControlFont(field->getHandle(), L"", &extent, &metrics);

    const awt::Dimension size = field->getPreferredSize();

    EXPECT_EQ(10 * metrics.tmAveCharWidth + 2 * GetSystemMetrics(SM_CXEDGE) + 4, size.width);
    EXPECT_EQ(metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE) + 2, size.height);
    EXPECT_GT(metrics.tmHeight, 20);
}

TEST(TextFieldWithoutWindow, SetTextStoresAndNotifiesOnlyChanges) {
    Log log;
    Recorder listener(log, L"L");
    awt::TextField field(L"abc", 5);
    field.addTextListener(&listener);

    field.setText(L"abc");
    EXPECT_TRUE(log.empty());
    field.setText(L"def");
    EXPECT_EQ((Log{L"L:text"}), log);
    EXPECT_EQ(L"def", field.getText());
}

}  // namespace
