#include "app/WallpaperFile.h"

#include "app/ImageHeader.h"
#include "app/WicSourceTransform.h"
#include "klib/ComPtr.h"
#include "klib/KernelHandle.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Enough for the headers of nearly every JPEG (its size follows the metadata segments); beyond it
// the decoder's own size is checked.
constexpr DWORD HEADER_BYTES = 256 * 1024;

bool readHeader(HANDLE file, std::vector<std::uint8_t>& header) {
    header.resize(HEADER_BYTES);
    DWORD read = 0;
    if (!ReadFile(file, header.data(), HEADER_BYTES, &read, nullptr)) {
        return false;
    }
    header.resize(read);
    LARGE_INTEGER start{};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) != 0;
}

// Where a screen coordinate falls in the source along one side: scaled from the placed picture's
// side to the source's, the nearest pixel as the scaler picks it (the one whose span holds the
// point's left or top edge); or, tiled, repeating the source's side from start on.
struct SourceAxis {
    LONG start;
    int placed;
    int source;
    bool tiled;
    int at(LONG point) const noexcept {
        const std::int64_t offset = static_cast<std::int64_t>(point) - start;
        return static_cast<int>(tiled ? offset % source : offset * source / placed);
    }
};

// The source's pixels, converted to 0x00RRGGBB, for the points of target (screen coordinates) that
// picture holds: only the source rows those points fall on are copied, one at a time.
bool sampleInto(IWICBitmapSource& source, const RECT& target, const SourceAxis& across, const SourceAxis& down,
                PlacedPicture& picture) {
    int left = 0, right = 0, top = 0, bottom = 0;
    picture.heldColumns(target.left, target.right, left, right);
    picture.heldRows(target.top, target.bottom, top, bottom);
    if (left == right || top == bottom) {
        return true;
    }
    const RECT& area = picture.getArea();
    const int step = picture.getStep();
    std::vector<int> sourceColumns;
    for (int column = left; column < right; ++column) sourceColumns.push_back(across.at(area.left + column * step));
    const int first = *std::min_element(sourceColumns.begin(), sourceColumns.end());
    const int span = *std::max_element(sourceColumns.begin(), sourceColumns.end()) - first + 1;
    for (int& column : sourceColumns) column -= first;  // now the place in line
    std::vector<std::uint32_t> line(static_cast<std::size_t>(span));
    int copied = -1;  // the source row in line
    for (int row = top; row < bottom; ++row) {
        const int sourceRow = down.at(area.top + row * step);
        if (sourceRow != copied) {
            const WICRect part{first, sourceRow, span, 1};
            if (FAILED(source.CopyPixels(&part, static_cast<UINT>(span) * 4, static_cast<UINT>(span) * 4,
                                         reinterpret_cast<BYTE*>(line.data())))) {
                return false;
            }
            copied = sourceRow;
        }
        std::uint32_t* const pixels = picture.heldRow(row) + left;
        for (std::size_t i = 0; i < sourceColumns.size(); ++i) {
            pixels[i] = line[static_cast<std::size_t>(sourceColumns[i])] & 0xFFFFFF;
        }
    }
    return true;
}

