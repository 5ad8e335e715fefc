#pragma once

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/BoardPainter.h"
#include "app/LifeBoard.h"
#include "awt/DibSurface.h"
#include "awt/Listeners.h"
#include "screensaver/Renderer.h"

// Conway's Life on a grid of cellSize x cellSize squares over a drawing area, seeded from the
// screen picture. The picture is kept in a surface of the area's size: each generation draws only
// the cells that changed into it and copies only the changed bands to the window. As a renderer it
// runs on a timer of its drawing window, one generation per tick.
class Orlivex : public screensaver::Renderer, public awt::ActionListener {
public:
    using TickSource = DWORD(WINAPI*)();

    // Loads the stored settings.
    Orlivex();
    // Frees the board and its surface; never throws.
    ~Orlivex() noexcept override;
    Orlivex(const Orlivex&) = delete;
    Orlivex& operator=(const Orlivex&) = delete;

    // Builds and seeds the board at the target's size, blackens its background and starts its
    // timer at the interval. A top-level target (the saver over the virtual screen) seeds from the
    // screen it covers, and its cells that no monitor shows are off-screen.
    void start(awt::Component* target, HWND handle) override;
    // Copies the part of the current generation that dc asks for (its clip box).
    void paint(awt::Component* target, HDC dc) override;
    // Kills the target's timer and frees the board.
    void stop(awt::Component* target) override;
    // The display is off: suspend(); the display is back: resume(). The started target is used.
    void suspend(awt::Component* target) override;
    void resume(awt::Component* target) override;
    // One timer tick: the next generation, drawn on the ticking window.
    void actionPerformed(awt::ActionEvent& event) override;

    // The timer of the started target stops, or starts again at the interval; the board stays.
    // Both do nothing when the renderer is not started, suspend when suspended, resume when running.
    void suspend();
    void resume();

    // Reads the stored settings; falls back to the defaults silently.
    void loadSettings();
    // Writes the four settings; a failure is shown in an error box and goes no further.
    void saveSettings();

    // Records the size of the drawing area that the next createBoard() covers.
    void setArea(int width, int height) noexcept;
    int getWidth() const noexcept { return width; }
    int getHeight() const noexcept { return height; }
    // The screen point the area's top-left cell seeds from; (0, 0), the primary screen's corner,
    // unless set. May be negative on a virtual screen.
    void setSeedOrigin(int x, int y) noexcept;
    // Screen rectangles the area shows on (the monitors); cells outside all of them are off-screen
    // and stay dead. None (the default): every cell is on screen. Taken by the next createBoard().
    void setShownAreas(std::vector<RECT> areas) { shownAreas = std::move(areas); }

    // Builds the board for the recorded area, seeds it from the screen and draws it into a surface
    // of the area's size (kept, with the picture it shows, when only the cell size changed).
    // Throws awt::AWTException when the surface cannot be made; there is no board then.
    void createBoard();
    void releaseBoard() noexcept;
    bool hasBoard() const noexcept { return board != nullptr; }

    // One timer tick: a spread generation after a stagnant one, an ordinary generation otherwise.
    void nextGeneration(HDC dc);
    // One ordinary generation; the changes go to the surface and, when dc is not null, everything
    // changed since the last copy to dc. Returns the number of cells that changed.
    int lifeStep(HDC dc);
    // One spread generation, drawn as lifeStep draws.
    void spreadStep(HDC dc);
    // The whole area: black, and every live cell in the current colour.
    void paint(HDC dc);

    int getInterval() const noexcept { return interval; }
    // A running timer restarts at the new period at once.
    void setInterval(int n);
    int getCellSize() const noexcept { return cellSize; }
    // Rebuilds and reseeds the board when one exists, and has the drawing window repaint all of it,
    // so no cell of the old grid stays on the screen.
    void setCellSize(int n);
    COLORREF getColor() const noexcept { return color; }
    // Cells drawn from then on take the new colour.
    void setColor(COLORREF c);
    // What the board grows from: PICTURE_SCREEN, PICTURE_WALLPAPER or PICTURE_GENERATED.
    int getPicture() const noexcept { return picture; }
    // A choice outside them takes the default. Like a new cell size, a new choice rebuilds and
    // reseeds the board when one exists and has the drawing window repaint all of it.
    void setPicture(int n);

    int getColumns() const noexcept { return board ? board->getColumns() : 0; }
    int getRows() const noexcept { return board ? board->getRows() : 0; }
    int getChangeThreshold() const noexcept { return board ? board->getChangeThreshold() : 0; }
    bool isStagnant() const noexcept { return board && board->isStagnant(); }
    // Cell state in the current generation; both throw klib::IllegalStateException "no board"
    // without a board and klib::IndexOutOfBoundsException outside the grid.
    bool isAlive(int column, int row) const;
    void setAlive(int column, int row, bool alive);

    // The clock behind the seeding key and the spread generation's random seed; GetTickCount
    // unless replaced.
    void setTickSource(TickSource source) noexcept { tickSource = source; }

private:
    // Copies what changed to dc (if any) after a step.
    void present(HDC dc);
    // Redraws the surface as paint() shows the board, unless it does already.
    void completeSurface();
    void releaseSurface() noexcept;
    const LifeBoard& checkedBoard() const;
    // A board for the present settings in place of the one there is, shown whole at once.
    void rebuildBoard();

    int interval;
    int cellSize;
    COLORREF color;
    int picture;

    int width = -1;
    int height = -1;
    int seedX = 0;
    int seedY = 0;
    std::vector<RECT> shownAreas;  // screen coordinates; empty: all of the area is on screen
    std::unique_ptr<awt::DibSurface> surface;  // none for an empty area
    std::unique_ptr<LifeBoard> board;
    std::unique_ptr<BoardPainter> painter;     // draws board into surface; none without a surface
    // The surface shows the board as paint() shows it: every live cell in the current colour.
    bool surfaceComplete = false;
    awt::Component* target = nullptr;  // not owned: the started window, until stop
    TickSource tickSource = GetTickCount;
    bool ticking = false;  // the drawing window's timer runs for us
};
