// orlivex.scr /s as the screen-saver host starts it: a picture on every monitor, settings in the
// registry, real X input from xdotool. tests/CMakeLists.txt runs the first test again on two monitors
// and at 144 DPI, each in an X server of its own.
#include <algorithm>

#include "tests/e2e/E2e.h"
#include "tests/support/KnownGap.h"

namespace {

using e2e::Capture;
using testing_support::KnownGap;

class SaverTest : public e2e::SaverFixture {};

// The live columns of a monitor's middle row in the first picture, against the band of grey levels
// that its ramp gives each column: generation 0 is the band's stripe, fully alive; generation 1 (the
// first tick may come before the picture is read) is the two columns bordering it, whose edge
// columns may also be born from a neighbouring monitor's stripe. 0 or 1 when the row is that
// generation of some band, -1 otherwise.
int generationOfStripe(const std::vector<bool>& live) {
    const int width = static_cast<int>(live.size());
    for (int band = 0; band < 8; ++band) {
        bool zero = true, one = true;
        for (int x = 0; x < width; ++x) {
            const auto inBand = [&](int column) {
                return column >= 0 && column < width && e2e::GreyRamp::greyAt(column, width) >> 5 == band;
            };
            zero = zero && live[x] == inBand(x);
            const bool bordering = !inBand(x) && (inBand(x - 1) || inBand(x + 1));
            one = one && (x == 0 || x == width - 1 || live[x] == bordering);
        }
        if (zero) return 0;
        if (one && std::count(live.begin() + 1, live.end() - 1, true) > 0) return 1;
    }
    return -1;
}

// Each monitor shows a grey ramp of its own width. The seed is the band of 32 grey levels that the
// clock picks: on each monitor one vertical stripe, an eighth of it wide, fully alive; everything
// else dead. The window covers the virtual screen in physical pixels; the generations go on on every
// monitor. The pointer rests on the leftmost monitor: the first move message, as the window appears
// under it, only records the position, and a move there of one pixel ends saving.
TEST_F(SaverTest, EveryMonitorShowsLifeFromOneGreyBandOfItsOwnPicture) {
    // Where the system gives every monitor one rectangle, what needs the monitors' own places is marked:
    // the display the run set up, and the pointer on the leftmost monitor.
    const bool oneRectangle = testing_support::wine10ShowsOneRectangleForEveryMonitor();
    const char* const gap = "Wine 10: every monitor of a Xinerama display has the primary's rectangle";
    {
        const KnownGap mark(oneRectangle, gap);
        e2e::expectRequestedDisplay();
    }
    if (HasFatalFailure()) return;  // a failure under the mark is none
    const COLORREF colour = RGB(0x20, 0xC0, 0x40);
    settings.set(L"interval", 1000);
    settings.set(L"size", 1);
    settings.set(L"color", colour);
    const std::vector<RECT> screens = awt::getMonitorRectangles();
    for (const RECT& screen : screens) ramps.push_back(std::make_unique<e2e::GreyRamp>(screen));
    const RECT& leftmost = *std::min_element(
        screens.begin(), screens.end(), [](const RECT& a, const RECT& b) { return a.left < b.left; });
    const int pointerX = (leftmost.left + leftmost.right) / 2;
    const int pointerY = (leftmost.top + leftmost.bottom) / 2;
    {
        const KnownGap mark(oneRectangle, gap);  // X puts the pointer on the monitor that is really there
        EXPECT_NO_THROW(e2e::movePointer(pointerX, pointerY));
    }
    startSaver(colour);
    const RECT all = awt::getVirtualScreen();
    const RECT rect = e2e::rectOf(window);
    EXPECT_TRUE(EqualRect(&rect, &all));
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    // Given the primary's rectangle twice, these see the primary twice, and pass.
    std::vector<Capture> firsts;
    for (const RECT& screen : screens) {
        firsts.push_back(e2e::captureScreen(screen));
        const Capture& first = firsts.back();
        std::vector<bool> live;
        for (int x = 0; x < first.width; ++x) {
            const std::uint32_t middle = first.at(x, first.height / 2);
            ASSERT_TRUE(middle == 0 || middle == e2e::rgbOf(colour)) << "x " << x << ": " << std::hex << middle;
            live.push_back(middle != 0);
            // Columns: the same in every row, but for the rows at the board's dead border.
            for (int y = 37; y < first.height - 2; y += 37) ASSERT_EQ(first.at(x, y), middle) << x << "," << y;
        }
        EXPECT_GE(generationOfStripe(live), 0) << "no stripe of one grey band on the monitor at " << screen.left;
        EXPECT_GE(e2e::livePixels(screen, colour), 0) << "a pixel the saver did not draw";
    }
    ASSERT_TRUE(waitForGenerations(1));
    EXPECT_TRUE(saver->running()) << "ended without a reason";
    for (size_t i = 0; i < screens.size(); ++i) {
        EXPECT_TRUE(e2e::pumpUntil([&] { return e2e::captureScreen(screens[i]).pixels != firsts[i].pixels; },
                                   e2e::PROMPTLY_MS));
        EXPECT_GT(e2e::livePixels(screens[i], colour), 0) << "monitor at " << screens[i].left;
    }
    e2e::xdotool(e2e::mouseMove(pointerX + 1, pointerY));
    expectEndsPromptlyWithZero();
}

// Every pixel has the state of the top-left pixel of its cell of 10 x 10, in the stored colour, and the
// next generation follows within the stored second. Malformed values give the defaults: the settings
// store's test.
TEST_F(SaverTest, DrawsCellsOfTheStoredSizeAndColour) {
    const COLORREF colour = RGB(0xF0, 0x80, 0x10);
    settings.set(L"interval", 1000);
    settings.set(L"size", 10);
    settings.set(L"color", colour);
    ramps.push_back(std::make_unique<e2e::GreyRamp>(e2e::screenRect()));
    startSaver(colour);
    const Capture first = e2e::captureScreen();
    int live = 0;
    for (int y = 0; y < first.height; ++y)
        for (int x = 0; x < first.width; ++x) {
            const std::uint32_t p = first.at(x, y);
            ASSERT_TRUE(p == 0 || p == e2e::rgbOf(colour)) << std::hex << p;
            ASSERT_EQ(p, first.at(x - x % 10, y - y % 10)) << x << "," << y;
            live += p != 0;
        }
    EXPECT_GT(live, 0);
    EXPECT_TRUE(e2e::pumpUntil([&] { return e2e::captureScreen().pixels != first.pixels; }, 3000));
    e2e::xdotool("key shift");
    expectEndsPromptlyWithZero();
}

// The window appears under the resting pointer, whose first move message only records the position.
class SaverEndingTest : public e2e::SaverFixture, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        settings.set(L"interval", 200);
        ramps.push_back(std::make_unique<e2e::GreyRamp>(e2e::screenRect()));
        e2e::movePointer(300, 300);
        startSaver(e2e::DEFAULT_COLOUR);
    }
};

TEST_P(SaverEndingTest, EndsSaving) {
    ASSERT_TRUE(waitForGenerations(2));
    ASSERT_TRUE(saver->running()) << "ended without a reason";
    e2e::xdotool(GetParam());
    expectEndsPromptlyWithZero();
}

INSTANTIATE_TEST_SUITE_P(Input, SaverEndingTest,
                         ::testing::Values("key a", "key Shift_L", "key Alt_L", "click 1", "click 5",
                                           "mousemove 300 299"));

}  // namespace
