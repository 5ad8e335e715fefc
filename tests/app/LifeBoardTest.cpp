#include "app/Orlivex.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "tests/support/Canvas.h"
#include "awt/AWTException.h"
#include "awt/Events.h"
#include "klib/Exception.h"
#include "screensaver/SaverWindow.h"
#include "tests/support/ComponentTestSupport.h"

using testing_support::Canvas;
using testing_support::ScreenPicture;

namespace {

using Grid = std::vector<int>;  // the cells row by row, 1 alive
using Rows = std::initializer_list<const char*>;

DWORD WINAPI fixedTick() { return 12345; }
DWORD WINAPI grey90Key() { return 0x47 << 2; }

int alive(const Grid& grid) { return static_cast<int>(std::count(grid.begin(), grid.end(), 1)); }
int differences(const Grid& a, const Grid& b) {
    return std::inner_product(a.begin(), a.end(), b.begin(), 0, std::plus<>(), std::not_equal_to<>());
}

class LifeBoard : public ::testing::Test {
protected:
    // A board over width x height pixels with nothing alive.
    void build(int width, int height, int cellSize = 1) {
        life.setTickSource(fixedTick);
        life.setCellSize(cellSize);
        life.setArea(width, height);
        life.createBoard();  // seeds from whatever the screen shows
        load(empty());
    }
    Grid empty() const { return Grid(static_cast<size_t>(life.getColumns()) * life.getRows(), 0); }
    // Rows of '#' (alive) and '.' with their top-left cell at (left, top), on an empty grid.
    Grid shape(int left, int top, Rows rows) const {
        Grid grid = empty();
        for (const char* row : rows) {
            for (int c = 0; row[c] != '\0'; ++c) grid[top * life.getColumns() + left + c] = row[c] == '#';
            ++top;
        }
        return grid;
    }
    Grid random(unsigned seed, unsigned percentAlive = 40) const {
        std::mt19937 generator(seed);
        Grid grid = empty();
        for (int& cell : grid) cell = generator() % 100 < percentAlive;
        return grid;
    }
    void load(const Grid& grid) {
        for (size_t i = 0; i < grid.size(); ++i) life.setAlive(i % life.getColumns(), i / life.getColumns(), grid[i]);
    }
    Grid snapshot() const {
        Grid grid = empty();
        for (size_t i = 0; i < grid.size(); ++i) grid[i] = life.isAlive(i % life.getColumns(), i / life.getColumns());
        return grid;
    }

    // Both rules written plainly, with explicit bounds for the dead border; spread draws rand() as documented.
    Grid reference(const Grid& grid, bool spread) const {
        const int columns = life.getColumns(), rows = life.getRows();
        Grid next = empty();
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                const auto cell = [&](int cc, int rr) {
                    return cc >= 0 && cc < columns && rr >= 0 && rr < rows && grid[rr * columns + cc];
                };
                int n = 0;  // the cell and its eight neighbours
                for (int i = 0; i < 9; ++i) n += cell(c - 1 + i % 3, r - 1 + i / 3);
                const bool orthogonal = cell(c, r - 1) || cell(c - 1, r) || cell(c + 1, r) || cell(c, r + 1);
                next[r * columns + c] = spread ? cell(c, r) || orthogonal || (std::rand() & 15) == 0
                                               : n == 3 || (cell(c, r) && n == 4);
            }
        }
        return next;
    }

    Orlivex life;
};

