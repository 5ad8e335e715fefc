// The configuration dialog moved to a monitor of another DPI (WM_DPICHANGED) lays itself out again.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/Configure.h"
#include "awt/Toolkit.h"

namespace {

// Every descendant window of dialog, nested ones included.
std::vector<HWND> descendants(HWND dialog) {
    std::vector<HWND> children;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

// The dialog's child windows of exactly this width and a height from height to height + slack.
int childrenSized(HWND dialog, int width, int height, int slack = 0) {
    int found = 0;
    for (HWND child : descendants(dialog)) {
        RECT r;
        GetWindowRect(child, &r);
        const int childHeight = r.bottom - r.top;
        found += r.right - r.left == width && childHeight >= height && childHeight <= height + slack;
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
    // This process is not really at 144 DPI: the window keeps its 96 DPI border inside a size made for
    // the wider one, and the band holding the preview gets those few pixels.
    EXPECT_EQ(childrenSized(handle, 192, 144, 16), 1) << "the preview at 144 DPI";
    EXPECT_EQ(dialog->getRenderer()->getWidth(), 192) << "a board for the new preview";
    EXPECT_EQ(dialog->getRenderer()->getHeight(), 144);

    moveToDpi(*dialog, 96, RECT{0, 0, 10, 10});
    EXPECT_EQ(dialog->getWidth(), before.width);
    EXPECT_EQ(dialog->getHeight(), before.height);
    EXPECT_EQ(childrenSized(handle, 128, 96), 1);
}

// Where every descendant is on the screen, with the OK button's rectangle apart.
std::vector<RECT> placesOf(HWND dialog, RECT* ok) {
    std::vector<RECT> places;
    for (HWND child : descendants(dialog)) {
        RECT r;
        GetWindowRect(child, &r);
        places.push_back(r);
        wchar_t text[8] = L"";
        GetWindowTextW(child, text, 8);
        if (std::wstring(text) == L"OK") *ok = r;
    }
    return places;
}

bool samePlaces(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const RECT& p, const RECT& q) { return EqualRect(&p, &q) != FALSE; });
}

// Inside the system's move loop the toolkit's idle step does not run: the nested panels must be in
// their places at the new DPI when the message returns, not after the queued layout.
TEST(ConfigureDpiTest, TheWholeTreeIsLaidOutAtTheNewDpiBeforeTheMessageReturns) {
    const auto dialog = std::make_unique<Configure>(nullptr);
    const HWND handle = dialog->getHandle();
    moveToDpi(*dialog, 144, RECT{40, 30, 40 + dialog->getWidth(), 30 + dialog->getHeight()});
    RECT okMoved{};
    const std::vector<RECT> moved = placesOf(handle, &okMoved);
    EXPECT_GT(okMoved.bottom - okMoved.top, 0) << "the OK button, in a nested panel, not laid out";
    awt::Toolkit::forCurrentThread()->validatePending();
    RECT okLaidOut{};
    const std::vector<RECT> laidOut = placesOf(handle, &okLaidOut);
    EXPECT_TRUE(EqualRect(&okMoved, &okLaidOut)) << "the OK button moved only in the queued layout";
    EXPECT_TRUE(samePlaces(moved, laidOut)) << "some window moved only in the queued layout";
}

}  // namespace
