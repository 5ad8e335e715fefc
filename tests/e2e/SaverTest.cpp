// orlivex.scr /s as the screen-saver host starts it: a picture on the screen, settings in the
// registry, real X input from xdotool.
#include <gtest/gtest.h>

#include <set>

#include "tests/e2e/E2e.h"

namespace {

using e2e::Capture;
using e2e::Process;

constexpr DWORD STARTUP_MS = 15000;
constexpr DWORD PROMPTLY_MS = 5000;

int screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int screenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// True when every pixel of the row is black or colour: the picture under the saver is gone.
bool rowIsDrawnBySaver(int y, std::uint32_t colour) {
    const Capture row = e2e::captureScreen(0, y, screenWidth(), 1);
    bool anyBlack = false;
    for (int x = 0; x < row.width; ++x) {
        if (row.at(x, 0) == 0) anyBlack = true;
        else if (row.at(x, 0) != colour) return false;
    }
    return anyBlack;
}

class SaverTest : public ::testing::Test {
protected:
    void TearDown() override {
        saver.reset();
        // Destroyed only after the saver is gone: destroying it under a running saver takes Wine seconds.
        ramp.reset();
        e2e::xdotool("mousemove 5 5");
    }

    // The picture the saver seeds from, under the saver for the whole test.
    void showGreyRamp() { ramp = std::make_unique<e2e::GreyRamp>(); }

    // Starts the saver and waits for its first full paint. The saver's settings must be stored first.
    void startSaver(std::uint32_t colour) {
        saver = std::make_unique<Process>(L"/s");
        window = e2e::waitForWindow(saver->id(), STARTUP_MS);
        ASSERT_NE(window, nullptr) << "no saver window";
        const int middle = screenHeight() / 2;

        ASSERT_TRUE(e2e::pumpUntil([&] { return rowIsDrawnBySaver(middle, colour); }, STARTUP_MS))
            << "the first paint did not replace the picture";
    }

    void expectEndsPromptlyWithZero() {
        ASSERT_TRUE(saver->waitExit(PROMPTLY_MS)) << "the saver did not end";
        EXPECT_EQ(saver->exitCode(), 0u);
    }

    void expectStillRunningAfter(DWORD ms) {
        EXPECT_FALSE(saver->waitExit(ms)) << "the saver ended without a reason";
    }

    e2e::StoredSettings settings;
    std::unique_ptr<e2e::GreyRamp> ramp;
    std::unique_ptr<Process> saver;
    HWND window = nullptr;
};

TEST_F(SaverTest, CoversTheScreenWithATopmostWindow) {
    settings.setDword(L"interval", 1000);
    startSaver(e2e::rgbOf(0x804060));
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, screenWidth());
    EXPECT_EQ(rect.bottom, screenHeight());
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    e2e::xdotool("key shift");
    expectEndsPromptlyWithZero();
}

// The seed is the band of 32 grey levels that the clock picks: on a horizontal grey ramp that is
// one vertical stripe, an eighth of the screen wide, fully alive; everything else is dead.
TEST_F(SaverTest, FirstPaintShowsOneGreyBandOfThePictureInTheStoredColour) {
    const COLORREF colour = RGB(0x20, 0xC0, 0x40);
    settings.setDword(L"interval", 1000);
    settings.setDword(L"size", 1);
    settings.setDword(L"color", colour);
    showGreyRamp();
    startSaver(e2e::rgbOf(colour));
    const Capture first = e2e::captureScreen();
    std::set<int> bands;
    for (int x = 0; x < first.width; ++x) {
        const std::uint32_t top = first.at(x, 0);
        ASSERT_TRUE(top == 0 || top == e2e::rgbOf(colour)) << "x " << x << ": " << std::hex << top;
        if (top != 0) bands.insert(e2e::GreyRamp::greyAt(x, first.width) >> 5);
        for (int y = 1; y < first.height; y += 37) ASSERT_EQ(first.at(x, y), top) << "x " << x << " y " << y;
    }
    ASSERT_EQ(bands.size(), 1u) << "live cells must come from exactly one grey band";
    const int band = *bands.begin();
    for (int x = 0; x < first.width; ++x) {
        const bool inBand = (e2e::GreyRamp::greyAt(x, first.width) >> 5) == band;
        EXPECT_EQ(first.at(x, first.height / 2) != 0, inBand) << "x " << x;
    }

    // The next generations change the picture.
    ASSERT_TRUE(e2e::pumpUntil([&] { return e2e::captureScreen().pixels != first.pixels; }, 5000));
    e2e::xdotool("key shift");
    expectEndsPromptlyWithZero();
}