TEST_F(LifeBoard, RoundsPartialCellsUpAndStagnatesWhenFewerThanOneHundredthOfTheCellsChange) {
    const struct { int width, height, size, columns, rows, threshold; } cases[] = {
        {1024, 768, 10, 103, 77, 79}, {10, 10, 1, 10, 10, 1}, {11, 9, 1, 11, 9, 0}, {21, 19, 10, 3, 2, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height << " size " << c.size);
        build(c.width, c.height, c.size);
        EXPECT_EQ(c.columns, life.getColumns());
        EXPECT_EQ(c.rows, life.getRows());
        EXPECT_EQ(c.threshold, life.getChangeThreshold());
        EXPECT_EQ(L"column: " + std::to_wstring(c.columns) + L" (must be 0<=column<" + std::to_wstring(c.columns) + L")",
                  ui_test::messageOf<klib::IndexOutOfBoundsException>([&] { life.isAlive(c.columns, 0); }));
        EXPECT_EQ(L"row: -1 (must be 0<=row<" + std::to_wstring(c.rows) + L")",
                  ui_test::messageOf<klib::IndexOutOfBoundsException>([&] { life.setAlive(0, -1, true); }));
        life.nextGeneration(nullptr);  // an empty board changes nothing: stagnant unless the threshold is 0
        EXPECT_EQ(c.threshold > 0, life.isStagnant());
        life.nextGeneration(nullptr);
        EXPECT_EQ(c.threshold > 0, alive(snapshot()) > 0);
    }
}

TEST_F(LifeBoard, BlinkerBlockGliderAndARowAlongTheDeadBorderBehaveAsKnown) {
    const struct { int left, top; Rows start; int generations, endLeft, endTop; Rows end; int lastChanges; } cases[] = {
        {4, 5, {"###"}, 1, 5, 4, {"#", "#", "#"}, 4}, {4, 5, {"###"}, 2, 4, 5, {"###"}, 4},
        {4, 5, {"##", "##"}, 3, 4, 5, {"##", "##"}, 0},
        {4, 5, {".#.", "..#", "###"}, 4, 5, 6, {".#.", "..#", "###"}, 4},
        // The row above counts as dead and nothing wraps: the bottom row stays empty.
        {0, 0, {"####################"}, 1, 1, 0, {"##################", "##################"}, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.start.size() << " rows, " << c.generations << " generations");
        build(20, 20);  // threshold 4
        load(shape(c.left, c.top, c.start));
        int last = -1;
        for (int i = 0; i < c.generations; ++i) last = life.lifeStep(nullptr);
        EXPECT_EQ(shape(c.endLeft, c.endTop, c.end), snapshot());
        EXPECT_EQ(c.lastChanges, last);
        EXPECT_EQ(c.lastChanges < 4, life.isStagnant());  // 4 changes against threshold 4 is not stagnant
    }
}

TEST_F(LifeBoard, FollowsTheRuleAndCountsTheChangesOnRandomBoardsOfAnySize) {
    // The last: a row wider than 64 words, all alive, so nearly every cell changes at once.
    const struct { int width, height; unsigned percentAlive; } sizes[] = {
        {1, 1, 40}, {37, 23, 40}, {3, 41, 40}, {203, 17, 40}, {128, 9, 40}, {4200, 3, 100}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(::testing::Message() << size.width << "x" << size.height);
        build(size.width, size.height);
        load(random(static_cast<unsigned>(size.width * 1000 + size.height), size.percentAlive));
        for (int generation = 0; generation < 12; ++generation) {
            const Grid before = snapshot(), expected = reference(before, false);
            const int changed = life.lifeStep(nullptr);
            EXPECT_EQ(differences(before, expected), changed) << "generation " << generation;
            if (const int wrong = differences(expected, snapshot())) {
                ADD_FAILURE() << wrong << " cells wrong in generation " << generation;
                break;  // the next generations follow from a wrong one
            }
        }
    }
}

TEST_F(LifeBoard, StagnationGivesExactlyOneSpreadGenerationThatGrowsLiveCellsOrthogonallyAndScattersBirths) {
    build(200, 200);
    load(shape(20, 20, {"##", "##"}));
    life.nextGeneration(nullptr);
    ASSERT_TRUE(life.isStagnant());

    std::srand(fixedTick());
    const Grid spread = reference(snapshot(), true);
    std::srand(1);  // whatever the generator holds, the spread generation reseeds it
    life.nextGeneration(nullptr);
    EXPECT_FALSE(life.isStagnant());
    ASSERT_EQ(spread, snapshot());
    const Grid grown = shape(19, 19, {".##.", "####", "####", ".##."});
    EXPECT_EQ(alive(grown), std::inner_product(grown.begin(), grown.end(), spread.begin(), 0));  // all alive
    EXPECT_NEAR(40000 / 16, alive(spread), 500);  // about one cell in 16 born at random

    life.nextGeneration(nullptr);
    EXPECT_EQ(reference(spread, false), snapshot());
}

