#include "app/ImageHeader.h"

#include <cstring>

namespace {

std::uint32_t bigEndian16(const std::uint8_t* p) noexcept { return (p[0] << 8) | p[1]; }
std::uint32_t bigEndian32(const std::uint8_t* p) noexcept {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
std::uint32_t littleEndian16(const std::uint8_t* p) noexcept { return p[0] | (p[1] << 8); }
std::uint32_t littleEndian32(const std::uint8_t* p) noexcept {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The first start-of-frame segment's size; markers are walked by their lengths.
bool jpegSize(const std::uint8_t* bytes, std::size_t count, std::uint32_t& width, std::uint32_t& height) noexcept {
    std::size_t at = 2;
    while (at + 4 <= count) {
        if (bytes[at] != 0xFF) return false;
        const std::uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > count) return false;
            height = bigEndian16(bytes + at + 5);
            width = bigEndian16(bytes + at + 7);
            return true;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        at += 2 + bigEndian16(bytes + at + 2);
    }
    return false;
}

}  // namespace

bool declaredImageSize(const std::uint8_t* bytes, std::size_t count, std::uint32_t& width,
                       std::uint32_t& height) noexcept {
    static const std::uint8_t PNG[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (count >= 24 && std::memcmp(bytes, PNG, 8) == 0 && std::memcmp(bytes + 12, "IHDR", 4) == 0) {
        width = bigEndian32(bytes + 16);
        height = bigEndian32(bytes + 20);
        return true;
    }
    if (count >= 26 && bytes[0] == 'B' && bytes[1] == 'M') {
        if (littleEndian32(bytes + 14) == 12) {  // the old core header: 16-bit sides
            width = littleEndian16(bytes + 18);
            height = littleEndian16(bytes + 20);
            return true;
        }
        const auto signedHeight = static_cast<std::int32_t>(littleEndian32(bytes + 22));  // below 0: top-down
        width = littleEndian32(bytes + 18);
        height = signedHeight < 0 ? 0u - static_cast<std::uint32_t>(signedHeight) : static_cast<std::uint32_t>(signedHeight);
        return true;
    }
    if (count >= 10 && std::memcmp(bytes, "GIF8", 4) == 0) {
        width = littleEndian16(bytes + 6);
        height = littleEndian16(bytes + 8);
        return true;
    }
    if (count >= 4 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
        return jpegSize(bytes, count, width, height);
    }
    return false;
}
