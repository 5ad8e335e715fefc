#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "awt/DibSurface.h"
#include "tests/support/Canvas.h"
#include "tests/support/SurfaceWindow.h"

// What the screen shows, the display the run set up, and pictures put on it for the saver to seed from.
namespace e2e {

// A copy of the screen (or a part of it) as 0x00RRGGBB values, top row first.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
RECT screenRect();
Capture captureScreen(const RECT& area = screenRect());
inline std::uint32_t rgbOf(COLORREF colour) { return awt::DibSurface::toPixel(colour); }
// Live pixels (of colour) in area, or -1 when a pixel is neither black nor colour.
int livePixels(const RECT& area, COLORREF colour);


int screenDpi();
// Fails unless the display is what the run set up: ORLIVEX_E2E_MONITORS monitors, one left of the
// primary, and ORLIVEX_E2E_DPI; a plain display there would let the tests prove nothing.
void expectRequestedDisplay();

// A topmost window that covers an area (a monitor) with a known picture: a horizontal grey ramp,
// grey level ((x - left) * 256 / width), so every band of 32 grey levels is one eighth of it wide.
// Throws std::runtime_error when the picture does not reach the screen.
class GreyRamp {
public:
    explicit GreyRamp(const RECT& area);
    static int greyAt(int x, int width) { return x * 256 / width; }

private:
    testing_support::Canvas picture_;
    testing_support::SurfaceWindow window_;
};

}  // namespace e2e
