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

protected:
    ~SeedPicture() = default;
};
