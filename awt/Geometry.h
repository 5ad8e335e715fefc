#pragma once

#include <algorithm>

namespace awt {

// Plain geometry records in pixels, signed 32-bit.

struct Point {
    int x;
    int y;
};

struct Dimension {
    int width;
    int height;
};

struct Rectangle {
    int x;
    int y;
    int width;
    int height;

    bool isEmpty() const noexcept { return width <= 0 || height <= 0; }

    // The common area of both rectangles; empty (zero size) when they do not overlap.
    Rectangle intersection(const Rectangle& other) const noexcept {
        const int left = std::max(x, other.x);
        const int top = std::max(y, other.y);
        // 64-bit edges: x + width can leave the int range for the CW_USEDEFAULT geometry of windows.
        const long long right = std::min(static_cast<long long>(x) + width, static_cast<long long>(other.x) + other.width);
        const long long bottom = std::min(static_cast<long long>(y) + height, static_cast<long long>(other.y) + other.height);
        if (right <= left || bottom <= top) {
            return Rectangle{left, top, 0, 0};
        }
        return Rectangle{left, top, static_cast<int>(right - left), static_cast<int>(bottom - top)};
    }
};

struct Insets {
    int top;
    int left;
    int bottom;
    int right;
};

inline bool operator==(const Point& a, const Point& b) noexcept { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const Point& a, const Point& b) noexcept { return !(a == b); }
inline bool operator==(const Dimension& a, const Dimension& b) noexcept {
    return a.width == b.width && a.height == b.height;
}
inline bool operator!=(const Dimension& a, const Dimension& b) noexcept { return !(a == b); }
inline bool operator==(const Rectangle& a, const Rectangle& b) noexcept {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
inline bool operator!=(const Rectangle& a, const Rectangle& b) noexcept { return !(a == b); }
inline bool operator==(const Insets& a, const Insets& b) noexcept {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}
inline bool operator!=(const Insets& a, const Insets& b) noexcept { return !(a == b); }

}  // namespace awt
