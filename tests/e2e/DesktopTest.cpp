// orlivex.scr /s where the screen shows nothing to grow from: on a desktop of its own, as the system
// starts a secure saver after the idle time, and with the picture setting telling it not to read the
// screen. The test process sees only its own desktop; a thread of its own that owns no window joins
// the saver's desktop to find the saver's window there and capture it.
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "klib/ComPtr.h"
#include "tests/support/ImageFiles.h"
#include "tests/e2e/E2e.h"
#include "tests/support/E2eDesktop.h"
#include "tests/support/LifeGrid.h"

namespace {

using e2e::Capture;

const COLORREF COLOUR = RGB(0x20, 0xC0, 0x40);

int greyOf(std::uint32_t rgb) {
    return static_cast<int>((((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF)) / 3);
}

// The states of a board's cells, read from the top-left pixel of each cell of a capture.
struct Cells {
    int columns = 0;
    int rows = 0;
    testing_support::Grid live;
    bool at(int column, int row) const {
        return column >= 0 && row >= 0 && column < columns && row < rows &&
               live[static_cast<size_t>(row) * columns + column];
    }
    int count() const { return testing_support::alive(live); }
};

Cells cellsOf(const Capture& capture, int size) {
    Cells cells{(capture.width + size - 1) / size, (capture.height + size - 1) / size, {}};
    for (int row = 0; row < cells.rows; ++row)
        for (int column = 0; column < cells.columns; ++column)
            cells.live.push_back(capture.at(column * size, row * size) != 0);
    return cells;
}

// The cells whose pixel of picture (width pixels a row, top row first) lies in band's 32 grey levels.
Cells bandOf(const std::vector<std::uint32_t>& picture, int width, int size, const Cells& shape, int band) {
    Cells cells{shape.columns, shape.rows, {}};
    for (int row = 0; row < cells.rows; ++row)
        for (int column = 0; column < cells.columns; ++column)
            cells.live.push_back(greyOf(picture[static_cast<size_t>(row) * size * width + column * size]) >> 5 ==
                                 band);
    return cells;
}

Cells nextGeneration(const Cells& cells) {
    return {cells.columns, cells.rows, testing_support::reference(cells.columns, cells.rows, cells.live, false)};
}

double agreement(const Cells& a, const Cells& b) {
    size_t same = 0;
    for (size_t i = 0; i < a.live.size(); ++i) same += a.live[i] == b.live[i];
    return static_cast<double>(same) / static_cast<double>(a.live.size());
}

// How closely the board is one band of the picture's grey levels, over the band the clock may have
// picked: as generation 0, or as generation 1 should the first tick come before the capture.
double bestBandAgreement(const Cells& board, const std::vector<std::uint32_t>& picture, int width, int size,
                         bool orNext = true) {
    double best = 0;
    for (int band = 0; band < 8; ++band) {
        const Cells zero = bandOf(picture, width, size, board, band);
        best = std::max({best, agreement(board, zero), orNext ? agreement(board, nextGeneration(zero)) : 0.0});
    }
    return best;
}

// A generated picture's band on the screen: a fair share of the cells alive, as shapes rather than
// scattered births: most live cells touch another across an edge. How the shapes spread over the
// board is the seeding unit's test.
void expectOrganic(const Cells& board) {
    const double live = static_cast<double>(board.count()) / static_cast<double>(board.live.size());
    EXPECT_GE(live, 0.03);
    EXPECT_LE(live, 0.60);
    int touching = 0;
    for (int row = 0; row < board.rows; ++row)
        for (int column = 0; column < board.columns; ++column)
            touching += board.at(column, row) && (board.at(column - 1, row) || board.at(column + 1, row) ||
                                                  board.at(column, row - 1) || board.at(column, row + 1));
    EXPECT_GE(touching, board.count() * 3 / 4) << "scattered cells, not shapes";
}

// A smooth picture with every grey level about equally common, so that every band brings an eighth
// of the cells alive: written as a JPEG of the screen's size, so filling the screen places it unscaled.
std::vector<std::uint32_t> makeLandscape(int width, int height) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // A triangle wave over bent diagonals: levels 0 to 255 and back, evenly.
            const int phase = static_cast<int>(x * 1.7 + y * 1.1 + 60 * std::sin(y / 53.0) + 40 * std::sin(x / 71.0));
            const int folded = ((phase % 512) + 512) % 512;
            const auto grey = static_cast<std::uint32_t>(folded < 256 ? folded : 511 - folded);
            pixels.push_back(grey << 16 | grey << 8 | grey);
        }
    return pixels;
}

