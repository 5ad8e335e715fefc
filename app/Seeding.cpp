#include "app/Seeding.h"

#include "app/GeneratedPicture.h"
#include "app/ScreenCapture.h"
#include "app/SettingsStore.h"
#include "app/WallpaperLoader.h"
#include "awt/DibSurface.h"

#include <algorithm>
#include <cstddef>
#include <memory>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define ORLIVEX_WIDE_BAND 1
#endif

namespace {

// Alive when the grey level (r + g + b) / 3 of a 0x00RRGGBB pixel lies in the key's band of 32,
// that is when its top three bits are the key's.
bool inBand(std::uint32_t rgb, unsigned key) noexcept {
    const unsigned grey = (((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF)) / 3u;
    return (grey ^ key) < 32;
}

#ifdef ORLIVEX_WIDE_BAND
// The same for four pixels step apart from pixels on, as bits 0-3.
int inBand(const std::uint32_t* pixels, int step, unsigned key) noexcept {
    const __m128i rgb = step == 1 ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels))
                                  : _mm_setr_epi32(static_cast<int>(pixels[0]), static_cast<int>(pixels[step]),
                                                   static_cast<int>(pixels[2 * step]),
                                                   static_cast<int>(pixels[3 * step]));
    const __m128i byte = _mm_set1_epi32(0xFF);
    const __m128i sum = _mm_add_epi32(_mm_add_epi32(_mm_and_si128(rgb, byte), _mm_and_si128(_mm_srli_epi32(rgb, 8), byte)),
                                      _mm_and_si128(_mm_srli_epi32(rgb, 16), byte));
    // sum / 3 as (sum x 43691) >> 17, exact for sums up to 765; the upper 16 bits of each lane stay 0.
    const __m128i grey = _mm_srli_epi32(_mm_mulhi_epu16(sum, _mm_set1_epi32(43691)), 1);
    const __m128i band = _mm_cmpeq_epi32(_mm_srli_epi32(grey, 5), _mm_set1_epi32(static_cast<int>(key >> 5)));
    return _mm_movemask_ps(_mm_castsi128_ps(band));
}
#endif

// The pixels a row of columns cells at y reads, the column-th at run[column x stride]: the picture's
// own run of exactly those pixels where it holds one, else its run of the whole row; null when neither.
const std::uint32_t* rowRun(const SeedPicture& picture, int x, int y, int cellSize, int columns, int& stride) noexcept {
    if (columns <= 0) {
        return nullptr;
    }
    const std::uint32_t* const sampled = picture.sampledRun(x, y, cellSize, columns);
    stride = sampled != nullptr ? 1 : cellSize;
    return sampled != nullptr ? sampled : picture.readableRun(x, y, (columns - 1) * cellSize + 1);
}

// Fills the cells of one board row from the pixels at y: the cell in column c reads the pixel at
// originX + c x cellSize.
void fillRow(const SeedPicture& picture, int originX, int y, int cellSize, unsigned key, int columns,
             std::uint64_t* cells) noexcept {
    // The usual case, the whole row readable as one run, is read straight from the picture.
    int stride = 1;
    const std::uint32_t* const run = rowRun(picture, originX, y, cellSize, columns, stride);
    for (int first = 0; first < columns; first += 64) {
        const int count = std::min(64, columns - first);
        std::uint64_t word = 0;
        int bit = 0;
        if (run != nullptr) {
#ifdef ORLIVEX_WIDE_BAND
            for (; bit + 4 <= count; bit += 4) {
                word |= static_cast<std::uint64_t>(inBand(run + (first + bit) * stride, stride, key)) << bit;
            }
#endif
            for (; bit < count; ++bit) {
                word |= static_cast<std::uint64_t>(inBand(run[(first + bit) * stride], key)) << bit;
            }
        } else {
            for (; bit < count; ++bit) {
                // An unreadable pixel is CLR_INVALID, all bits set: grey 255.
                const COLORREF pixel = picture.getPixel(originX + (first + bit) * cellSize, y);
                word |= static_cast<std::uint64_t>(inBand(awt::DibSurface::toPixel(pixel), key)) << bit;
            }
        }
        cells[first / 64] = word;
    }
}

// Whether the readable pixels of the rows added so far show more than one colour.
class ColourCount {
public:
    void addRow(const SeedPicture& picture, int originX, int y, int cellSize, int columns) noexcept {
        int stride = 1;
        const std::uint32_t* const run = rowRun(picture, originX, y, cellSize, columns, stride);
        for (int column = 0; column < columns && !several; ++column) {
            std::uint32_t pixel;
            if (run != nullptr) {
                pixel = run[column * stride] & 0xFFFFFF;  // some copies set the top byte
            } else {
                const COLORREF colour = picture.getPixel(originX + column * cellSize, y);
                if (colour == CLR_INVALID) continue;
                pixel = awt::DibSurface::toPixel(colour) & 0xFFFFFF;
            }
            several = seen && pixel != first;
            if (!seen) {
                seen = true;
                first = pixel;
            }
        }
    }
    bool showsSeveral() const noexcept { return several; }

private:
    bool seen = false;
    bool several = false;
    std::uint32_t first = 0;
};

