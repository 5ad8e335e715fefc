// The configuration dialog on a display scaled to 150 %, in an X server of its own (tools/with-wine.sh
// --dpi; see tests/CMakeLists.txt); skipped elsewhere. The program and this test measure in physical
// pixels.
#include "awt/GdiObject.h"
#include "tests/e2e/E2e.h"

namespace {

// The extent of text in the system's dialog font at this program's DPI, scaled by scale.
SIZE textExtent(const std::wstring& text, double scale) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = static_cast<LONG>(metrics.lfMessageFont.lfHeight * scale);
    const awt::GdiObject font(CreateFontIndirectW(&metrics.lfMessageFont));
    const awt::WindowDC dc(GetDC(nullptr));
    const awt::Selection selected = awt::select(dc.get(), font.get());
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

// Every text fits its control at 144 DPI, in a font larger than at 96; the preview is 192 x 144.
TEST(HighDpiTest, TheDialogScalesAsOnePieceWithALargerPreview) {
    ASSERT_NO_FATAL_FAILURE(e2e::expectRequestedDisplay());
    if (e2e::screenDpi() != 144) GTEST_SKIP() << "needs a display at 144 DPI";
    e2e::Process dialog(L"/c");
    const HWND frame = e2e::waitForWindow(dialog.id(), e2e::STARTUP_MS);
    ASSERT_NE(frame, nullptr);
    // The labels, buttons and the preview (and panels without text); shown first, laid out in the
    // next idle step.
    std::vector<HWND> controls;
    e2e::pumpUntil(
        [&] {
            controls.clear();
            for (HWND child : e2e::descendants(frame)) {
                const std::wstring cls = e2e::classOf(child);
                if (cls == L"Static" || (cls == L"Button" && !e2e::textOf(child).empty())) controls.push_back(child);
            }
            for (HWND c : controls)
                if (e2e::rectOf(c).right == e2e::rectOf(c).left) return false;
            return !controls.empty();
        },
        e2e::PROMPTLY_MS);
    int previews = 0;
    int texts = 0;
    for (HWND c : controls) {
        const RECT r = e2e::rectOf(c);
        const std::wstring text = e2e::textOf(c);
        if (text.empty()) {
            previews += r.right - r.left == 192 && r.bottom - r.top == 144;
            continue;
        }
        ++texts;
        const SIZE at144 = textExtent(text, 1.0);
        EXPECT_GE(r.right - r.left, at144.cx) << "clipped: " << testing::PrintToString(text);
        EXPECT_GE(r.bottom - r.top, at144.cy) << "clipped: " << testing::PrintToString(text);
        EXPECT_GT(at144.cy, textExtent(text, 96.0 / 144.0).cy);
    }
    EXPECT_EQ(previews, 1) << "one 192 x 144 preview";
    EXPECT_EQ(texts, 7) << "four labels and three buttons";
    e2e::xdotool("key Escape");
    ASSERT_TRUE(dialog.waitExit(e2e::PROMPTLY_MS));
    EXPECT_EQ(dialog.exitCode(), 0u);
}

}  // namespace
