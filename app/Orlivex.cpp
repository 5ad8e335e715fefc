#include "app/Orlivex.h"

#include "app/CellAreas.h"
#include "app/Seeding.h"
#include "app/SettingsStore.h"
#include "awt/Component.h"
#include "awt/GdiObject.h"
#include "awt/Screen.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"
#include "klib/Strings.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstdlib>

Orlivex::Orlivex()
    : interval(DEFAULT_INTERVAL),
      cellSize(DEFAULT_CELL_SIZE),
      color(static_cast<COLORREF>(DEFAULT_COLOR)),
      picture(DEFAULT_PICTURE) {
    loadSettings();
}

Orlivex::~Orlivex() noexcept {
    releaseBoard();
}

void Orlivex::start(awt::Component* target, HWND) {
    setArea(target->getWidth(), target->getHeight());
    if (!target->isChild()) {
        // One board across the whole window, so patterns travel from one monitor to the next; each
        // monitor seeds it from its own picture, and the gaps between monitors are off-screen.
        setSeedOrigin(target->getX(), target->getY());
        setShownAreas(awt::getMonitorRectangles());
    }
    createBoard();
    target->setBackground(RGB(0, 0, 0));
    this->target = target;
    target->setTimer(static_cast<UINT>(interval), this);
    ticking = true;
}

void Orlivex::paint(awt::Component*, HDC dc) {
    RECT asked;
    if (surface == nullptr || GetClipBox(dc, &asked) == ERROR) {
        paint(dc);
        return;
    }
    completeSurface();
    if (asked.left <= 0 && asked.top <= 0 && asked.right >= width && asked.bottom >= height) {
        // The window gets everything, so nothing drawn so far needs copying again on the next tick.
        surface->markAllDirty();
        surface->present(dc);
    } else {
        surface->copyTo(dc, asked);
    }
}

void Orlivex::stop(awt::Component* target) {
    if (ticking) {
        ticking = false;
        target->killTimer(this);
    }
    this->target = nullptr;
    releaseBoard();
}

void Orlivex::suspend(awt::Component*) {
    suspend();
}

void Orlivex::resume(awt::Component*) {
    resume();
}

void Orlivex::suspend() {
    if (target != nullptr && ticking) {
        ticking = false;
        target->killTimer(this);
    }
}

void Orlivex::resume() {
    if (target != nullptr && !ticking) {
        target->setTimer(static_cast<UINT>(interval), this);
        ticking = true;
    }
}

void Orlivex::actionPerformed(awt::ActionEvent& event) {
    // Timer ticks come from the object bound to the drawing window.
    const HWND window = static_cast<awt::WindowProcedure*>(event.source)->getHandle();
    const awt::WindowDC dc(GetDC(window), window);
    nextGeneration(dc.get());
}

void Orlivex::loadSettings() {
    const StoredSettings stored = loadStoredSettings();
    interval = stored.interval;
    cellSize = stored.cellSize;
    color = static_cast<COLORREF>(stored.color);
    picture = stored.picture;
}

void Orlivex::saveSettings() {
    try {
        storeSettings(StoredSettings{interval, cellSize, static_cast<int>(color), picture});
    } catch (const klib::RegException& failure) {
        failure.showMessageBox(nullptr, awt::Toolkit::loadString(IDS_DESCRIPTION).c_str(), MB_ICONERROR);
    }
}

void Orlivex::setArea(int width, int height) noexcept {
    this->width = width;
    this->height = height;
}

void Orlivex::setSeedOrigin(int x, int y) noexcept {
    seedX = x;
    seedY = y;
}

void Orlivex::createBoard() {
    const bool keepPicture = surface != nullptr && surface->getWidth() == width && surface->getHeight() == height;
    painter.reset();
    board.reset();
    try {
        if (!keepPicture) {
            releaseSurface();
            if (width > 0 && height > 0) {
                // The surface first: a size too large for memory fails here, before any plane is made.
                surface = std::make_unique<awt::OneBitSurface>(width, height, color);
            }
        }
        board = std::make_unique<LifeBoard>((width + cellSize - 1) / cellSize, (height + cellSize - 1) / cellSize);
        board->setOnScreen(toCellAreas(shownAreas, seedX, seedY, cellSize));
        SeedRequest request;
        request.originX = seedX;
        request.originY = seedY;
        request.width = width;
        request.height = height;
        request.cellSize = cellSize;
        request.key = (tickSource() >> 2) & 255;
        request.noiseSeed = static_cast<unsigned>(tickSource());
        request.picture = picture;
        seedBoard(*board, request);
    } catch (...) {
        releaseBoard();
        throw;
    }
    if (surface != nullptr) {
        painter = std::make_unique<BoardPainter>(*surface, cellSize);
        if (!keepPicture) {
            painter->paintAll(*board);
        }
    }
    // A kept picture is the old board's until the next full paint; ticks draw the new one's changes.
    surfaceComplete = !keepPicture;
}

