#include "app/Orlivex.h"
#include "app/SolidBrush.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Canvas.h"
#include "ScreenPicture.h"
#include "klib/Exception.h"

using testing_support::Canvas;
using testing_support::ScreenPicture;

namespace {

DWORD WINAPI grey90Key() { return 0x47 << 2; }

template <typename Call>
std::wstring illegalArgumentMessage(Call call) {
    try {
        call();
    } catch (const klib::IllegalArgumentException& e) {
        EXPECT_EQ(-1, e.getErrorCode());
        return e.getMessage();
    }
    return L"(nothing thrown)";
}

class OrlivexSettings : public ::testing::Test {
protected:
    Orlivex life;
};

TEST_F(OrlivexSettings, StartWithTheDefaults) {
    EXPECT_EQ(50, life.getInterval());
    EXPECT_EQ(2, life.getCellSize());
    EXPECT_EQ(0x804060u, life.getColor());
    EXPECT_FALSE(life.hasBoard());
}

TEST_F(OrlivexSettings, IntervalTakesTheWholeRangeAndRejectsValuesOutsideWithTheirNumber) {
    life.setInterval(0);
    EXPECT_EQ(0, life.getInterval());
    life.setInterval(1000);
    EXPECT_EQ(1000, life.getInterval());
    EXPECT_EQ(L"interval: -1", illegalArgumentMessage([&] { life.setInterval(-1); }));
    EXPECT_EQ(L"interval: 1001", illegalArgumentMessage([&] { life.setInterval(1001); }));
    EXPECT_EQ(1000, life.getInterval());
}

TEST_F(OrlivexSettings, CellSizeRejectsValuesOutsideOneToTenWithTheirNumber) {
    EXPECT_EQ(L"size: 0", illegalArgumentMessage([&] { life.setCellSize(0); }));
    EXPECT_EQ(L"size: 11", illegalArgumentMessage([&] { life.setCellSize(11); }));
    EXPECT_EQ(2, life.getCellSize());
}

TEST_F(OrlivexSettings, CellSizeWithoutBoardOnlyStoresTheValue) {
    life.setCellSize(10);
    EXPECT_EQ(10, life.getCellSize());
    EXPECT_FALSE(life.hasBoard());
}

TEST_F(OrlivexSettings, SameCellSizeLeavesTheBoardAlone) {
    life.setArea(40, 40);
    life.createBoard();
    for (int r = 0; r < life.getRows(); ++r) {
        for (int c = 0; c < life.getColumns(); ++c) life.setAlive(c, r, (r * 7 + c) % 3 == 0);
    }
    life.setCellSize(2);
    int wrong = 0;
    for (int r = 0; r < life.getRows(); ++r) {
        for (int c = 0; c < life.getColumns(); ++c) wrong += life.isAlive(c, r) != ((r * 7 + c) % 3 == 0);
    }
    EXPECT_EQ(0, wrong);
}

TEST_F(OrlivexSettings, CellSizeOnABoardRebuildsAndReseedsItFromTheScreen) {
    const ScreenPicture grey90([](int, int) { return RGB(90, 90, 90); });
    ASSERT_TRUE(grey90.waitUntilShown());
    life.setTickSource(grey90Key);
    life.setArea(100, 50);
    life.createBoard();
    for (int r = 0; r < life.getRows(); ++r) {
        for (int c = 0; c < life.getColumns(); ++c) life.setAlive(c, r, false);
    }
    life.setCellSize(5);
    ASSERT_TRUE(life.hasBoard());
    EXPECT_EQ(20, life.getColumns());
    EXPECT_EQ(10, life.getRows());
    EXPECT_EQ(2, life.getChangeThreshold());
    int alive = 0;
    for (int r = 0; r < life.getRows(); ++r) {
        for (int c = 0; c < life.getColumns(); ++c) alive += life.isAlive(c, r);
    }
    EXPECT_EQ(200, alive);
}

TEST_F(OrlivexSettings, NewColourPaintsTheCellsBornFromThenOn) {
    life.setArea(60, 60);
    life.createBoard();
    for (int r = 0; r < life.getRows(); ++r) {
        for (int c = 0; c < life.getColumns(); ++c) life.setAlive(c, r, false);
    }
    for (int c = 4; c < 7; ++c) life.setAlive(c, 10, true);
    Canvas canvas(60, 60, RGB(255, 0, 255));
    life.paint(canvas.dc());

    life.setColor(RGB(0, 200, 0));
    EXPECT_EQ(RGB(0, 200, 0), life.getColor());
    life.lifeStep(canvas.dc());
    EXPECT_EQ(RGB(0, 200, 0), canvas.pixel(5 * 2, 9 * 2));   // born
    EXPECT_EQ(0x804060u, canvas.pixel(5 * 2, 10 * 2));       // survived, painted before
}

TEST_F(OrlivexSettings, CellStateNeedsABoardAndACellInside) {
    EXPECT_THROW(life.isAlive(0, 0), klib::IllegalStateException);
    life.setArea(10, 10);
    life.createBoard();
    EXPECT_THROW(life.isAlive(5, 0), klib::IndexOutOfBoundsException);
    EXPECT_THROW(life.setAlive(0, -1, true), klib::IndexOutOfBoundsException);
}

TEST(SolidBrushHolder, ResetReplacesTheBrushWithOneOfTheNewColour) {
    SolidBrush brush;
    brush.reset(RGB(1, 2, 3));
    const HBRUSH first = brush.get();
    ASSERT_NE(nullptr, first);
    brush.reset(RGB(40, 50, 60));
    EXPECT_EQ(0u, GetObjectType(first));  // the old brush is gone

    Canvas canvas(4, 4, RGB(0, 0, 0));
    const RECT all{0, 0, 4, 4};
    FillRect(canvas.dc(), &all, brush.get());
    EXPECT_EQ(RGB(40, 50, 60), canvas.pixel(3, 3));
}

}  // namespace
