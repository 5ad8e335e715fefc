// Label: measuring lines with its control's font, and a missing string.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/support/ComponentTestSupport.h"
#include "awt/Label.h"
#include "klib/Exception.h"

namespace {

using awt::Label;

class LabelWindow : public ui_test::WidgetWindow {};

// The width of text and the line height with font on the DC of window, straight from GDI.
SIZE measure(HWND window, HFONT font, const std::wstring& text) {
    const HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE extent{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return SIZE{extent.cx, metrics.tmHeight + metrics.tmExternalLeading};
}

TEST_F(LabelWindow, MeasuresEachLineEndedByALineFeedWithTheFontOfItsControl) {
    Label* const label = show(new Label(L"A\nBB\n", Label::LEFT));
    const HWND control = label->getHandle();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(largeFont.get()), FALSE);
    const SIZE a = measure(control, largeFont.get(), L"A");
    const SIZE bb = measure(control, largeFont.get(), L"BB");
    ASSERT_GT(bb.cx, a.cx);
    ASSERT_GE(bb.cy, 40);  // really the large font

    const awt::Dimension size = label->getPreferredSize();

    EXPECT_EQ(bb.cx, size.width);
    EXPECT_EQ(2 * bb.cy, size.height);
}

TEST_F(LabelWindow, AMissingStringIsAnEmptyTextThatPrefersNothing) {
    Label* const label = show(new Label(9999, Label::LEFT));
    EXPECT_EQ(L"", label->getText());
    const awt::Dimension size = label->getPreferredSize();
    EXPECT_EQ(0, size.width);
    EXPECT_EQ(0, size.height);
}

}  // namespace