// The frame as the decoder itself scales it while decoding (a JPEG's DCT scaling to 1/2, 1/4 or
// 1/8): the smallest such size still at least width x height, decoded into a bitmap of its own. Null
// when the decoder cannot scale, or not to below the full size; the sampling then reads the frame.
klib::ComPtr<IWICBitmapSource> decodedSmaller(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, UINT fullWidth,
                                              UINT fullHeight, UINT width, UINT height) {
    klib::ComPtr<IWICBitmapSourceTransform> transform;
    if (FAILED(frame.QueryInterface(IID_OrlivexWICBitmapSourceTransform, transform.putVoid()))) {
        return {};
    }
    UINT scaledWidth = 0, scaledHeight = 0;
    for (UINT divisor = 8; divisor >= 2; divisor /= 2) {
        UINT w = (fullWidth + divisor - 1) / divisor, h = (fullHeight + divisor - 1) / divisor;
        if (w < width || h < height || FAILED(transform->GetClosestSize(&w, &h))) continue;
        if (w >= width && h >= height && w < fullWidth && h < fullHeight) {
            scaledWidth = w;
            scaledHeight = h;
            break;
        }
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    if (scaledWidth == 0 || FAILED(transform->GetClosestPixelFormat(&format))) {
        return {};
    }
    klib::ComPtr<IWICBitmap> bitmap;
    if (FAILED(factory.CreateBitmap(scaledWidth, scaledHeight, format, WICBitmapCacheOnLoad, bitmap.put()))) {
        return {};
    }
    {
        klib::ComPtr<IWICBitmapLock> lock;
        const WICRect whole{0, 0, static_cast<INT>(scaledWidth), static_cast<INT>(scaledHeight)};
        UINT stride = 0, size = 0;
        BYTE* pixels = nullptr;
        if (FAILED(bitmap->Lock(&whole, WICBitmapLockWrite, lock.put())) || FAILED(lock->GetStride(&stride)) ||
            FAILED(lock->GetDataPointer(&size, &pixels)) ||
            FAILED(transform->CopyPixels(nullptr, scaledWidth, scaledHeight, &format, WICBitmapTransformRotate0, stride,
                                         size, pixels))) {
            return {};
        }
    }
    klib::ComPtr<IWICBitmapSource> source;
    if (FAILED(bitmap->QueryInterface(IID_IWICBitmapSource, source.putVoid()))) {
        return {};
    }
    return source;
}

PlaceResult convertAndSample(IWICImagingFactory& factory, IWICBitmapSource& source, const RECT& target,
                             const SourceAxis& across, const SourceAxis& down, PlacedPicture& picture) {
    klib::ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory.CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(&source, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return PlaceResult::FAILED;
    }
    return sampleInto(*converter.get(), target, across, down, picture) ? PlaceResult::PLACED : PlaceResult::FAILED;
}

PlaceResult decodeAndPlace(IWICImagingFactory& factory, HANDLE file, Placement placement, const RECT& monitor,
                           const RECT& desktop, PlacedPicture& picture) {
    std::vector<std::uint8_t> header;
    if (!readHeader(file, header)) {
        return PlaceResult::FAILED;
    }
    std::uint32_t declaredWidth = 0, declaredHeight = 0;
    if (declaredImageSize(header.data(), header.size(), declaredWidth, declaredHeight) &&
        (declaredWidth > MAX_IMAGE_SIDE || declaredHeight > MAX_IMAGE_SIDE)) {
        return PlaceResult::FAILED;
    }
    header = std::vector<std::uint8_t>();
    klib::ComPtr<IWICBitmapDecoder> decoder;
    klib::ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (FAILED(factory.CreateDecoderFromFileHandle(reinterpret_cast<ULONG_PTR>(file), nullptr,
                                                   WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) || width == 0 ||
        height == 0 || width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE) {
        return PlaceResult::FAILED;
    }
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    const RECT placed = placedRectangle(placement, w, h, monitor, desktop);
    // Tiles repeat over the whole monitor; any other placement shows its rectangle's part of it.
    RECT shown = monitor, target;
    if ((placement != Placement::TILE && !IntersectRect(&shown, &placed, &monitor)) ||
        !IntersectRect(&target, &shown, &picture.getArea())) {
        return PlaceResult::PLACED;  // nothing of it in the area
    }
    const int placedWidth = placed.right - placed.left, placedHeight = placed.bottom - placed.top;
    if (placement == Placement::TILE) {
        // The tile's top-left part that fits the monitor, repeated from its corner.
        const int tileWidth = std::min(w, static_cast<int>(monitor.right - monitor.left));
        const int tileHeight = std::min(h, static_cast<int>(monitor.bottom - monitor.top));
        return convertAndSample(factory, *frame.get(), target, SourceAxis{monitor.left, tileWidth, tileWidth, true},
                                SourceAxis{monitor.top, tileHeight, tileHeight, true}, picture);
    }
    klib::ComPtr<IWICBitmapSource> smaller;
    UINT smallerWidth = 0, smallerHeight = 0;
    if (placedWidth != w || placedHeight != h) {
        // The decoder scales down first where it can; the sampling does only the rest.
        smaller = decodedSmaller(factory, *frame.get(), width, height, static_cast<UINT>(placedWidth),
                                 static_cast<UINT>(placedHeight));
        if (smaller && FAILED(smaller->GetSize(&smallerWidth, &smallerHeight))) smaller.reset();
    }
    IWICBitmapSource& source = smaller ? *smaller.get() : static_cast<IWICBitmapSource&>(*frame.get());
    const int sourceWidth = smaller ? static_cast<int>(smallerWidth) : w;
    const int sourceHeight = smaller ? static_cast<int>(smallerHeight) : h;
    return convertAndSample(factory, source, target, SourceAxis{placed.left, placedWidth, sourceWidth, false},
                            SourceAxis{placed.top, placedHeight, sourceHeight, false}, picture);
}

}  // namespace

std::wstring extendedLengthPath(const std::wstring& path) {
    if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0) {
        return path;
    }
    if (path.compare(0, 2, L"\\\\") == 0) {
        return L"\\\\?\\UNC\\" + path.substr(2);
    }
    std::wstring full(path.size() + MAX_PATH, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length == 0 || length >= full.size()) {
        return path;
    }
    full.resize(length);
    return full.compare(0, 2, L"\\\\") == 0 ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

PlaceResult placeWallpaperFile(IWICImagingFactory& factory, const std::wstring& path, Placement placement,
                               const RECT& monitor, const RECT& desktop, PlacedPicture& picture) {
    const klib::KernelHandle file(CreateFileW(extendedLengthPath(path).c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PlaceResult::MISSING
                                                                              : PlaceResult::FAILED;
    }
    try {
        return decodeAndPlace(factory, file.get(), placement, monitor, desktop, picture);
    } catch (const std::bad_alloc&) {
        return PlaceResult::FAILED;
    }
}
