#include "app/Orlivex.h"

#include "app/ScreenCapture.h"
#include "app/SettingsStore.h"
#include "awt/Component.h"
#include "awt/GdiObject.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"
#include "klib/Strings.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

std::uint64_t load64(const std::uint8_t* bytes) noexcept {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof(word));
    return word;
}

// One row of the ordinary rule. Branch-free and on bytes, so the compiler vectorises it; the
// dead border makes the reads at column -1 and columns safe.
void computeRow(std::uint8_t* __restrict next, const std::uint8_t* __restrict above,
                const std::uint8_t* __restrict here, const std::uint8_t* __restrict below,
                int columns) noexcept {
    for (int c = 0; c < columns; ++c) {
        const std::uint8_t n = static_cast<std::uint8_t>(above[c - 1] + above[c] + above[c + 1] + here[c - 1] +
                                                         here[c + 1] + below[c - 1] + below[c] + below[c + 1]);
        next[c] = static_cast<std::uint8_t>((n == 3) | (here[c] & (n == 2)));
    }
}

int countChanges(const std::uint8_t* next, const std::uint8_t* previous, int columns) noexcept {
    int changes = 0;
    for (int c = 0; c < columns; ++c) {
        changes += next[c] ^ previous[c];
    }
    return changes;
}

}  // namespace

Orlivex::Orlivex()
    : interval(DEFAULT_INTERVAL), cellSize(DEFAULT_CELL_SIZE), color(static_cast<COLORREF>(DEFAULT_COLOR)) {
    loadSettings();
    cellBrush.reset(color);
    backgroundBrush.reset(RGB(0, 0, 0));
}

Orlivex::~Orlivex() noexcept {
    releaseBoard();
    // Renderers are deleted through a listener base whose destructor cannot throw, so a failed
    // delete is reported instead.
    for (SolidBrush* brush : {&backgroundBrush, &cellBrush}) {
        try {
            brush->release();
        } catch (const klib::Exception& failure) {
            klib::reportIgnoredFailure(L"~Orlivex(): " + failure.toString());
        }
    }
}

void Orlivex::start(awt::Component* target, HWND) {
    setArea(target->getWidth(), target->getHeight());
    createBoard();
    target->setBackground(RGB(0, 0, 0));
    target->setTimer(static_cast<UINT>(interval), this);
    ticking = true;
}

void Orlivex::paint(awt::Component*, HDC dc) {
    paint(dc);
}

void Orlivex::stop(awt::Component* target) {
    if (ticking) {
        ticking = false;
        target->killTimer(this);
    }
    releaseBoard();
}

void Orlivex::pause(awt::Component* target) {
    if (ticking) {
        ticking = false;
        target->killTimer(this);
    }
}

void Orlivex::resume(awt::Component* target) {
    if (!ticking && hasBoard()) {
        target->setTimer(static_cast<UINT>(interval), this);
        ticking = true;
    }
}

void Orlivex::actionPerformed(awt::ActionEvent& event) {
    // Timer ticks come from the object bound to the drawing window.
    const HWND window = static_cast<awt::WindowProcedure*>(event.source)->getHandle();
    awt::WindowDC dc(GetDC(window), window);
    nextGeneration(dc.get());
    if (dc.get()) ReleaseDC(window, dc.detach());
}

void Orlivex::loadSettings() {
    int storedColor = static_cast<int>(color);
    loadStoredSettings(interval, cellSize, storedColor);
    color = static_cast<COLORREF>(storedColor);
}

void Orlivex::saveSettings() {
    try {
        storeSettings(interval, cellSize, static_cast<int>(color));
    } catch (const klib::RegException& failure) {
        failure.showMessageBox(nullptr, awt::Toolkit::loadString(IDS_DESCRIPTION).c_str(), MB_ICONERROR);
    }
}

void Orlivex::setArea(int width, int height) noexcept {
    this->width = width;
    this->height = height;
}

void Orlivex::createBoard() {
    columns = std::max(0, (width + cellSize - 1) / cellSize);
    rows = std::max(0, (height + cellSize - 1) / cellSize);
    changeThreshold = columns * rows / 100;
    const std::size_t cells = static_cast<std::size_t>(columns + 2) * static_cast<std::size_t>(rows + 2);
    // Value-initialised: all dead, border included.
    planeA = std::make_unique<std::uint8_t[]>(cells);
    planeB = std::make_unique<std::uint8_t[]>(cells);
    stride = columns + 2;
    firstCell = columns + 3;
    seedFromScreen();
}

void Orlivex::seedFromScreen() {
    currentIsA = true;
    const ScreenCapture screen(width, height);
    const unsigned key = (tickSource() >> 2) & 255;
    std::uint8_t* const plane = planeA.get();
    for (int row = 0; row < rows; ++row) {
        std::uint8_t* const cells = plane + firstCell + static_cast<std::size_t>(row) * stride;
        const int y = row * cellSize;
        for (int column = 0; column < columns; ++column) {
            // An unreadable pixel is CLR_INVALID, all bits set: grey 255.
            const COLORREF pixel = screen.getPixel(column * cellSize, y);
            const unsigned grey = (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel)) / 3u;
            // Alive when the grey level lies in the key's band of 32.
            cells[column] = static_cast<std::uint8_t>((grey ^ key) < 32);
        }
    }
    stagnant = false;
}

void Orlivex::releaseBoard() noexcept {
    planeA.reset();
    planeB.reset();
}

void Orlivex::nextGeneration(HDC dc) {
    if (stagnant) {
        spreadStep(dc);
    } else {
        lifeStep(dc);
    }
}

