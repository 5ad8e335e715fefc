#pragma once

#include <windows.h>

namespace awt {

// Average character width and half the character height of the default GUI font: the default gap
// pair. Measured once per process on a display DC.
void getDefaultFontUnits(int& charWidth, int& halfCharHeight);
// How often the default font units were actually measured (once after a successful first call).
int getDefaultFontUnitsMeasurements() noexcept;

// Throws "::GetTextMetrics() failed".
void getTextMetrics(HDC dc, TEXTMETRICW* out);
// Throws "::GetTextExtentPoint32() failed".
void getTextExtent(HDC dc, const wchar_t* text, int count, SIZE* out);

}  // namespace awt
