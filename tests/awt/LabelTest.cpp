// Label: measuring with the control's font (lines, empty text, before creation, caching), the styles of
// its static control, and changing the alignment of a live control.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <memory>
#include <string>

#include "ComponentTestSupport.h"
#include "awt/GdiObject.h"
#include "awt/Label.h"
#include "klib/Exception.h"

namespace {

using awt::Label;
using ui_test::pumpToolkitUntil;
using ui_test::TestWindow;

// What a text measures with font on the DC of window, straight from GDI.
struct Measured {
    int width;
    int lineHeight;
};

Measured measureWithGdi(HWND window, HFONT font, const std::wstring& text) {
    const HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE extent{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return Measured{extent.cx, metrics.tmHeight + metrics.tmExternalLeading};
}

HFONT fontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

std::wstring lowerCase(std::wstring s) {
    for (wchar_t& c : s) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return s;
}

class LabelTest : public ::testing::Test {
protected:
    // Adds the label to a shown window, so that it has its control.
    Label* show(Label* label) {
        window.setBounds(40, 40, 300, 200);
        window.add(label);
        label->setBounds(10, 10, 120, 40);
        window.setVisible(true);
        EXPECT_TRUE(pumpToolkitUntil([label] { return label->getHandle() != nullptr; }));
        return label;
    }
    // Waits until nothing of the control is waiting to be painted.
    bool painted(HWND control) {
        return pumpToolkitUntil([control] { return ui_test::updateRect(control) == L"none"; });
    }

    std::unique_ptr<TestWindow> windowHolder = std::make_unique<TestWindow>();  // fixtures must not throw from ~
    TestWindow& window = *windowHolder;
};

TEST_F(LabelTest, LinesAreSeparatedByLineFeedsAndTheWidestLineIsTheWidth) {
    Label* const label = show(new Label(L"A\nBB\n", Label::LEFT));
    const HWND control = label->getHandle();
    const Measured a = measureWithGdi(control, fontOf(control), L"A");
    const Measured bb = measureWithGdi(control, fontOf(control), L"BB");
    ASSERT_GT(bb.width, a.width);

    const awt::Dimension size = label->getPreferredSize();

    EXPECT_EQ(bb.width, size.width);
    EXPECT_EQ(2 * bb.lineHeight, size.height);
}

TEST_F(LabelTest, EmptyLinesInsideTheTextCount) {
    Label* const label = show(new Label(L"A\n\nB", Label::LEFT));
    const Measured line = measureWithGdi(label->getHandle(), fontOf(label->getHandle()), L"A");
    EXPECT_EQ(3 * line.lineHeight, label->getPreferredSize().height);
}

TEST_F(LabelTest, EmptyTextPrefersNothing) {
    Label* const label = show(new Label(L"", Label::LEFT));
    const awt::Dimension size = label->getPreferredSize();
    EXPECT_EQ(0, size.width);
    EXPECT_EQ(0, size.height);
}

TEST_F(LabelTest, MeasuresWithTheFontOfItsControl) {
    awt::GdiObject big(CreateFontW(-40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
    ASSERT_NE(nullptr, big.get());
    Label* const label = show(new Label(L"BB", Label::LEFT));
    const HWND control = label->getHandle();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(big.get()), FALSE);
    const Measured expected = measureWithGdi(control, static_cast<HFONT>(big.get()), L"BB");

    const awt::Dimension size = label->getPreferredSize();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    EXPECT_EQ(expected.width, size.width);
    EXPECT_EQ(expected.lineHeight, size.height);
    EXPECT_GE(size.height, 40);
}

TEST_F(LabelTest, MeasuresOnceInItsLifetime) {
    awt::GdiObject big(CreateFontW(-40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
    ASSERT_NE(nullptr, big.get());
    Label* const label = show(new Label(L"BB", Label::LEFT));
    const HWND control = label->getHandle();
    const awt::Dimension first = label->getPreferredSize();

    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(big.get()), FALSE);
    const awt::Dimension second = label->getPreferredSize();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    EXPECT_EQ(first.width, second.width);
    EXPECT_EQ(first.height, second.height);
}

TEST_F(LabelTest, BeforeItsControlExistsMeasuresWithTheFontTheControlWillGet) {
    Label* const label = new Label(L"A\nBB", Label::LEFT);
    const awt::Dimension before = label->getPreferredSize();
    show(label);
    const Measured bb = measureWithGdi(label->getHandle(), static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), L"BB");

    EXPECT_EQ(bb.width, before.width);
    EXPECT_EQ(2 * bb.lineHeight, before.height);
    EXPECT_EQ(before.width, label->getPreferredSize().width);
}

TEST_F(LabelTest, ControlIsAStaticWithoutPrefixesThatReportsClicks) {
    Label* const label = show(new Label(L"R&D", Label::CENTER));
    const HWND control = label->getHandle();
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    wchar_t caption[32] = {};
    GetWindowTextW(control, caption, 32);

    EXPECT_EQ(L"static", lowerCase(className));
    EXPECT_EQ(std::wstring(L"R&D"), caption);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_CENTER | SS_NOPREFIX | SS_NOTIFY),
              GetWindowLongPtrW(control, GWL_STYLE));
}

TEST_F(LabelTest, NewAlignmentChangesTheLiveControlAndRepaintsIt) {
    Label* const label = show(new Label(L"text", Label::LEFT));
    const HWND control = label->getHandle();
    ASSERT_TRUE(painted(control));

    label->setAlignment(Label::RIGHT);

    EXPECT_EQ(control, label->getHandle());
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_RIGHT | SS_NOPREFIX | SS_NOTIFY),
              GetWindowLongPtrW(control, GWL_STYLE));
    EXPECT_EQ(L"(0,0,120,40)", ui_test::updateRect(control));
    EXPECT_EQ(Label::RIGHT, label->getAlignment());
}

TEST_F(LabelTest, SameAlignmentDoesNothing) {
    Label* const label = show(new Label(L"text", Label::CENTER));
    const HWND control = label->getHandle();
    ASSERT_TRUE(painted(control));
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);

    label->setAlignment(Label::CENTER);

    EXPECT_EQ(style, GetWindowLongPtrW(control, GWL_STYLE));
    EXPECT_EQ(L"none", ui_test::updateRect(control));
}

TEST(LabelAlignment, OtherThanLeftCentreOrRightIsRefusedWithItsValue) {
    try {
        Label label(L"text", SS_ICON);
        FAIL() << "no exception";
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(L"alignment: 3", e.getMessage());
        EXPECT_EQ(-1, e.getErrorCode());
    }
    Label label(L"text", Label::RIGHT);
    EXPECT_THROW(label.setAlignment(7), klib::IllegalArgumentException);
    EXPECT_EQ(Label::RIGHT, label.getAlignment());
}

}  // namespace
