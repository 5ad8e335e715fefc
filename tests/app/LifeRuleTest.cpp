#include "app/LifeBoard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstdint>

#include "tests/support/LifeGrid.h"
#include "klib/Exception.h"

using testing_support::Grid;
using testing_support::Rows;
using testing_support::alive;
using testing_support::differences;

namespace {

// B3/S23 and the spread generation on the board itself, without the renderer around it.
class LifeRule : public ::testing::Test {
protected:
    void build(int columns, int rows) { board = std::make_unique<LifeBoard>(columns, rows); }
    Grid shape(int left, int top, Rows rows) const { return testing_support::shape(*board, left, top, rows); }
    Grid snapshot() const { return testing_support::snapshot(*board); }
    Grid reference(const Grid& grid, bool spread) const {
        return testing_support::reference(board->getColumns(), board->getRows(), grid, spread);
    }

    std::unique_ptr<LifeBoard> board;
};

TEST_F(LifeRule, BlinkerBlockGliderAndARowAlongTheDeadBorderBehaveAsKnown) {
    const struct { int left, top; Rows start; int generations, endLeft, endTop; Rows end; int lastChanges; } cases[] = {
        {4, 5, {"###"}, 1, 5, 4, {"#", "#", "#"}, 4}, {4, 5, {"###"}, 2, 4, 5, {"###"}, 4},
        {4, 5, {"##", "##"}, 3, 4, 5, {"##", "##"}, 0},
        {4, 5, {".#.", "..#", "###"}, 4, 5, 6, {".#.", "..#", "###"}, 4},
        // The row above counts as dead and nothing wraps: the bottom row stays empty.
        {0, 0, {"####################"}, 1, 1, 0, {"##################", "##################"}, 20}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.start.size() << " rows, " << c.generations << " generations");
        build(20, 20);  // threshold 4
        testing_support::load(*board, shape(c.left, c.top, c.start));
        int last = -1;
        for (int i = 0; i < c.generations; ++i) last = board->lifeStep(nullptr);
        EXPECT_EQ(shape(c.endLeft, c.endTop, c.end), snapshot());
        EXPECT_EQ(c.lastChanges, last);
        EXPECT_EQ(c.lastChanges < 4, board->isStagnant());  // 4 changes against threshold 4 is not stagnant
    }
}

TEST_F(LifeRule, FollowsTheRuleAndCountsTheChangesOnRandomBoardsOfAnySize) {
    // 127 columns: 63 more than a multiple of 64. The last: a row wider than 64 words, all alive, so
    // nearly every cell changes at once.
    const struct { int columns, rows; unsigned percentAlive; } sizes[] = {
        {1, 1, 40}, {37, 23, 40}, {3, 41, 40}, {203, 17, 40}, {128, 9, 40}, {127, 11, 40}, {4200, 3, 100}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(::testing::Message() << size.columns << "x" << size.rows);
        build(size.columns, size.rows);
        testing_support::load(*board, testing_support::random(*board, static_cast<unsigned>(size.columns * 1000 + size.rows),
                                                              size.percentAlive));
        for (int generation = 0; generation < 12; ++generation) {
            const Grid before = snapshot(), expected = reference(before, false);
            const int changed = board->lifeStep(nullptr);
            EXPECT_EQ(differences(before, expected), changed) << "generation " << generation;
            if (const int wrong = differences(expected, snapshot())) {
                ADD_FAILURE() << wrong << " cells wrong in generation " << generation;
                break;  // the next generations follow from a wrong one
            }
        }
    }
}

TEST_F(LifeRule, TheSpreadGenerationGrowsLiveCellsOrthogonallyAndDrawsOneRandomNumberPerIsolatedDeadCell) {
    build(200, 200);
    testing_support::load(*board, shape(20, 20, {"##", "##"}));
    std::srand(77);
    const Grid spread = reference(snapshot(), true);
    std::srand(77);
    board->spreadStep(nullptr);
    EXPECT_FALSE(board->isStagnant());
    ASSERT_EQ(spread, snapshot());
    const Grid grown = shape(19, 19, {".##.", "####", "####", ".##."});
    for (std::size_t i = 0; i < grown.size(); ++i) EXPECT_TRUE(!grown[i] || spread[i]) << "cell " << i;
    EXPECT_NEAR(40000 / 16, alive(spread), 500);  // about one cell in 16 born at random
}

// Seeding replaces the generation: bits past the last column and off-screen cells stay dead.
class AllOnes final : public LifeBoard::RowSource {
public:
    void fillRow(int, std::uint64_t* words) override { for (int k = 0; k < words_; ++k) words[k] = ~std::uint64_t{0}; }
    int words_ = 0;
};

TEST_F(LifeRule, SeedingKeepsTheCellsOnScreenAndNothingPastTheLastColumn) {
    build(70, 5);
    board->setOnScreen({{0, 0, 70, 2}, {10, 4, 20, 5}});
    AllOnes ones;
    ones.words_ = board->getWordsPerRow();
    board->seed(ones);
    EXPECT_EQ(70 * 2 + 10, alive(snapshot()));
    EXPECT_TRUE(board->isAlive(69, 0));
    EXPECT_FALSE(board->isAlive(9, 4));
    EXPECT_THROW(board->isAlive(70, 0), klib::IndexOutOfBoundsException);
    // All on screen: set bits past column 69 would be live neighbours of the last column.
    build(70, 3);
    board->seed(ones);
    const Grid expected = reference(snapshot(), false);
    board->lifeStep(nullptr);
    EXPECT_EQ(expected, snapshot());
}

}  // namespace
