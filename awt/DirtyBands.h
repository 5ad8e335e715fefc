#pragma once

#include <windows.h>

#include <vector>

namespace awt {

// Which parts of a picture changed since they were last copied, as one rectangle per band of
// BAND_ROWS pixel rows, so that a window gets only those copied.
class DirtyBands {
public:
    static constexpr int BAND_ROWS = 16;

    // Sizes below 1 make a picture with nothing to mark.
    DirtyBands(int width, int height);

    // Records [left, right) x [top, bottom) as changed, cut to the picture.
    void mark(int left, int top, int right, int bottom) noexcept;
    void markAll() noexcept { mark(0, 0, width, height); }
    bool any() const noexcept;
    // The rectangles to copy: dirty bands, neighbours merged where one copy is cheaper.
    std::vector<RECT> rectangles() const;
    void clear() noexcept;

private:
    struct Band {
        int left, top, right, bottom;  // empty when left >= right
    };

    int width;
    int height;
    std::vector<Band> bands;
};

}  // namespace awt
