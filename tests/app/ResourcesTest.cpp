#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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
