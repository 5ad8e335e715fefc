#include "app/Placement.h"

#include <cstdint>

namespace {

// Both numberings of each placement: the DWPOS_* number, and WallpaperStyle with TileWallpaper.
struct PlacementName {
    Placement placement;
    int position;
    const wchar_t* style;
    const wchar_t* tile;  // null: any
};

constexpr PlacementName PLACEMENTS[] = {
    {Placement::CENTER, 0, L"0", L"0"}, {Placement::TILE, 1, L"0", L"1"}, {Placement::STRETCH, 2, L"2", nullptr},
    {Placement::FIT, 3, L"6", nullptr}, {Placement::FILL, 4, L"10", nullptr}, {Placement::SPAN, 5, L"22", nullptr},
};

// A width x height picture scaled to cover (or fit into) the target's rectangle, centred on it.
RECT scaledCentred(int width, int height, const RECT& target, bool cover) noexcept {
    const std::int64_t targetWidth = target.right - target.left, targetHeight = target.bottom - target.top;
    if (width <= 0 || height <= 0) {
        return target;
    }
    // Compared as cross products, so the choice of the limiting side is exact.
    const bool byWidth = (targetWidth * height > targetHeight * width) == cover;
    const std::int64_t placedWidth = byWidth ? targetWidth : (targetHeight * width + height / 2) / height;
    const std::int64_t placedHeight = byWidth ? (targetWidth * height + width / 2) / width : targetHeight;
    const LONG left = target.left + static_cast<LONG>((targetWidth - placedWidth) / 2);
    const LONG top = target.top + static_cast<LONG>((targetHeight - placedHeight) / 2);
    return RECT{left, top, left + static_cast<LONG>(placedWidth), top + static_cast<LONG>(placedHeight)};
}

}  // namespace

Placement placementFromPosition(int position) noexcept {
    for (const PlacementName& name : PLACEMENTS) {
        if (name.position == position) return name.placement;
    }
    return Placement::FILL;
}

Placement placementFromStyle(const std::wstring& wallpaperStyle, const std::wstring& tileWallpaper) noexcept {
    for (const PlacementName& name : PLACEMENTS) {
        if (wallpaperStyle == name.style && (name.tile == nullptr || tileWallpaper == name.tile ||
                                             (name.placement == Placement::CENTER && tileWallpaper != L"1"))) {
            return name.placement;
        }
    }
    return Placement::FILL;
}

RECT placedRectangle(Placement placement, int width, int height, const RECT& monitor, const RECT& desktop) noexcept {
    switch (placement) {
    case Placement::CENTER: {
        const LONG left = monitor.left + (monitor.right - monitor.left - width) / 2;
        const LONG top = monitor.top + (monitor.bottom - monitor.top - height) / 2;
        return RECT{left, top, left + width, top + height};
    }
    case Placement::TILE:
        return RECT{monitor.left, monitor.top, monitor.left + width, monitor.top + height};
    case Placement::STRETCH:
        return monitor;
    case Placement::FIT:
        return scaledCentred(width, height, monitor, false);
    case Placement::SPAN:
        return scaledCentred(width, height, desktop, true);
    case Placement::FILL:
    default:
        return scaledCentred(width, height, monitor, true);
    }
}
