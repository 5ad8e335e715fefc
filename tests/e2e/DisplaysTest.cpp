// The configuration dialog on a display scaled to 150 %, in an X server of its own (tools/with-wine.sh
// --dpi; see tests/CMakeLists.txt); skipped elsewhere. The program and this test are per-monitor
// aware: both measure in physical pixels.
#include "awt/Dpi.h"
#include "awt/GdiObject.h"
#include "tests/e2e/E2e.h"

namespace {

// The extent of text in the system's dialog font at dpi.
SIZE textExtent(const std::wstring& text, UINT dpi) {
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    const auto forDpi = awt::user32Function<ForDpi>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (forDpi == nullptr || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), e2e::screenDpi());
    }
    const awt::GdiObject font(CreateFontIndirectW(&metrics.lfMessageFont));
    const awt::WindowDC dc(GetDC(nullptr));
    const awt::Selection selected = awt::select(dc.get(), font.get());
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent;
}

UINT dpiOfWindow(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    const auto forWindow = awt::user32Function<ForWindow>("GetDpiForWindow");
    return forWindow != nullptr ? forWindow(window) : e2e::screenDpi();
}

// The dialog's window is at 144 DPI, every text fits its control in the dialog font at 144 DPI, and the
// preview is 192 x 144.
TEST(HighDpiTest, TheDialogScalesAsOnePieceWithALargerPreview) {
    ASSERT_NO_FATAL_FAILURE(e2e::expectRequestedDisplay());
    if (e2e::screenDpi() != 144) GTEST_SKIP() << "needs a display at 144 DPI";
    e2e::Process dialog(L"/c");
    const HWND frame = e2e::waitForWindow(dialog.id(), e2e::STARTUP_MS);
    ASSERT_NE(frame, nullptr);
    // The labels, the picture list, buttons and the preview (and panels without text); shown first, laid out in the
    // next idle step, and ready for keys once it has focused a control.
    std::vector<HWND> controls;
    ASSERT_TRUE(e2e::pumpUntil(
        [&] {
            controls.clear();
            for (HWND child : e2e::descendants(frame)) {
                const std::wstring cls = e2e::classOf(child);
                if (cls == L"Static" || cls == L"ComboBox" || (cls == L"Button" && !e2e::textOf(child).empty()))
                    controls.push_back(child);
            }
            for (HWND c : controls)
                if (e2e::rectOf(c).right == e2e::rectOf(c).left) return false;
            return !controls.empty();
        },
        e2e::PROMPTLY_MS))
        << "the dialog's controls were not laid out";
    ASSERT_TRUE(e2e::waitUntilReadyForKeys(frame)) << "the dialog is not in front with a focused control";
    EXPECT_EQ(dpiOfWindow(frame), 144u);
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
        const SIZE at144 = textExtent(text, 144);
        EXPECT_GE(r.right - r.left, at144.cx) << "clipped: " << testing::PrintToString(text);
        EXPECT_GE(r.bottom - r.top, at144.cy) << "clipped: " << testing::PrintToString(text);
    }
    EXPECT_EQ(previews, 1) << "one 192 x 144 preview";
    EXPECT_EQ(texts, 9) << "five labels, the picture list and three buttons";
    e2e::xdotool("key Escape");
    ASSERT_TRUE(dialog.waitExit(e2e::PROMPTLY_MS));
    EXPECT_EQ(dialog.exitCode(), 0u);
}

}  // namespace
