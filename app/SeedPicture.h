#pragma once

#include <windows.h>

#include <cstdint>

// A picture in screen coordinates that a board seeds from, read as GetPixel reads the screen:
// CLR_INVALID where nothing can be read.
class SeedPicture {
public:
    virtual COLORREF getPixel(int x, int y) const noexcept = 0;
    // The count pixels of row y from x on as 0x00RRGGBB, or null when they cannot be read as one run;
    // a pixel of the run that cannot be read is 0xFFFFFFFF (grey 255, as CLR_INVALID).
    virtual const std::uint32_t* readableRun(int x, int y, int count) const noexcept = 0;

protected:
    ~SeedPicture() = default;
};
