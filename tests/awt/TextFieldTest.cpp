// TextField: the whole text selected when the program gives it the focus.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/ComponentTestSupport.h"
#include "awt/TextComponent.h"

namespace {

using TextFieldWindow = ui_test::WidgetWindow;

TEST_F(TextFieldWindow, RequestFocusSelectsTheWholeTextButOtherFocusKeepsTheSelection) {
    awt::TextField* const field = show(new awt::TextField(L"hello", 10));
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

}  // namespace
