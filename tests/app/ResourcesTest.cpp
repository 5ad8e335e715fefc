#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(Resources, IconOneHundredAndOneLoadsAtSmallAndLargeSize) {
    for (const int size : {16, 32}) {
        const auto icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101), IMAGE_ICON, size, size, 0));
        EXPECT_NE(nullptr, icon) << size;
        if (icon != nullptr) DestroyIcon(icon);
    }
}

}  // namespace
