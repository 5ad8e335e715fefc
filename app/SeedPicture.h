#pragma once

#include <windows.h>

#include <cstdint>

// A picture in screen coordinates that a board seeds from, read as GetPixel reads the screen:
// CLR_INVALID where nothing can be read.
class SeedPicture {
public:
    virtual COLORREF getPixel(int x, int y) const noexcept = 0;
    // The count pixels of row y from x on as 0xAARRGGBB (the top byte meaningless), or null unless all
    // of them can be read as one run.
    virtual const std::uint32_t* readableRun(int x, int y, int count) const noexcept = 0;
    // The count pixels of row y at x, x + step, x + 2 step and so on, held one after another as
    // readableRun gives them; null unless the picture holds exactly those pixels so and all of them can
    // be read. A picture that holds only the pixels a board reads answers here; readableRun serves the rest.
    virtual const std::uint32_t* sampledRun(int /*x*/, int /*y*/, int /*step*/, int /*count*/) const noexcept {
        return nullptr;
    }

protected:
    ~SeedPicture() = default;
};
