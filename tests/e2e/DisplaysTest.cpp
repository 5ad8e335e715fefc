// orlivex.scr on more than one monitor and on a scaled display. These run in X servers of their own
// (tools/with-wine.sh --monitors, --dpi; see tests/CMakeLists.txt) and are skipped elsewhere.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/E2e.h"

namespace {

using e2e::Capture;
using e2e::Process;

constexpr DWORD STARTUP_MS = 15000;
constexpr DWORD PROMPTLY_MS = 5000;
constexpr COLORREF COLOUR = RGB(0x20, 0xC0, 0x40);

RECT virtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// Live pixels in area, or -1 when a pixel is neither black nor the cell colour (not drawn by the saver).
int livePixels(const RECT& area) {
    const Capture c = e2e::captureScreen(area.left, area.top, area.right - area.left, area.bottom - area.top);
    int live = 0;
    for (const std::uint32_t p : c.pixels) {
        if (p != 0 && p != e2e::rgbOf(COLOUR)) return -1;
        live += p != 0;
    }
    return live;
}

class DisplaysTest : public ::testing::Test {
protected:
    void TearDown() override {
        saver.reset();
        ramps.clear();
    }

    void startSaver() {
        settings.setDword(L"color", COLOUR);
        saver = std::make_unique<Process>(L"/s");
        window = e2e::waitForWindow(saver->id(), STARTUP_MS);
        ASSERT_NE(window, nullptr) << "no saver window";
    }

    void expectEndsPromptlyWithZero() {
        ASSERT_TRUE(saver->waitExit(PROMPTLY_MS)) << "the saver did not end";
        EXPECT_EQ(saver->exitCode(), 0u);
    }

    e2e::StoredSettings settings;
    std::vector<std::unique_ptr<e2e::GreyRamp>> ramps;
    std::unique_ptr<Process> saver;
    HWND window = nullptr;
};

// The primary monitor and one left of it, at negative x.
class TwoMonitorSaverTest : public DisplaysTest {
protected:
    void SetUp() override {
        screens = e2e::monitors();
        if (screens.size() < 2) GTEST_SKIP() << "needs two monitors";
        ASSERT_LT(screens[1].left, 0) << "the second monitor lies left of the primary";
    }

    // xdotool's coordinates: X puts the top-left corner of the virtual screen at 0,0.
    static std::string xPoint(int x, int y) {
        return std::to_string(x - GetSystemMetrics(SM_XVIRTUALSCREEN)) + " " +
               std::to_string(y - GetSystemMetrics(SM_YVIRTUALSCREEN));
    }

    std::vector<RECT> screens;
};

// Each monitor shows a grey ramp of its own width: the first paint shows on each the same band of
// grey levels, an eighth of that monitor wide, and the generations go on on every monitor. The
// pointer rests on the second monitor; a move there of one pixel ends saving.
TEST_F(TwoMonitorSaverTest, EveryMonitorShowsLifeFromItsOwnPictureAndAMoveOnTheSecondEndsSaving) {
    settings.setDword(L"interval", 1000);
    settings.setDword(L"size", 1);
    for (const RECT& screen : screens) ramps.push_back(std::make_unique<e2e::GreyRamp>(screen));
    const RECT& second = screens[1];
    const int x = (second.left + second.right) / 2;
    const int y = (second.top + second.bottom) / 2;
    e2e::xdotool("mousemove " + xPoint(x, y));
    startSaver();
    RECT rect{};
    GetWindowRect(window, &rect);
    const RECT all = virtualScreen();
    EXPECT_TRUE(EqualRect(&rect, &all));
    const auto middleRow = [](const RECT& s) { return RECT{s.left, s.bottom / 2, s.right, s.bottom / 2 + 1}; };
    ASSERT_TRUE(e2e::pumpUntil([&] { return livePixels(middleRow(screens[0])) > 0; }, STARTUP_MS)) << "no paint";
    for (const RECT& screen : screens) {
        EXPECT_EQ(livePixels(middleRow(screen)), (screen.right - screen.left) / 8) << "monitor at " << screen.left;
    }
    EXPECT_FALSE(saver->waitExit(1200)) << "the saver ended without a reason";
    for (const RECT& screen : screens) {
        EXPECT_GT(livePixels(screen), 0) << "monitor at " << screen.left << "," << screen.top;
    }
    e2e::xdotool("mousemove " + xPoint(x + 1, y));
    expectEndsPromptlyWithZero();
}

// A display scaled to 150 %: the program works in physical pixels. This test program declares itself
// aware too, so that it measures in physical pixels as well.
class HighDpiTest : public DisplaysTest {
protected:
    void SetUp() override {
        SetProcessDPIAware();
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        if (dpi != 144) GTEST_SKIP() << "needs a display at 144 DPI";
    }
};

// Cell size 1 is one physical pixel: the seed band of the grey ramp is exactly an eighth of the
// screen wide, and the saver covers every pixel of it.
TEST_F(HighDpiTest, TheSaverCoversEveryPhysicalPixelInCellsOfOnePixel) {
    settings.setDword(L"interval", 1000);
    settings.setDword(L"size", 1);
    ramps.push_back(std::make_unique<e2e::GreyRamp>());
    startSaver();
    const RECT all = virtualScreen();
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_TRUE(EqualRect(&rect, &all));
    const RECT middleRow{all.left, all.bottom / 2, all.right, all.bottom / 2 + 1};
    ASSERT_TRUE(e2e::pumpUntil([&] { return livePixels(middleRow) > 0; }, STARTUP_MS)) << "no first paint";
    EXPECT_EQ(livePixels(middleRow), (all.right - all.left) / 8);
    EXPECT_GE(livePixels(all), 0) << "a pixel the saver did not draw";
    e2e::xdotool("key shift");
    expectEndsPromptlyWithZero();
}

// The extent of text in the system's dialog font at this program's DPI, scaled by scale.
SIZE textExtent(const wchar_t* text, double scale) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = static_cast<LONG>(metrics.lfMessageFont.lfHeight * scale);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &extent);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(nullptr, dc);
    return extent;
}

