// The configuration dialog moved to a monitor of another DPI (WM_DPICHANGED) lays itself out again.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "app/Configure.h"

namespace {

// The dialog's child windows of exactly this size.
int childrenSized(HWND dialog, int width, int height) {
    std::vector<HWND> children;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    int found = 0;
    for (HWND child : children) {
        RECT r;
        GetWindowRect(child, &r);
        found += r.right - r.left == width && r.bottom - r.top == height;
    }
    return found;
}

void moveToDpi(Configure& dialog, UINT dpi, RECT suggested) {
    SendMessageW(dialog.getHandle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST(ConfigureDpiTest, MovedToAMonitorOfAnotherDpiItScalesAsOnePieceAndBack) {
    // Held by pointer: its destructor may throw.
    const auto dialog = std::make_unique<Configure>(nullptr);
    const HWND handle = dialog->getHandle();
    const awt::Dimension before = dialog->getSize();
    ASSERT_EQ(childrenSized(handle, 128, 96), 1);

    moveToDpi(*dialog, 144, RECT{40, 30, 40 + before.width, 30 + before.height});
    EXPECT_EQ(dialog->getX(), 40);
    EXPECT_EQ(dialog->getY(), 30);
    EXPECT_GT(dialog->getWidth(), before.width * 5 / 4);
    EXPECT_GT(dialog->getHeight(), before.height * 5 / 4);
    EXPECT_EQ(childrenSized(handle, 192, 144), 1) << "the preview at 144 DPI";
    EXPECT_EQ(dialog->getRenderer()->getWidth(), 192) << "a board for the new preview";
    EXPECT_EQ(dialog->getRenderer()->getHeight(), 144);

    moveToDpi(*dialog, 96, RECT{0, 0, 10, 10});
    EXPECT_EQ(dialog->getWidth(), before.width);
    EXPECT_EQ(dialog->getHeight(), before.height);
    EXPECT_EQ(childrenSized(handle, 128, 96), 1);
}

}  // namespace