int Orlivex::lifeStep(HDC dc) {
    if (!hasBoard()) {
        return 0;
    }
    currentIsA = !currentIsA;
    std::uint8_t* const destination = currentPlane();
    const std::uint8_t* const source = otherPlane();
    int changes = 0;
    for (int row = 0; row < rows; ++row) {
        const std::size_t start = firstCell + static_cast<std::size_t>(row) * stride;
        const std::uint8_t* const here = source + start;
        std::uint8_t* const next = destination + start;
        computeRow(next, here - stride, here, here + stride, columns);
        changes += countChanges(next, here, columns);
        if (dc != nullptr) {
            paintChanges(dc, next, here, row * cellSize);
        }
    }
    stagnant = changes < changeThreshold;
    return changes;
}

void Orlivex::spreadStep(HDC dc) {
    std::srand(static_cast<unsigned>(tickSource()));
    if (!hasBoard()) {
        return;
    }
    currentIsA = !currentIsA;
    std::uint8_t* const destination = currentPlane();
    const std::uint8_t* const source = otherPlane();
    const HBRUSH births = cellBrush.get();
    for (int row = 0; row < rows; ++row) {
        const std::size_t start = firstCell + static_cast<std::size_t>(row) * stride;
        const std::uint8_t* const here = source + start;
        const std::uint8_t* const above = here - stride;
        const std::uint8_t* const below = here + stride;
        std::uint8_t* const next = destination + start;
        const int top = row * cellSize;
        int runStart = -1;  // first birth of the current run, -1 outside a run
        for (int column = 0; column < columns; ++column) {
            bool born;
            if (here[column]) {
                born = false;
            } else if (above[column] | here[column - 1] | here[column + 1] | below[column]) {
                born = true;
            } else {
                // Only the isolated dead cells draw a random number, one each in walk order.
                born = (std::rand() & 15) == 0;
            }
            next[column] = static_cast<std::uint8_t>(here[column] | born);
            if (born) {
                if (runStart < 0) {
                    runStart = column;
                }
            } else if (runStart >= 0) {
                if (dc != nullptr) {
                    fillCells(dc, births, runStart, column, top);
                }
                runStart = -1;
            }
        }
        if (runStart >= 0 && dc != nullptr) {
            fillCells(dc, births, runStart, columns, top);
        }
    }
    stagnant = false;
}

void Orlivex::paint(HDC dc) const {
    const RECT area{0, 0, width, height};
    FillRect(dc, &area, backgroundBrush.get());
    if (!hasBoard()) {
        return;
    }
    const HBRUSH live = cellBrush.get();
    const std::uint8_t* const plane = currentPlane();
    for (int row = 0; row < rows; ++row) {
        const std::uint8_t* const cells = plane + firstCell + static_cast<std::size_t>(row) * stride;
        const int top = row * cellSize;
        int column = 0;
        while (column < columns) {
            if (column + 8 <= columns) {
                const std::uint64_t word = load64(cells + column);
                if (word == 0) {
                    column += 8;
                    continue;
                }
                column += __builtin_ctzll(word) / 8;
            } else if (!cells[column]) {
                ++column;
                continue;
            }
            int end = column + 1;
            while (end < columns && cells[end]) {
                ++end;
            }
            fillCells(dc, live, column, end, top);
            column = end;
        }
    }
}

void Orlivex::paintChanges(HDC dc, const std::uint8_t* next, const std::uint8_t* previous, int top) const noexcept {
    // Equal 8-byte words are skipped whole; a run of adjacent changes of one kind is one rectangle.
    int column = 0;
    while (column < columns) {
        if (column + 8 <= columns) {
            const std::uint64_t difference = load64(next + column) ^ load64(previous + column);
            if (difference == 0) {
                column += 8;
                continue;
            }
            column += __builtin_ctzll(difference) / 8;  // little-endian: the first changed byte
        } else if (next[column] == previous[column]) {
            ++column;
            continue;
        }
        const std::uint8_t state = next[column];
        int end = column + 1;
        while (end < columns && next[end] == state && previous[end] != state) {
            ++end;
        }
        fillCells(dc, state ? cellBrush.get() : backgroundBrush.get(), column, end, top);
        column = end;
    }
}

void Orlivex::fillCells(HDC dc, HBRUSH brush, int first, int last, int top) const noexcept {
    // The last column and row may reach past the area; the device context clips them.
    const RECT cells{first * cellSize, top, last * cellSize, top + cellSize};
    FillRect(dc, &cells, brush);
}

void Orlivex::setInterval(int n) {
    if (n < 0 || n > 1000) {
        throw klib::IllegalArgumentException(L"interval: " + klib::toString(n));
    }
    interval = n;
}

void Orlivex::setCellSize(int n) {
    if (n == cellSize) {
        return;
    }
    if (n < 1 || n > 10) {
        throw klib::IllegalArgumentException(L"size: " + klib::toString(n));
    }
    cellSize = n;
    if (hasBoard()) {
        releaseBoard();
        createBoard();
    }
}

void Orlivex::setColor(COLORREF c) {
    color = c;
    cellBrush.reset(c);
}

std::size_t Orlivex::cellIndex(int column, int row) const {
    if (!hasBoard()) {
        throw klib::IllegalStateException(L"no board");
    }
    klib::checkIndex(L"column", 0, columns, column);
    klib::checkIndex(L"row", 0, rows, row);
    return firstCell + static_cast<std::size_t>(row) * stride + column;
}

bool Orlivex::isAlive(int column, int row) const {
    return currentPlane()[cellIndex(column, row)] != 0;
}

void Orlivex::setAlive(int column, int row, bool alive) {
    currentPlane()[cellIndex(column, row)] = alive ? 1 : 0;
}
