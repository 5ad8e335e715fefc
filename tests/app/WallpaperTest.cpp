#include "app/Seeding.h"
#include "app/WallpaperLoader.h"

#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/ImageFiles.h"
#include "klib/ComPtr.h"

namespace {

using testing_support::writeImage;

// 8 x 8 blocks, each of its own grey, with a red one at the top left.
constexpr int WIDTH = 64, HEIGHT = 48;
std::uint32_t blocks(int x, int y) {
    if (x < 8 && y < 8) return 0xFF0000;
    const std::uint32_t grey = ((x / 8) * 37 + (y / 8) * 71) % 256;
    return grey * 0x010101;
}
std::vector<std::uint32_t> blockPixels() {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) pixels.push_back(blocks(x, y));
    return pixels;
}

class Wallpaper : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(apartment.isReady());
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    void TearDown() override {
        for (const std::wstring& file : files) DeleteFileW(file.c_str());
        RemoveDirectoryW(folder.c_str());
    }
    std::wstring file(const wchar_t* name) {
        files.push_back(folder + L"\\" + name);
        return files.back();
    }
    static std::vector<MonitorWallpaper> on(const std::wstring& path, Placement placement = Placement::CENTER,
                                            RECT monitor = RECT{0, 0, WIDTH, HEIGHT}) {
        return {MonitorWallpaper{monitor, path, placement, RGB(0, 0, 255)}};
    }
    static std::unique_ptr<PlacedPicture> load(const std::vector<MonitorWallpaper>& wallpapers,
                                               RECT area = RECT{0, 0, WIDTH, HEIGHT}, int step = 1) {
        return loadWallpaper(area, {area}, &wallpapers, GetTickCount() + 10000, step);
    }
    // The pixels of picture that differ from blocks shrunk by shrink, where picture holds every step-th pixel.
    static int wrongPixels(const PlacedPicture& picture, int shrink = 1, int step = 1) {
        int wrong = 0;
        for (int y = 0; y < HEIGHT / shrink; ++y) {
            for (int x = 0; x < WIDTH / shrink; ++x) {
                const std::uint32_t rgb = blocks(x * shrink, y * shrink);
                const bool held = x % step == 0 && y % step == 0;
                wrong += picture.getPixel(x, y) != (held ? RGB(rgb >> 16, (rgb >> 8) & 255, rgb & 255) : CLR_INVALID);
            }
        }
        return wrong;
    }

    const klib::ComApartment apartment{COINIT_APARTMENTTHREADED};
    const std::wstring folder = testing_support::tempPath(L"orlivex-wallpaper");
    std::vector<std::wstring> files;
};

TEST_F(Wallpaper, PngAndBmpFilesDecodePixelForPixelAlsoStretchedAndSampled) {
    const struct { const wchar_t* name; GUID container; } formats[] = {
        {L"w.png", GUID_ContainerFormatPng}, {L"w.bmp", GUID_ContainerFormatBmp}};
    for (const auto& format : formats) {
        SCOPED_TRACE(::testing::Message() << format.name);
        const std::wstring path = file(format.name);
        ASSERT_TRUE(writeImage(path, format.container, WIDTH, HEIGHT, blockPixels()));
        const auto picture = load(on(path));
        ASSERT_NE(nullptr, picture);
        EXPECT_EQ(0, wrongPixels(*picture));
        // Stretched to half and held only where cells of 3 read it: each held pixel its block's, none between.
        const RECT half{0, 0, WIDTH / 2, HEIGHT / 2};
        const auto sampled = load(on(path, Placement::STRETCH, half), half, 3);
        ASSERT_NE(nullptr, sampled);
        EXPECT_EQ(0, wrongPixels(*sampled, 2, 3));
    }
    // A JPEG seeding a band of its grey levels is DesktopTest's, end to end.
}

// Centred and tiled pictures are compared pixel for pixel with the desktop's own interface, a stretched
// one where the picture files are: here the two that scale and keep the picture's shape.
TEST_F(Wallpaper, FitAndFillScaleThePictureOntoItsMonitorOverTheBackground) {
    // A 2 x 2 picture: red, green / white, black.
    const std::wstring path = file(L"small.bmp");
    ASSERT_TRUE(writeImage(path, GUID_ContainerFormatBmp, 2, 2, {0xFF0000, 0x00FF00, 0xFFFFFF, 0x000000}));
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), white = RGB(255, 255, 255), black = 0,
                   blue = RGB(0, 0, 255);
    const RECT monitor{100, 50, 140, 70};  // 40 x 20, away from the origin
    const struct { Placement placement; POINT at; COLORREF colour; } probes[] = {
        // Fit: 20 x 20 in the middle, blue beside it.
        {Placement::FIT, {105, 60}, blue}, {Placement::FIT, {111, 51}, red}, {Placement::FIT, {129, 51}, green},
        {Placement::FIT, {111, 68}, white}, {Placement::FIT, {129, 68}, black}, {Placement::FIT, {135, 60}, blue},
        // Fill: 40 x 40, its middle rows shown.
        {Placement::FILL, {100, 50}, red}, {Placement::FILL, {139, 69}, black}};
    for (const auto& probe : probes) {
        SCOPED_TRACE(::testing::Message() << "placement " << static_cast<int>(probe.placement) << " at "
                                          << probe.at.x << "," << probe.at.y);
        const auto picture = load(on(path, probe.placement, monitor), RECT{90, 40, 150, 80});
        ASSERT_NE(nullptr, picture);
        EXPECT_EQ(probe.colour, picture->getPixel(probe.at.x, probe.at.y));
        EXPECT_EQ(CLR_INVALID, picture->getPixel(95, 45));  // no monitor shows it
    }
}