// The JPEG decoded here as the saver would: 0x00RRGGBB, top row first; empty when it cannot be.
std::vector<std::uint32_t> decode(const std::wstring& path, int width, int height) {
    klib::ComPtr<IWICImagingFactory> factory;
    klib::ComPtr<IWICBitmapDecoder> decoder;
    klib::ComPtr<IWICBitmapFrameDecode> frame;
    klib::ComPtr<IWICFormatConverter> converter;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid())) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(width) * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data()))))
        return {};
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(apartment.isReady());
        const RECT screen = e2e::screenRect();
        width = screen.right - screen.left;
        height = screen.bottom - screen.top;
        jpeg = testing_support::tempPath(L"orlivex-desktop") + L".jpg";
        ASSERT_TRUE(testing_support::writeImage(jpeg, GUID_ContainerFormatJpeg, width, height,
                                                makeLandscape(width, height)));
        decoded = decode(jpeg, width, height);
        ASSERT_FALSE(decoded.empty());
        settings.set(L"interval", 1000);
    }
    void TearDown() override { DeleteFileW(jpeg.c_str()); }

    // The first paint of /s started on a fresh desktop of its own.
    Capture firstPaintOnOwnDesktop() {
        const e2e::SaverDesktop desktop(L"OrlivexSaver" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(++desktops));
        if (!desktop.made()) return Capture{};
        const e2e::Process saver(L"/s", nullptr, desktop.name().c_str());
        return e2e::firstPaintOnDesktop(desktop.name(), saver.id(), COLOUR);
    }
    // The first paint of /s on this desktop over a busy screen: a grey ramp, a picture of its own.
    Capture firstPaintOverRamp() {
        const e2e::GreyRamp ramp(e2e::screenRect());
        e2e::movePointer(300, 300);  // at rest, so the saver's first move message only records it
        e2e::Process saver(L"/s");
        return e2e::waitForFirstPaint(saver.id(), COLOUR, e2e::STARTUP_MS);
    }
    std::vector<std::uint32_t> rampPicture() const {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) pixels.push_back(0x010101u * e2e::GreyRamp::greyAt(x, width));
        return pixels;
    }

    klib::ComApartment apartment{COINIT_APARTMENTTHREADED};
    e2e::StoredSettings settings;
    e2e::WallpaperSetting wallpaper;
    int width = 0, height = 0, desktops = 0;
    std::wstring jpeg;
    std::vector<std::uint32_t> decoded;
};

// On a desktop of its own. Under Wine, once another desktop has shown windows, captures of this one
// read black: tests/CMakeLists.txt runs these in a Wine of their own.
class OwnDesktopTest : public DesktopTest {};

// Wine draws only bitmaps on its desktops: a JPEG's band shows that the saver read the file itself.
TEST_F(OwnDesktopTest, GenerationZeroFollowsAJpegWallpaper) {
    settings.set(L"size", 2);
    settings.set(L"color", COLOUR);
    ASSERT_TRUE(wallpaper.set(jpeg, L"10", L"0"));
    const Capture first = firstPaintOnOwnDesktop();
    ASSERT_EQ(first.width, width) << "no first paint of the saver's window on its desktop";
    ASSERT_EQ(first.height, height);
    EXPECT_GE(bestBandAgreement(cellsOf(first, 2), decoded, width, 2), 0.95);
}

TEST_F(OwnDesktopTest, WithoutWallpaperGenerationZeroIsAGeneratedPicture) {
    settings.set(L"size", 4);
    settings.set(L"color", COLOUR);
    ASSERT_TRUE(wallpaper.set(L"", L"10", L"0"));
    const Capture first = firstPaintOnOwnDesktop();
    ASSERT_EQ(first.width, width) << "no first paint (or no live cell) of the saver's window on its desktop";
    expectOrganic(cellsOf(first, 4));
}

// Over a ramp the screen's band would be a vertical stripe; picture 1 shows the wallpaper's instead.
TEST_F(DesktopTest, OverABusyScreenPictureOneGivesTheWallpaperAndTwoAGeneratedPicture) {
    settings.set(L"size", 2);
    settings.set(L"color", COLOUR);
    ASSERT_TRUE(wallpaper.set(jpeg, L"10", L"0"));
    const std::vector<std::uint32_t> ramp = rampPicture();

    settings.set(L"picture", 1);
    const Capture fromWallpaper = firstPaintOverRamp();
    ASSERT_EQ(fromWallpaper.width, width) << "picture 1: no first paint";
    const Cells wallpaperBoard = cellsOf(fromWallpaper, 2);
    EXPECT_GE(bestBandAgreement(wallpaperBoard, decoded, width, 2), 0.95);
    EXPECT_GE(wallpaperBoard.count(), static_cast<int>(wallpaperBoard.live.size()) / 20) << "nearly empty";
    EXPECT_LT(bestBandAgreement(wallpaperBoard, ramp, width, 2, false), 0.95) << "picture 1 read the screen";

    settings.set(L"picture", 2);
    const Capture generated = firstPaintOverRamp();
    ASSERT_EQ(generated.width, width) << "picture 2: no first paint";
    const Cells generatedBoard = cellsOf(generated, 2);
    expectOrganic(generatedBoard);
    EXPECT_LT(bestBandAgreement(generatedBoard, decoded, width, 2), 0.95) << "picture 2 read the wallpaper";
    EXPECT_LT(bestBandAgreement(generatedBoard, ramp, width, 2, false), 0.95) << "picture 2 read the screen";
}

}  // namespace
