// The preview window draws in-process: Wine does not show another process's child windows, so the
// drawing of preview mode is checked here, with the preview started the way the preview mode starts it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "tests/support/Canvas.h"
#include "tests/support/SurfaceWindow.h"
#include "app/Orlivex.h"
#include "app/SettingsStore.h"
#include "awt/Toolkit.h"
#include "screensaver/PreviewWindow.h"
#include "tests/support/ComponentTestSupport.h"

namespace {

constexpr int AREA_WIDTH = 152;
constexpr int AREA_HEIGHT = 112;

// The screen shows the area, which the preview seeds from: black and white at the corners of both halves.
bool areaOnScreen() {
    const HDC screen = GetDC(nullptr);
    bool shown = screen != nullptr;
    for (int i = 0; shown && i < 4; ++i) {
        const int x = i < 2 ? i * (AREA_WIDTH / 2 - 1) : AREA_WIDTH / 2 + (i - 2) * (AREA_WIDTH / 2 - 1);
        shown = (GetPixel(screen, x, i % 2 * (AREA_HEIGHT - 1)) & 0xFFFFFF) == (i < 2 ? 0u : 0xFFFFFFu);
    }
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return shown;
}

// The window's pixels as 0x00RRGGBB, read back from its device context.
std::vector<std::uint32_t> pixelsOf(HWND window) {
    testing_support::Canvas canvas(AREA_WIDTH, AREA_HEIGHT, RGB(255, 0, 255));
    canvas.copyFrom(window);
    return canvas.pixels();
}

DWORD WINAPI tickOfTheDarkBand() { return 0; }  // key 0: grey levels 0 to 31 come alive

// Counts the timer ticks it runs.
class CountingRenderer : public Orlivex {
public:
    void actionPerformed(awt::ActionEvent& event) override {
        ++ticks;
        Orlivex::actionPerformed(event);
    }
    int ticks = 0;
};

class PreviewDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        areaWindow = std::make_unique<testing_support::SurfaceWindow>(
            RECT{0, 0, AREA_WIDTH, AREA_HEIGHT}, WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, areaPicture.get());
        ASSERT_TRUE(ui_test::pumpUntil(areaOnScreen, 10000)) << "the area never reached the screen";
        renderer = std::make_unique<CountingRenderer>();
        renderer->setTickSource(tickOfTheDarkBand);
        renderer->setInterval(1000);
        renderer->setColor(RGB(0x60, 0x40, 0x80));
        renderer->setPicture(PICTURE_SCREEN);  // whatever the registry holds
        preview = std::make_unique<screensaver::PreviewWindow>(areaWindow->get());
        preview->setRenderer(renderer.get());
        preview->addNotify();
    }
    // The picture of the current board, cell by cell from its state, as 0x00RRGGBB.
    std::vector<std::uint32_t> boardPicture(int cellSize) const {
        std::vector<std::uint32_t> board;
        for (int y = 0; y < AREA_HEIGHT; ++y)
            for (int x = 0; x < AREA_WIDTH; ++x)
                board.push_back(renderer->isAlive(x / cellSize, y / cellSize) ? 0x604080u : 0u);
        return board;
    }
    // Whether the preview window shows picture, compared without the alpha byte.
    bool shows(const std::vector<std::uint32_t>& picture) const {
        std::vector<std::uint32_t> shown = pixelsOf(preview->getHandle());
        for (std::uint32_t& p : shown) p &= 0xFFFFFF;
        return shown == picture;
    }

    void TearDown() override {
        preview.reset();
        renderer.reset();
        areaWindow.reset();
    }

    // The host's preview area at the screen's top-left corner, where the preview seeds from: black on
    // the left half, white on the right half.
    std::unique_ptr<testing_support::Canvas> areaPicture = std::make_unique<testing_support::Canvas>(
        AREA_WIDTH, AREA_HEIGHT, [](int x, int) { return x < AREA_WIDTH / 2 ? RGB(0, 0, 0) : RGB(255, 255, 255); });
    std::unique_ptr<testing_support::SurfaceWindow> areaWindow;
    std::unique_ptr<CountingRenderer> renderer;
    std::unique_ptr<screensaver::PreviewWindow> preview;
};

