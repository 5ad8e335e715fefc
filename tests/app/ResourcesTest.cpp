#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

std::wstring loadString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out the resource text itself and its length.
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

TEST(Resources, StringTableHoldsTheDisplayNameAndTheDialogTexts) {
    EXPECT_EQ(L"Orlivex Screen Saver", loadString(IDS_DESCRIPTION));
    EXPECT_EQ(L"OK", loadString(IDS_OK));
    EXPECT_EQ(L"\u30AD\u30E3\u30F3\u30BB\u30EB", loadString(IDS_CANCEL));
    EXPECT_EQ(L"\u30D7\u30EC\u30D3\u30E5\u30FC", loadString(IDS_PREVIEW));
    EXPECT_EQ(L"\u9593\u9694[ms]", loadString(IDS_INTERVAL));
    EXPECT_EQ(L"\u30B5\u30A4\u30BA", loadString(IDS_SIZE));
    EXPECT_EQ(L"\u8272", loadString(IDS_COLOR));
    EXPECT_EQ(L"\u9078\u629E", loadString(IDS_CHOOSE));
}

TEST(Resources, IconOneHundredAndOneLoadsAtSmallAndLargeSize) {
    for (const int size : {16, 32}) {
        const auto icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101), IMAGE_ICON, size, size, 0));
        EXPECT_NE(nullptr, icon) << size;
        if (icon != nullptr) DestroyIcon(icon);
    }
}

TEST(Resources, VersionBlockNamesTheScreenSaverFileInJapaneseUnicode) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path, nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
    const wchar_t* const names[][2] = {{L"InternalName", L"orlivex"}, {L"OriginalFilename", L"orlivex.scr"},
                                       {L"FileDescription", L"Orlivex Screen Saver"}};
    for (const auto& n : names) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring sub = std::wstring(L"\\StringFileInfo\\041104B0\\") + n[0];
        ASSERT_TRUE(VerQueryValueW(block.data(), sub.c_str(), &value, &length)) << n[0];
        EXPECT_STREQ(n[1], static_cast<const wchar_t*>(value));
    }
}

}  // namespace