struct Control {
    std::wstring text;  // empty for the preview
    RECT rect;
};

// The labels, buttons and the preview of the dialog, two levels down (dialog, panel, widget).
std::vector<Control> controlsOf(HWND dialog) {
    std::vector<Control> found;
    for (HWND panel = GetWindow(dialog, GW_CHILD); panel; panel = GetWindow(panel, GW_HWNDNEXT)) {
        for (HWND child = GetWindow(panel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[32] = L"";
            wchar_t text[64] = L"";
            GetClassNameW(child, name, 32);
            SendMessageTimeoutW(child, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
            RECT rect{};
            GetWindowRect(child, &rect);
            if (lstrcmpW(name, L"Static") == 0 || (lstrcmpW(name, L"Button") == 0 && text[0])) {
                found.push_back(Control{text, rect});
            }
        }
    }
    return found;
}

// Every text fits its control at 144 DPI, in a font larger than at 96; the preview is 192 x 144.
TEST_F(HighDpiTest, TheDialogScalesAsOnePieceWithALargerPreview) {
    Process dialog(L"/c");
    const HWND frame = e2e::waitForWindow(dialog.id(), STARTUP_MS);
    ASSERT_NE(frame, nullptr);
    std::vector<Control> controls;
    // Shown first, laid out in the next idle step.
    e2e::pumpUntil(
        [&] {
            controls = controlsOf(frame);
            for (const Control& c : controls)
                if (c.rect.right == c.rect.left) return false;
            return !controls.empty();
        },
        PROMPTLY_MS);
    int previews = 0;
    int texts = 0;
    for (const Control& c : controls) {
        const int width = c.rect.right - c.rect.left;
        const int height = c.rect.bottom - c.rect.top;
        if (c.text.empty()) {
            previews += width == 192 && height == 144;
            continue;
        }
        ++texts;
        const SIZE at144 = textExtent(c.text.c_str(), 1.0);
        EXPECT_GE(width, at144.cx) << "clipped: " << testing::PrintToString(c.text);
        EXPECT_GE(height, at144.cy) << "clipped: " << testing::PrintToString(c.text);
        EXPECT_GT(at144.cy, textExtent(c.text.c_str(), 96.0 / 144.0).cy);
    }
    EXPECT_EQ(previews, 1) << "one 192 x 144 preview";
    EXPECT_EQ(texts, 7) << "four labels and three buttons";
    e2e::xdotool("key Escape");
    ASSERT_TRUE(dialog.waitExit(PROMPTLY_MS));
    EXPECT_EQ(dialog.exitCode(), 0u);
}

}  // namespace