class PictureRows final : public LifeBoard::RowSource {
public:
    PictureRows(const SeedPicture& picture, int originX, int originY, int cellSize, unsigned key, int columns)
        : picture(picture), originX(originX), originY(originY), cellSize(cellSize), key(key), columns(columns) {}

    void fillRow(int row, std::uint64_t* cells) override {
        ::fillRow(picture, originX, originY + row * cellSize, cellSize, key, columns, cells);
    }

private:
    const SeedPicture& picture;
    int originX, originY, cellSize;
    unsigned key;
    int columns;
};

// The screen's rows, copied a band of about SCREEN_BAND_PIXELS at a time as the board asks for them
// (top row first), so that no more than one band is held; the colours are counted on the way.
class ScreenRows final : public LifeBoard::RowSource {
public:
    ScreenRows(const SeedRequest& request, int columns)
        : request(request), columns(columns), width(std::max(0, request.width)),
          bottom(request.originY + std::max(0, request.height)),
          bandHeight(std::max(1, SCREEN_BAND_PIXELS / std::max(1, width))) {}

    void fillRow(int row, std::uint64_t* cells) override {
        const int y = request.originY + row * request.cellSize;
        if (band == nullptr || y >= bandBottom) {
            band.reset();  // the old band goes before the next is taken
            bandBottom = std::min(bottom, y + bandHeight);
            band = std::make_unique<ScreenCapture>(request.originX, y, width, bandBottom - y);
            captured = captured || band->isCaptured();
            failed = failed || band->hasFailed();
        }
        ::fillRow(*band, request.originX, y, request.cellSize, request.key, columns, cells);
        if (!colours.showsSeveral()) colours.addRow(*band, request.originX, y, request.cellSize, columns);
    }

    // Whether the screen was copied, every band of it that it shows, and the rows seeded from show more
    // than one colour. A band that failed reads as no screen at all, as one failed copy of it all did.
    bool showsSeveralColours() const noexcept { return captured && !failed && colours.showsSeveral(); }

private:
    const SeedRequest& request;
    const int columns, width, bottom, bandHeight;
    std::unique_ptr<ScreenCapture> band;
    int bandBottom = 0;
    bool captured = false;
    bool failed = false;
    ColourCount colours;
};

class GreyRows final : public LifeBoard::RowSource {
public:
    GreyRows(std::vector<std::uint8_t> grey, int columns, unsigned key)
        : grey(std::move(grey)), columns(columns), key(key) {}

    void fillRow(int row, std::uint64_t* cells) override {
        const std::uint8_t* const levels = grey.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(columns);
        for (int first = 0; first < columns; first += 64) {
            std::uint64_t word = 0;
            for (int bit = 0; bit < std::min(64, columns - first); ++bit) {
                word |= static_cast<std::uint64_t>((levels[first + bit] ^ key) < 32) << bit;
            }
            cells[first / 64] = word;
        }
    }

private:
    std::vector<std::uint8_t> grey;
    int columns;
    unsigned key;
};

}  // namespace

std::vector<PictureSource> sourcesFor(int picture) {
    switch (picture) {
    case PICTURE_WALLPAPER:
        return {PictureSource::WALLPAPER};
    case PICTURE_GENERATED:
        return {};
    default:
        return {PictureSource::SCREEN, PictureSource::WALLPAPER};
    }
}

void seedFromPicture(LifeBoard& board, const SeedPicture& picture, int originX, int originY, int cellSize,
                     unsigned key) {
    PictureRows rows(picture, originX, originY, cellSize, key, board.getColumns());
    board.seed(rows);
}

bool showsSeveralColours(const SeedPicture& picture, int originX, int originY, int cellSize, int columns,
                         int rows) noexcept {
    ColourCount colours;
    for (int row = 0; row < rows && !colours.showsSeveral(); ++row) {
        colours.addRow(picture, originX, originY + row * cellSize, cellSize, columns);
    }
    return colours.showsSeveral();
}

void seedGenerated(LifeBoard& board, unsigned seed, unsigned key) {
    GreyRows rows(generateGreyLevels(board.getColumns(), board.getRows(), seed), board.getColumns(), key);
    board.seed(rows);
}

PictureSource seedBoard(LifeBoard& board, const SeedRequest& request) {
    const DWORD start = GetTickCount();
    const int columns = board.getColumns(), rows = board.getRows();
    for (const PictureSource source : sourcesFor(request.picture)) {
        if (source == PictureSource::SCREEN) {
            // Seeded while the colours are counted; a screen of one colour is then seeded over.
            ScreenRows screen(request, columns);
            board.seed(screen);
            if (screen.showsSeveralColours()) {
                return source;
            }
        } else {
            const RECT area{request.originX, request.originY, request.originX + std::max(0, request.width),
                            request.originY + std::max(0, request.height)};
            const std::unique_ptr<PlacedPicture> wallpaper =
                loadWallpaper(area, request.monitors, request.wallpapers, start + WALLPAPER_BUDGET_MS,
                              request.cellSize);
            if (wallpaper != nullptr &&
                showsSeveralColours(*wallpaper, request.originX, request.originY, request.cellSize, columns, rows)) {
                seedFromPicture(board, *wallpaper, request.originX, request.originY, request.cellSize, request.key);
                return source;
            }
        }
    }
    seedGenerated(board, request.noiseSeed, request.key);
    return PictureSource::GENERATED;
}
