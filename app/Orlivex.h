#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/SolidBrush.h"
#include "awt/Listeners.h"
#include "screensaver/Renderer.h"

// Conway's Life on a grid of cellSize x cellSize squares over a drawing area, seeded from the
// screen picture and painted incrementally: each generation fills only the cells that changed.
// As a renderer it runs on a timer of its drawing window, one generation per tick.
class Orlivex : public screensaver::Renderer, public awt::ActionListener {
public:
    using TickSource = DWORD(WINAPI*)();

    // Loads the stored settings, then makes the brushes.
    Orlivex();
    // Frees the planes, then the background brush and the cell brush; never throws.
    ~Orlivex() noexcept override;
    Orlivex(const Orlivex&) = delete;
    Orlivex& operator=(const Orlivex&) = delete;

    // Builds and seeds the board at the target's size, blackens its background and starts its
    // timer at the interval.
    void start(awt::Component* target, HWND handle) override;
    // Repaints the whole current generation at the size recorded by start.
    void paint(awt::Component* target, HDC dc) override;
    // Kills the target's timer and frees the board.
    void stop(awt::Component* target) override;
    // Kills the timer but keeps the board, so resume continues where pause left off.
    void pause(awt::Component* target) override;
    // Starts the timer again after pause.
    void resume(awt::Component* target) override;
    bool isTicking() const noexcept { return ticking; }
    // One timer tick: the next generation, drawn on the ticking window.
    void actionPerformed(awt::ActionEvent& event) override;

    // Reads the stored settings; falls back to the defaults silently.
    void loadSettings();
    // Writes the three settings; a failure is shown in an error box and goes no further.
    void saveSettings();

    // Records the size of the drawing area that the next createBoard() covers.
    void setArea(int width, int height) noexcept;
    int getWidth() const noexcept { return width; }
    int getHeight() const noexcept { return height; }

    // Builds both planes for the recorded area and seeds the current one from the screen.
    void createBoard();
    void releaseBoard() noexcept;
    bool hasBoard() const noexcept { return planeA != nullptr; }

    // One timer tick: a spread generation after a stagnant one, an ordinary generation otherwise.
    void nextGeneration(HDC dc);
    // One ordinary generation, painting births and deaths on dc (nothing when dc is null).
    // Returns the number of cells that changed.
    int lifeStep(HDC dc);
    // One spread generation, painting the births on dc (nothing when dc is null).
    void spreadStep(HDC dc);
    // Fills the whole area with the background, then every live cell.
    void paint(HDC dc) const;

    int getInterval() const noexcept { return interval; }
    void setInterval(int n);
    int getCellSize() const noexcept { return cellSize; }
    // Rebuilds and reseeds the board when one exists.
    void setCellSize(int n);
    COLORREF getColor() const noexcept { return color; }
    void setColor(COLORREF c);

    int getColumns() const noexcept { return columns; }
    int getRows() const noexcept { return rows; }
    int getChangeThreshold() const noexcept { return changeThreshold; }
    bool isStagnant() const noexcept { return stagnant; }
    // Cell state in the current generation; both throw klib::IllegalStateException "no board"
    // without a board and klib::IndexOutOfBoundsException outside the grid.
    bool isAlive(int column, int row) const;
    void setAlive(int column, int row, bool alive);

    // The clock behind the seeding key and the spread generation's random seed; GetTickCount
    // unless replaced.
    void setTickSource(TickSource source) noexcept { tickSource = source; }

private:
    void seedFromScreen();
    std::uint8_t* currentPlane() const noexcept { return (currentIsA ? planeA : planeB).get(); }
    std::uint8_t* otherPlane() const noexcept { return (currentIsA ? planeB : planeA).get(); }
    std::size_t cellIndex(int column, int row) const;
    // Paints the cells of one row whose state differs between the two generations.
    void paintChanges(HDC dc, const std::uint8_t* next, const std::uint8_t* previous, int top) const noexcept;
    // Fills the cells [first, last) of a row with brush, as one rectangle.
    void fillCells(HDC dc, HBRUSH brush, int first, int last, int top) const noexcept;

    int interval;
    int cellSize;
    COLORREF color;

    int width = -1;
    int height = -1;
    int changeThreshold = 0;
    bool stagnant = false;
    std::unique_ptr<std::uint8_t[]> planeA;  // cells with a dead border ring, one byte each
    std::unique_ptr<std::uint8_t[]> planeB;
    bool currentIsA = true;
    int stride = 0;     // bytes per plane row: columns + 2
    int firstCell = 0;  // index of column 0, row 0: stride + 1
    int columns = 0;    // the grid of the board that exists, independent of later setArea calls
    int rows = 0;

    SolidBrush cellBrush;
    SolidBrush backgroundBrush;
    TickSource tickSource = GetTickCount;
    bool ticking = false;  // the drawing window's timer runs for us
};
