#pragma once

#include <cstddef>
#include <cstdint>

// The largest width or height of a wallpaper read: a larger one is refused before any decoding.
constexpr std::uint32_t MAX_IMAGE_SIDE = 16384;

// The width and height a PNG, BMP, GIF or JPEG file declares in its first count bytes; false when
// these bytes are none of those formats or do not reach the size.
bool declaredImageSize(const std::uint8_t* bytes, std::size_t count, std::uint32_t& width,
                       std::uint32_t& height) noexcept;