// The painting the renderer did before it kept a surface, one FillRect per cell: the reference the
// surface must match pixel for pixel.
class FillRectReference {
public:
    FillRectReference(HDC dc, int columns, int cellSize) : dc(dc), columns(columns), cellSize(cellSize) {}
    // Black over width x height, then every live cell.
    void full(const Grid& grid, int width, int height, COLORREF colour) const {
        const RECT area{0, 0, width, height};
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        for (size_t i = 0; i < grid.size(); ++i) if (grid[i]) fill(i, colour);
    }
    // Every cell that differs between the generations, in colour when it is alive now.
    void changes(const Grid& before, const Grid& after, COLORREF colour) const {
        for (size_t i = 0; i < after.size(); ++i) if (after[i] != before[i]) fill(i, after[i] ? colour : 0);
    }

private:
    void fill(size_t cell, COLORREF colour) const {
        const int x = static_cast<int>(cell % columns) * cellSize, y = static_cast<int>(cell / columns) * cellSize;
        const RECT rect{x, y, x + cellSize, y + cellSize};
        const HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    HDC dc;
    int columns, cellSize;
};

constexpr COLORREF FIRST_COLOUR = RGB(0x12, 0xC4, 0x7E), SECOND_COLOUR = RGB(0xF0, 0x30, 0x08);

TEST_F(LifeBoard, DrawsEachGenerationAsFillRectDidForEveryCellSizeAlsoAcrossAColourChangeAndAFullRepaint) {
    for (int cellSize = 1; cellSize <= 10; ++cellSize) [&] {  // 97 x 61 cuts the last column and row from 2 on
        SCOPED_TRACE(cellSize);  // a failure ends this cell size only
        build(97, 61, cellSize);
        load(random(static_cast<unsigned>(cellSize)));
        life.setColor(FIRST_COLOUR);
        Canvas drawn(97, 61, RGB(255, 0, 255)), expected(97, 61, RGB(0, 0, 255));
        const FillRectReference reference(expected.getDC(), life.getColumns(), cellSize);
        life.paint(drawn.getDC());
        reference.full(snapshot(), 97, 61, FIRST_COLOUR);
        ASSERT_EQ(0, drawn.differences(expected)) << "first paint";
        COLORREF colour = FIRST_COLOUR;
        for (int tick = 0; tick < 30; ++tick) {
            const Grid before = snapshot();
            if (tick == 12) {
                // Every live cell takes the new colour with the next copy, the unchanged ones too.
                life.setColor(colour = SECOND_COLOUR);
                reference.full(before, 97, 61, colour);
            }
            tick % 9 == 4 ? life.spreadStep(drawn.getDC()) : life.nextGeneration(drawn.getDC());
            reference.changes(before, snapshot(), colour);
            ASSERT_EQ(0, drawn.differences(expected)) << "tick " << tick;
        }
        life.paint(drawn.getDC());
        reference.full(snapshot(), 97, 61, SECOND_COLOUR);
        EXPECT_EQ(0, drawn.differences(expected)) << "full repaint";
    }();
}

TEST_F(LifeBoard, TheSaverWindowOnScreenShowsWhatFillRectWouldHaveDrawn) {
    life.setTickSource(fixedTick);
    life.setInterval(1000);
    life.setCellSize(3);
    life.setColor(FIRST_COLOUR);
    screensaver::SaverWindow window;
    window.setRenderer(&life);
    window.setVisible(true);
    const HWND handle = window.getHandle();
    const auto painted = [&] { return IsWindowVisible(handle) && !GetUpdateRect(handle, nullptr, FALSE); };
    ASSERT_TRUE(ui_test::pumpUntil(painted, 10000));
    life.suspend();  // the generations are the test's alone
    load(random(5));  // busy whatever the screen seeded
    const int width = window.getWidth(), height = window.getHeight();
    Canvas shown(width, height, RGB(255, 0, 255)), expected(width, height, RGB(0, 0, 255));
    const FillRectReference reference(expected.getDC(), life.getColumns(), 3);
    reference.full(snapshot(), width, height, FIRST_COLOUR);
    InvalidateRect(handle, nullptr, FALSE);
    UpdateWindow(handle);
    shown.copyFrom(handle);
    ASSERT_EQ(0, shown.differences(expected)) << "first paint";

    awt::WindowProcedure* const source = &window;
    awt::ActionEvent tick{source, false};
    for (int i = 0; i < 8; ++i) {
        const Grid before = snapshot();
        if (i == 4) {
            life.setColor(SECOND_COLOUR);  // all live cells at once, with the tick's copy
            reference.full(before, width, height, SECOND_COLOUR);
        }
        life.actionPerformed(tick);
        reference.changes(before, snapshot(), i < 4 ? FIRST_COLOUR : SECOND_COLOUR);
    }
    shown.copyFrom(handle);
    EXPECT_EQ(0, shown.differences(expected)) << "after the ticks";
    InvalidateRect(handle, nullptr, FALSE);
    UpdateWindow(handle);
    reference.full(snapshot(), width, height, SECOND_COLOUR);
    shown.copyFrom(handle);
    EXPECT_EQ(0, shown.differences(expected)) << "repainted";
    window.setVisible(false);
}

TEST_F(LifeBoard, SettersAcceptTheirRangeAndRejectValuesOutsideWithNameAndNumber) {
    life.setInterval(0);  // both ends are accepted
    life.setInterval(1000);
    EXPECT_EQ(L"interval: -1", ui_test::refusal([&] { life.setInterval(-1); }));
    EXPECT_EQ(L"interval: 1001", ui_test::refusal([&] { life.setInterval(1001); }));
    EXPECT_EQ(1000, life.getInterval());
    EXPECT_EQ(L"size: 0", ui_test::refusal([&] { life.setCellSize(0); }));
    EXPECT_EQ(L"size: 11", ui_test::refusal([&] { life.setCellSize(11); }));
    EXPECT_EQ(2, life.getCellSize());
    life.setCellSize(10);  // without a board only the value is stored
    EXPECT_FALSE(life.hasBoard());
    EXPECT_EQ(L"no board", ui_test::messageOf<klib::IllegalStateException>([&] { life.isAlive(0, 0); }));
}

TEST_F(LifeBoard, AnAreaTooLargeForASurfaceFailsWithTheFailingCallAndLeavesNoBoard) {
    life.setCellSize(10);
    life.setArea(200000, 200000);
    EXPECT_EQ(L"::CreateDIBSection() failed", ui_test::messageOf<awt::AWTException>([&] { life.createBoard(); }));
    EXPECT_FALSE(life.hasBoard());
    Canvas canvas(4, 4, RGB(255, 0, 255));
    life.lifeStep(canvas.getDC());  // nothing to draw, nothing drawn
    EXPECT_EQ(RGB(255, 0, 255), canvas.pixel(3, 3));
}

TEST_F(LifeBoard, NewCellSizeRebuildsAndReseedsTheBoardButTheSameSizeDoesNothing) {
    const ScreenPicture grey90([](int, int) { return RGB(90, 90, 90); });
    ASSERT_TRUE(grey90.waitUntilShown());
    build(100, 50, 2);
    life.setTickSource(grey90Key);  // a reseed makes every cell alive
    life.setCellSize(2);
    EXPECT_EQ(0, alive(snapshot()));
    life.setCellSize(5);
    EXPECT_EQ(20, life.getColumns());
    EXPECT_EQ(10, life.getRows());
    EXPECT_EQ(200, alive(snapshot()));
}

}  // namespace
