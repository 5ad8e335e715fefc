#include "app/WallpaperFile.h"

#include "app/ImageHeader.h"
#include "app/WicSourceTransform.h"
#include "klib/ComPtr.h"
#include "klib/KernelHandle.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <utility>
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

// The converted, scaled picture's pixels in part (relative to the scaled picture) into picture at
// the screen point (x, y), as 0x00RRGGBB.
bool copyInto(IWICBitmapSource& source, const WICRect& part, PlacedPicture& picture, int x, int y) {
    const RECT& area = picture.getArea();
    const UINT stride = static_cast<UINT>(picture.getWidth()) * 4;
    const UINT size = stride * static_cast<UINT>(part.Height - 1) + static_cast<UINT>(part.Width) * 4;
    std::uint32_t* const first = picture.row(y) + (x - area.left);
    if (FAILED(source.CopyPixels(&part, stride, size, reinterpret_cast<BYTE*>(first)))) {
        return false;
    }
    for (int row = 0; row < part.Height; ++row) {
        std::uint32_t* const pixels = picture.row(y + row) + (x - area.left);
        for (int column = 0; column < part.Width; ++column) pixels[column] &= 0xFFFFFF;
    }
    return true;
}

// A copy of the tile's top-left width x height pixels repeated over target (screen coordinates).
bool tile(IWICBitmapSource& source, const RECT& monitor, const RECT& target, int width, int height,
          PlacedPicture& picture) {
    const int tileWidth = std::min(width, static_cast<int>(monitor.right - monitor.left));
    const int tileHeight = std::min(height, static_cast<int>(monitor.bottom - monitor.top));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(tileWidth) * static_cast<std::size_t>(tileHeight));
    const WICRect whole{0, 0, tileWidth, tileHeight};
    if (FAILED(source.CopyPixels(&whole, static_cast<UINT>(tileWidth) * 4, static_cast<UINT>(pixels.size() * 4),
                                 reinterpret_cast<BYTE*>(pixels.data())))) {
        return false;
    }
    for (int y = target.top; y < target.bottom; ++y) {
        const std::uint32_t* const tileRow =
            pixels.data() + static_cast<std::size_t>((y - monitor.top) % tileHeight) * static_cast<std::size_t>(tileWidth);
        std::uint32_t* const row = picture.row(y) - picture.getArea().left;
        for (int x = target.left; x < target.right; ++x) row[x] = tileRow[(x - monitor.left) % tileWidth] & 0xFFFFFF;
    }
    return true;
}

// The frame as the decoder itself scales it while decoding (a JPEG's DCT scaling to 1/2, 1/4 or
// 1/8): the smallest such size still at least width x height, decoded into a bitmap of its own. Null
// when the decoder cannot scale, or not to below the full size; the scaler then reads the frame.
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
    klib::ComPtr<IWICBitmapSource> scaled;
    const int placedWidth = placed.right - placed.left, placedHeight = placed.bottom - placed.top;
    if (placement != Placement::TILE && (placedWidth != w || placedHeight != h)) {
        // The decoder scales down first where it can; the scaler does only the rest.
        klib::ComPtr<IWICBitmapSource> smaller = decodedSmaller(factory, *frame.get(), width, height,
                                                                static_cast<UINT>(placedWidth),
                                                                static_cast<UINT>(placedHeight));
        UINT smallerWidth = 0, smallerHeight = 0;
        if (smaller && SUCCEEDED(smaller->GetSize(&smallerWidth, &smallerHeight)) &&
            smallerWidth == static_cast<UINT>(placedWidth) && smallerHeight == static_cast<UINT>(placedHeight)) {
            scaled = std::move(smaller);
        } else {
            IWICBitmapSource& input = smaller ? *smaller.get() : static_cast<IWICBitmapSource&>(*frame.get());
            klib::ComPtr<IWICBitmapScaler> scaler;
            if (FAILED(factory.CreateBitmapScaler(scaler.put())) ||
                FAILED(scaler->Initialize(&input, static_cast<UINT>(placedWidth), static_cast<UINT>(placedHeight),
                                          WICBitmapInterpolationModeFant))) {
                return PlaceResult::FAILED;
            }
            scaled.reset(scaler.get());
            scaled->AddRef();
        }
    } else {
        scaled.reset(frame.get());
        scaled->AddRef();
    }
    klib::ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory.CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(scaled.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom))) {
        return PlaceResult::FAILED;
    }
    if (placement == Placement::TILE) {
        return tile(*converter.get(), monitor, target, w, h, picture) ? PlaceResult::PLACED : PlaceResult::FAILED;
    }
    const WICRect part{target.left - placed.left, target.top - placed.top, target.right - target.left,
                       target.bottom - target.top};
    return copyInto(*converter.get(), part, picture, target.left, target.top) ? PlaceResult::PLACED
                                                                              : PlaceResult::FAILED;
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
