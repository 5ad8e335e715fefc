#pragma once

#include <windows.h>

#include <memory>

#include "awt/DibSurface.h"
#include "awt/Listeners.h"
#include "screensaver/Renderer.h"

namespace bench {

// The cheapest way to show a changed full-screen picture: a surface of the window's size, filled
// once with grey noise, copied whole to the window on every timer tick, computing nothing. Run in
// the saver's own window with the saver's timer, it is the floor the saver's CPU is compared with.
class FloorRenderer : public screensaver::Renderer, public awt::ActionListener {
public:
    explicit FloorRenderer(int interval) noexcept : interval(interval) {}
    FloorRenderer(const FloorRenderer&) = delete;
    FloorRenderer& operator=(const FloorRenderer&) = delete;
    ~FloorRenderer() = default;

    void start(awt::Component* target, HWND handle) override;
    void paint(awt::Component* target, HDC dc) override;
    void stop(awt::Component* target) override;
    void suspend(awt::Component*) override {}
    void resume(awt::Component*) override {}
    // One tick: the whole surface onto the ticking window.
    void actionPerformed(awt::ActionEvent& event) override;

private:
    int interval;
    std::unique_ptr<awt::DibSurface> surface;
};

// Fills surface with independent grey levels, the same for every call.
void fillWithNoise(awt::DibSurface& surface);

// The bare floor program: a topmost pop-up over the virtual screen, without toolkit, that copies one
// screen-sized DIB section to itself with one BitBlt on each timer tick of interval ms, for seconds.
int runBareFloor(double seconds, int interval);

}  // namespace bench
