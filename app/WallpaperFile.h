#pragma once

#include <windows.h>

#include <string>

#include "app/PlacedPicture.h"
#include "app/Placement.h"

struct IWICImagingFactory;

// path in the \\?\ form when it is too long for the plain one, unchanged otherwise.
std::wstring extendedLengthPath(const std::wstring& path);

enum class PlaceResult { PLACED, MISSING, FAILED };

// Decodes the picture file at path, scaled while decoding where the decoder can, and draws the part
// that placement lays on monitor into the pixels picture holds (cut to its area), each the source
// pixel the nearest-neighbour scaler would give it; only the source rows those pixels fall on are
// copied. MISSING when there is no such file; FAILED, with the monitor's part of picture possibly
// drawn on, when it cannot be read or decoded or declares a side over MAX_IMAGE_SIDE. Never holds
// the decoded picture larger than what it draws, beyond what the decoder itself keeps.
PlaceResult placeWallpaperFile(IWICImagingFactory& factory, const std::wstring& path, Placement placement,
                               const RECT& monitor, const RECT& desktop, PlacedPicture& picture);