TEST_F(PreviewDrawingTest, CoversTheAreaShowsTheSeededBandInTheCellColourOnBlackAndThenChanges) {
    EXPECT_EQ(renderer->getWidth(), AREA_WIDTH);
    EXPECT_EQ(renderer->getHeight(), AREA_HEIGHT);

    UpdateWindow(preview->getHandle());
    const auto first = pixelsOf(preview->getHandle());
    const std::uint32_t cell = 0x604080;
    for (int y = 0; y < AREA_HEIGHT; ++y)
        for (int x = 0; x < AREA_WIDTH; ++x)
            ASSERT_EQ(first[y * AREA_WIDTH + x] & 0xFFFFFF, x < AREA_WIDTH / 2 ? cell : 0u) << x << "," << y;

    std::vector<std::uint32_t> later;
    EXPECT_TRUE(ui_test::pumpUntil([&] { return (later = pixelsOf(preview->getHandle())) != first; }, 3000));
    // The colour without the alpha byte, which some systems fill.
    for (const std::uint32_t p : later) ASSERT_TRUE((p & 0xFFFFFF) == 0 || (p & 0xFFFFFF) == cell) << std::hex << p;
}

TEST_F(PreviewDrawingTest, ANewIntervalRestartsTheRunningTimerAtTheNewPeriod) {
    // Started at 1000 ms: without a restart no tick would come within the deadline.
    renderer->setInterval(20);
    EXPECT_TRUE(ui_test::pumpUntil([&] { return renderer->ticks >= 5; }, 800)) << renderer->ticks;
}

TEST_F(PreviewDrawingTest, ANewCellSizeRepaintsTheWholeNewBoard) {
    UpdateWindow(preview->getHandle());
    // Without ticks only a repaint can bring the new board to the window.
    preview->killTimer(renderer.get());
    renderer->setCellSize(5);
    EXPECT_EQ(renderer->getColumns(), (AREA_WIDTH + 4) / 5);
    const std::vector<std::uint32_t> board = boardPicture(5);
    ASSERT_NE(std::count(board.begin(), board.end(), 0u), 0);
    ASSERT_NE(std::count(board.begin(), board.end(), 0x604080u), 0);
    EXPECT_TRUE(ui_test::pumpUntil([&] { return shows(board); }, 2000));
    preview->setTimer(1000, renderer.get());  // stopping the preview kills it
}

TEST_F(PreviewDrawingTest, ANewPictureChoiceReseedsAndRepaintsTheWholeBoardButTheSameOrABadOneChangesNothing) {
    UpdateWindow(preview->getHandle());
    preview->killTimer(renderer.get());
    // Over the white half nothing grows from the screen: a cell alive there shows an unchanged board.
    const int column = renderer->getColumns() - 2;
    renderer->setAlive(column, 1, true);
    renderer->setPicture(PICTURE_SCREEN);
    renderer->setPicture(-1);
    renderer->setPicture(3);
    EXPECT_EQ(PICTURE_SCREEN, renderer->getPicture());
    EXPECT_TRUE(renderer->isAlive(column, 1)) << "the board was rebuilt for the same choice";

    renderer->setPicture(PICTURE_GENERATED);
    EXPECT_EQ(PICTURE_GENERATED, renderer->getPicture());
    renderer->setAlive(column, 1, true);
    renderer->setPicture(PICTURE_SCREEN);
    EXPECT_FALSE(renderer->isAlive(column, 1)) << "the board was not reseeded";
    const std::vector<std::uint32_t> board = boardPicture(renderer->getCellSize());
    EXPECT_TRUE(ui_test::pumpUntil([&] { return shows(board); }, 2000)) << "the window was not repainted";
    preview->setTimer(1000, renderer.get());
}

}  // namespace
