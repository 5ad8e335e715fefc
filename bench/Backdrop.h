#pragma once

#include <windows.h>

#include <cstdint>

#include "awt/GdiObject.h"

namespace bench {

// Owns a memory device context and restores what it had selected before deleting it.
class MemoryDC {
public:
    MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC();

    // Selects object; the first selection remembers the context's own object for the destructor.
    void select(HGDIOBJ object);
    HDC get() const noexcept { return dc; }

private:
    HDC dc;
    HGDIOBJ original = nullptr;
};

// The "desktop" the saver seeds from: a screen-sized pop-up that never activates, never stays on
// top, and shows a fixed picture, so every run starts from the same screen.
class Backdrop {
public:
    enum class Picture {
        NOISE,     // every pixel an independent grey level: a busy screen, the most cells to paint
        GRADIENT,  // grey rising from left to right: one solid band of live cells
    };

    Backdrop(int width, int height);
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;
    ~Backdrop();

    // Draws picture and waits until it is on the screen.
    void show(Picture picture);
    Picture getPicture() const noexcept { return picture; }
    static const char* nameOf(Picture picture) noexcept;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    int width;
    int height;
    Picture picture = Picture::NOISE;
    std::uint32_t* pixels = nullptr;  // bits of image, top-down
    awt::GdiObject image;             // the picture, a 32-bit DIB section
    MemoryDC memory;                  // holds image selected; destroyed before it
    HWND window = nullptr;            // owned: destroyed by ~Backdrop
};

}  // namespace bench
