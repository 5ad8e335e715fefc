#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

HINSTANCE module() { return GetModuleHandleW(nullptr); }

std::wstring loadString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out the resource text itself and its length.
    const int length = LoadStringW(module(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

TEST(StringTable, HoldsTheDisplayNameAndTheDialogTexts) {
    EXPECT_EQ(L"Orlivex Screen Saver", loadString(IDS_DESCRIPTION));
    EXPECT_EQ(L"OK", loadString(IDS_OK));
    EXPECT_EQ(L"\u30AD\u30E3\u30F3\u30BB\u30EB", loadString(IDS_CANCEL));
    EXPECT_EQ(L"\u30D7\u30EC\u30D3\u30E5\u30FC", loadString(IDS_PREVIEW));
    EXPECT_EQ(L"\u9593\u9694[ms]", loadString(IDS_INTERVAL));
    EXPECT_EQ(L"\u30B5\u30A4\u30BA", loadString(IDS_SIZE));
    EXPECT_EQ(L"\u8272", loadString(IDS_COLOR));
    EXPECT_EQ(L"\u9078\u629E", loadString(IDS_CHOOSE));
}

TEST(StringTable, IsJapanese) {
    // Strings 0 to 15 live in block 1.
    EXPECT_NE(nullptr, FindResourceExW(module(), RT_STRING, MAKEINTRESOURCEW(1), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)));
}

class IconHolder {
public:
    explicit IconHolder(HICON icon) : icon_(icon) {}
    IconHolder(const IconHolder&) = delete;
    IconHolder& operator=(const IconHolder&) = delete;
    ~IconHolder() {
        if (icon_ != nullptr) DestroyIcon(icon_);
    }
    HICON get() const { return icon_; }

private:
    HICON icon_;
};

int iconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return -1;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

HICON loadIcon(int size) {
    return static_cast<HICON>(LoadImageW(module(), MAKEINTRESOURCEW(IDI_ORLIVEX), IMAGE_ICON, size, size, 0));
}

TEST(Icon, LoadsAtSmallAndLargeSize) {
    for (const int size : {16, 32}) {
        SCOPED_TRACE(size);
        const IconHolder icon(loadIcon(size));
        ASSERT_NE(nullptr, icon.get());
        EXPECT_EQ(size, iconWidth(icon.get()));
    }
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

TEST(Icon, GroupHoldsDrawnImagesForEveryCommonSize) {
    const HRSRC found = FindResourceW(module(), MAKEINTRESOURCEW(IDI_ORLIVEX), RT_GROUP_ICON);
    ASSERT_NE(nullptr, found);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module(), found)));
    ASSERT_NE(nullptr, data);
    WORD count = 0;
    std::memcpy(&count, data + 4, sizeof(count));
    ASSERT_EQ(SizeofResource(module(), found), 6u + count * sizeof(GroupIconEntry));
    std::set<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, data + 6 + i * sizeof(GroupIconEntry), sizeof(entry));
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(32, entry.bitCount);
        sizes.insert(entry.width == 0 ? 256 : entry.width);
    }
    EXPECT_EQ((std::set<int>{16, 32, 48, 256}), sizes);
}

// The icon is a glider in the cell colour on a black board with transparent corners.
TEST(Icon, ShowsAPurpleGliderOnBlack) {
    const IconHolder icon(loadIcon(32));
    ASSERT_NE(nullptr, icon.get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, dc);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, bitmap);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    std::memset(bits, 0xFF, 32 * 32 * 4);
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon.get(), 32, 32, 0, nullptr, DI_NORMAL));
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + 32 * 32);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);

    auto pixel = [&pixels](int x, int y) { return pixels[static_cast<size_t>(y * 32 + x)] & 0xFFFFFF; };
    auto red = [](DWORD p) { return static_cast<int>((p >> 16) & 0xFF); };
    auto green = [](DWORD p) { return static_cast<int>((p >> 8) & 0xFF); };
    auto blue = [](DWORD p) { return static_cast<int>(p & 0xFF); };

    EXPECT_EQ(0xFFFFFFu, pixel(0, 0)) << "corner should stay transparent";
    // Cells are 8 pixels on a 9 pixel pitch from (3, 3): the middle one is dead, the top middle alive.
    const DWORD dead = pixel(16, 16);
    EXPECT_LT(red(dead) + green(dead) + blue(dead), 0x60) << std::hex << dead;
    for (const POINT live : {POINT{16, 7}, POINT{25, 16}, POINT{7, 25}, POINT{16, 25}, POINT{25, 25}}) {
        const DWORD p = pixel(live.x, live.y);
        EXPECT_GT(blue(p), red(p)) << std::hex << p;
        EXPECT_GT(red(p), green(p)) << std::hex << p;
        EXPECT_GT(blue(p), 0x60) << std::hex << p;
    }
}

class VersionInfo : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t path[MAX_PATH];
        ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
        ASSERT_GT(size, 0u);
        block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
    }

    std::wstring query(const std::wstring& name) {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block.data(), (L"\\StringFileInfo\\041104B0\\" + name).c_str(), &value, &length)) {
            return L"<missing>";
        }
        std::wstring text(static_cast<const wchar_t*>(value), length);
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        return text;
    }

    std::vector<BYTE> block;
};

TEST_F(VersionInfo, NamesTheScreenSaverFile) {
    EXPECT_EQ(L"orlivex", query(L"InternalName"));
    EXPECT_EQ(L"orlivex.scr", query(L"OriginalFilename"));
    EXPECT_EQ(L"Orlivex Screen Saver", query(L"FileDescription"));
}

TEST_F(VersionInfo, IsJapaneseUnicode) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(4u, length);
    const WORD* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(0x0411, translation[0]);
    EXPECT_EQ(1200, translation[1]);
}

TEST_F(VersionInfo, IsVersionOneZeroZero) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
}

}  // namespace