// Whatever is wrong with the file, the picture is the background alone, so seeding goes on to the
// generated picture; no handle stays open.
TEST_F(Wallpaper, BadFilesGiveTheBackgroundAloneAndLeakNothing) {
    const std::wstring good = file(L"good.png");
    ASSERT_TRUE(writeImage(good, GUID_ContainerFormatPng, WIDTH, HEIGHT, blockPixels()));
    const std::vector<char> png = testing_support::readBytes(good);
    ASSERT_GT(png.size(), 100u);
    std::vector<char> corrupt = png;
    for (std::size_t i = 40; i < corrupt.size(); ++i) corrupt[i] = static_cast<char>(i * 7);
    std::vector<char> huge = png;  // IHDR declares 20000 x 48
    huge[16] = 0, huge[17] = 0, huge[18] = 0x4E, huge[19] = 0x20;
    const struct { const wchar_t* name; std::vector<char> bytes; } bad[] = {
        {L"truncated.png", std::vector<char>(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(png.size() / 2))},
        {L"corrupt.png", corrupt}, {L"huge.png", huge}, {L"empty.png", {}},
        {L"text.png", std::vector<char>(400, 'x')}};
    std::vector<std::wstring> paths = {folder + L"\\missing.png", folder};  // the folder cannot be read as a file
    for (const auto& b : bad) {
        paths.push_back(file(b.name));
        testing_support::writeBytes(paths.back(), b.bytes);
    }
    // Open without sharing: unreadable while held.
    const std::wstring locked = file(L"locked.png");
    testing_support::writeBytes(locked, png);
    const HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    paths.push_back(locked);
    load(on(good));  // the first load brings in COM and WIC for good
    DWORD handlesBefore = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    for (const std::wstring& path : paths) {
        SCOPED_TRACE(::testing::Message() << std::string(path.begin(), path.end()));
        const auto picture = load(on(path));
        ASSERT_NE(nullptr, picture);
        EXPECT_EQ(RGB(0, 0, 255), picture->getPixel(0, 0));
        EXPECT_FALSE(showsSeveralColours(*picture, 0, 0, 1, WIDTH, HEIGHT));
    }
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(handlesBefore, handlesAfter);
    CloseHandle(lock);
    EXPECT_EQ(0, wrongPixels(*load(on(locked))));  // the same file, readable again
}

TEST_F(Wallpaper, APathOfMoreThan260CharactersIsRead) {
    std::wstring deep = L"\\\\?\\" + folder;
    std::vector<std::wstring> folders;
    while (deep.size() < 300) {
        deep += L"\\" + std::wstring(60, L'd');
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
        folders.push_back(deep);
    }
    const std::wstring path = deep + L"\\long.png";
    ASSERT_TRUE(writeImage(path, GUID_ContainerFormatPng, WIDTH, HEIGHT, blockPixels()));
    const auto picture = load(on(path.substr(4)));  // as the settings name it, without the prefix
    DeleteFileW(path.c_str());
    for (auto it = folders.rbegin(); it != folders.rend(); ++it) RemoveDirectoryW(it->c_str());
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(0, wrongPixels(*picture));
}

// A FIFO whose writer never writes blocks its reader, as a share that does not answer does: the wait
// ends within the budget and the worker is left behind. The test's launcher (with-stuck-fifo.sh) makes it.
TEST_F(Wallpaper, AReadThatNeverEndsIsAbandonedWithinTheBudget) {
    const char* const fifo = std::getenv("ORLIVEX_TEST_FIFO");
    if (fifo == nullptr) GTEST_SKIP() << "no FIFO from the launcher: run by the app_stuck_read test under Wine";
    std::wstring path = L"Z:";
    for (const char* c = fifo; *c != '\0'; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    const std::vector<MonitorWallpaper> wallpapers = on(path);
    LifeBoard board(WIDTH, HEIGHT);
    SeedRequest request;
    request.width = WIDTH;
    request.height = HEIGHT;
    request.picture = 1;
    request.monitors = {RECT{0, 0, WIDTH, HEIGHT}};
    request.wallpapers = &wallpapers;
    const DWORD start = GetTickCount();
    EXPECT_EQ(PictureSource::GENERATED, seedBoard(board, request));
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, WALLPAPER_BUDGET_MS - 20);  // it did wait for the worker: the read really hung
    EXPECT_LT(took, WALLPAPER_BUDGET_MS + 300);
}

}  // namespace