TEST_F(SaverTest, CellSizeAndColourComeFromTheRegistry) {
    const COLORREF colour = RGB(0xF0, 0x80, 0x10);
    settings.setDword(L"interval", 1000);
    settings.setDword(L"size", 10);
    settings.setDword(L"color", colour);
    showGreyRamp();
    startSaver(e2e::rgbOf(colour));
    const Capture c = e2e::captureScreen();
    int live = 0;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            const std::uint32_t p = c.at(x, y);
            ASSERT_TRUE(p == 0 || p == e2e::rgbOf(colour));
            // Every pixel has the state of the top-left pixel of its 10 x 10 cell.
            ASSERT_EQ(p, c.at(x - x % 10, y - y % 10)) << x << "," << y;
            live += p != 0;
        }
    EXPECT_GT(live, 0);
    e2e::xdotool("key shift");
    expectEndsPromptlyWithZero();
}

TEST_F(SaverTest, MalformedStoredValuesFallBackToTheDefaults) {
    settings.setString(L"size", L"10");
    settings.setShortDword(L"color", 0x00FF);
    settings.setDword(L"interval", 5000);  // out of range: the default 50 ms
    showGreyRamp();
    startSaver(e2e::rgbOf(0x804060));
    const Capture first = e2e::captureScreen();
    bool oddBlockSeen = false;
    for (int y = 0; y + 1 < first.height; y += 2)
        for (int x = 0; x + 1 < first.width; x += 2) {
            const std::uint32_t p = first.at(x, y);
            ASSERT_TRUE(p == 0 || p == e2e::rgbOf(0x804060)) << std::hex << p;
            ASSERT_EQ(first.at(x + 1, y + 1), p) << "cells of 2 x 2 pixels";
            if (x % 10 && first.at(x, y) != first.at(x - 1, y)) oddBlockSeen = true;
        }
    EXPECT_TRUE(oddBlockSeen) << "cells are smaller than the stored 10";
    // At 50 ms a generation follows within a second.
    EXPECT_TRUE(e2e::pumpUntil([&] { return e2e::captureScreen().pixels != first.pixels; }, 1000));
    e2e::xdotool("key shift");
    expectEndsPromptlyWithZero();
}

class SaverInputTest : public SaverTest {
protected:
    void SetUp() override {
        settings.setDword(L"interval", 200);
        e2e::xdotool("mousemove 300 300");
        startSaver(e2e::rgbOf(0x804060));
    }
};

class SaverEndingTest : public SaverInputTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SaverEndingTest, EndsSaving) {
    e2e::xdotool(GetParam());
    expectEndsPromptlyWithZero();
}

INSTANTIATE_TEST_SUITE_P(Input, SaverEndingTest,
                         ::testing::Values("key a", "key Shift_L", "key Alt_L", "click 1", "click 5"));

// The window appears under the pointer, which gives it its first mouse-move message: that one only
// records the position, and so does a move to the same place; one pixel away ends saving.
TEST_F(SaverInputTest, TheFirstMouseMoveOnlyRecordsThePosition) {
    expectStillRunningAfter(1500);
    e2e::xdotool("mousemove 300 300");
    expectStillRunningAfter(1000);
    e2e::xdotool("mousemove 301 300");
    expectEndsPromptlyWithZero();
}

TEST_F(SaverInputTest, AMoveOfOnePixelVerticallyEndsSaving) {
    expectStillRunningAfter(500);
    e2e::xdotool("mousemove 300 299");
    expectEndsPromptlyWithZero();
}

}  // namespace
