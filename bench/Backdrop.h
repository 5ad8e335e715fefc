#pragma once

#include <windows.h>

#include "awt/DibSurface.h"
#include "tests/support/SurfaceWindow.h"

namespace bench {

// The "desktop" the saver seeds from: a screen-sized pop-up that never activates, never stays on
// top, and shows a fixed picture, so every run starts from the same screen.
class Backdrop {
public:
    enum class Picture {
        NOISE,     // every pixel an independent grey level: a busy screen, the most cells to paint
        GRADIENT,  // grey rising from left to right: one solid band of live cells
    };

    // Covers the rectangle (left, top, width, height) of the virtual screen.
    Backdrop(int left, int top, int width, int height);
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

    // Draws picture and waits until it is on the screen.
    void show(Picture picture);
    Picture getPicture() const noexcept { return picture; }
    static const char* nameOf(Picture picture) noexcept;

private:
    int width;
    int height;
    Picture picture = Picture::NOISE;
    awt::DibSurface image;  // the picture
    testing_support::SurfaceWindow window;
};

}  // namespace bench
