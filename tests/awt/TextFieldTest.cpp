// TextField: typed text read back and notified, setText against typed text, focus selection and Enter.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/ComponentTestSupport.h"
#include "awt/TextComponent.h"

namespace {

using ui_test::Log;
using ui_test::type;
using ui_test::windowText;

class TextFieldWindow : public ui_test::WidgetWindow {
protected:
    awt::TextField* showField(const std::wstring& text) {
        awt::TextField* const created = show(new awt::TextField(text, 10));
        created->addTextListener(&listener);
        created->addActionListener(&listener);
        return created;
    }

    ui_test::LoggingListener listener{log, L"L"};
};

TEST_F(TextFieldWindow, TypedTextIsReadBackAndNotifiedAndTheCurrentTextIsSetAgainOnlyAfterTheUserTyped) {
    awt::TextField* const field = showField(L"abc");
    field->setText(L"abc");
    EXPECT_TRUE(log.empty());
    field->selectAll();
    type(field->getHandle(), L"zy");
    EXPECT_EQ((Log{L"L:text", L"L:text"}), log);
    EXPECT_EQ(L"zy", field->getText());
    log.clear();

    field->setText(L"abc");

    EXPECT_EQ(L"abc", windowText(field->getHandle()));
    // Once from the control's change notification, once from setText itself.
    EXPECT_EQ((Log{L"L:text", L"L:text"}), log);
}

TEST_F(TextFieldWindow, RequestFocusSelectsTheWholeTextButOtherFocusKeepsTheSelection) {
    awt::TextField* const field = showField(L"hello");
    awt::TextField* const other = new awt::TextField(L"other", 5);  // owned by the window
    other->setBounds(10, 60, 100, 26);
    window.add(other);
    SendMessageW(field->getHandle(), EM_SETSEL, 2, 2);

    other->requestFocus();
    SetFocus(field->getHandle());
    EXPECT_EQ(L"2-2", ui_test::selection(field->getHandle()));
    other->requestFocus();
    field->requestFocus();

    EXPECT_EQ(field->getHandle(), GetFocus());
    EXPECT_EQ(L"0-5", ui_test::selection(field->getHandle()));
}

TEST_F(TextFieldWindow, EnterFiresTheActionListenersButNotWithControl) {
    awt::TextField* const field = showField(L"abc");
    {
        const ui_test::HeldKeys control{VK_CONTROL};
        ui_test::press(field->getHandle(), VK_RETURN);
    }
    EXPECT_TRUE(log.empty());

    ui_test::press(field->getHandle(), VK_RETURN);

    EXPECT_EQ((Log{L"L:action"}), log);
}

}  // namespace