void Orlivex::releaseBoard() noexcept {
    painter.reset();
    board.reset();
    releaseSurface();
}

void Orlivex::releaseSurface() noexcept {
    try {
        // Deleted here rather than by the holder, whose reset must not throw.
        delete surface.release();
    } catch (const klib::Exception& failure) {
        klib::reportIgnoredFailure(L"Orlivex: " + failure.toString());
    }
}

void Orlivex::nextGeneration(HDC dc) {
    if (isStagnant()) {
        spreadStep(dc);
    } else {
        lifeStep(dc);
    }
}

int Orlivex::lifeStep(HDC dc) {
    if (!hasBoard()) {
        return 0;
    }
    if (painter != nullptr) painter->presentWhileDrawing(dc);
    const int changes = board->lifeStep(painter.get());
    present(dc);
    return changes;
}

void Orlivex::spreadStep(HDC dc) {
    std::srand(static_cast<unsigned>(tickSource()));
    if (!hasBoard()) {
        return;
    }
    if (painter != nullptr) painter->presentWhileDrawing(dc);
    board->spreadStep(painter.get());
    present(dc);
}

void Orlivex::completeSurface() {
    if (!surfaceComplete) {
        painter->paintAll(*board);
        surfaceComplete = true;
    }
}

void Orlivex::present(HDC dc) {
    // The step has copied all but its last chunk of rows already.
    if (painter != nullptr) painter->presentWhileDrawing(nullptr);
    // A failed copy (the window going away) loses nothing: the surface still holds the picture.
    if (dc != nullptr && surface != nullptr) surface->present(dc);
}

void Orlivex::paint(HDC dc) {
    if (surface == nullptr) {
        const RECT area{0, 0, width, height};
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    completeSurface();
    // The whole area as one copy, which also leaves nothing for the next step to copy again.
    surface->markAllDirty();
    surface->present(dc);
}

void Orlivex::setInterval(int n) {
    if (!INTERVAL_RANGE.contains(n)) {
        throw klib::IllegalArgumentException(std::wstring(INTERVAL_RANGE.name) + L": " + klib::toString(n));
    }
    if (n == interval) {
        return;
    }
    interval = n;
    // A suspended timer takes the new period when it resumes. A window destroyed along with its
    // parent has lost its timer with its handle.
    if (target != nullptr && ticking && target->getHandle() != nullptr) {
        target->setTimer(static_cast<UINT>(interval), this);
    }
}

void Orlivex::setCellSize(int n) {
    if (n == cellSize) {
        return;
    }
    if (!SIZE_RANGE.contains(n)) {
        throw klib::IllegalArgumentException(std::wstring(SIZE_RANGE.name) + L": " + klib::toString(n));
    }
    cellSize = n;
    rebuildBoard();
}

void Orlivex::setPicture(int n) {
    n = PICTURE_RANGE.orDefault(n);
    if (n == picture) {
        return;
    }
    picture = n;
    rebuildBoard();
}

void Orlivex::rebuildBoard() {
    if (!hasBoard()) {
        return;
    }
    createBoard();
    if (target != nullptr) {
        // The new board whole at once, so no tick draws its changes over the old picture.
        if (painter != nullptr) completeSurface();
        target->repaint(0, 0, target->getWidth(), target->getHeight());
    }
}

void Orlivex::setColor(COLORREF c) {
    // The picture holds only which pixels are alive; the colour is the surface's table.
    if (surface != nullptr) {
        surface->setColor(c);
    }
    color = c;
}

const LifeBoard& Orlivex::checkedBoard() const {
    if (!hasBoard()) {
        throw klib::IllegalStateException(L"no board");
    }
    return *board;
}

bool Orlivex::isAlive(int column, int row) const {
    return checkedBoard().isAlive(column, row);
}

void Orlivex::setAlive(int column, int row, bool alive) {
    checkedBoard();
    board->setAlive(column, row, alive);
    // The surface follows, so the next copy to the window shows the cell.
    if (painter != nullptr) {
        painter->paintCell(column, row, alive);
    }
}
