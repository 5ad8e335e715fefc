// The configuration dialog moved to a monitor of another DPI (WM_DPICHANGED) lays itself out again.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/Configure.h"
#include "awt/Container.h"
#include "awt/Dpi.h"
#include "awt/Toolkit.h"
#include "tests/support/ComponentTestSupport.h"
#include "tests/support/E2eWindows.h"

namespace {

using e2e::descendants;

void moveToDpi(Configure& dialog, UINT dpi, RECT suggested) {
    SendMessageW(dialog.getHandle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
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
    // Every control writes in the dialog font of the new DPI.
    for (HWND child : descendants(handle)) {
        EXPECT_EQ(SendMessageW(child, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(awt::getDialogFont(144)));
    }
    // The preview grew with the dialog, and the renderer made a board for it. How the dialog looks at
    // 144 DPI is HighDpiTest's, on a display at that scale.
    EXPECT_EQ(dialog->getRenderer()->getWidth(), 192);
    EXPECT_EQ(dialog->getRenderer()->getHeight(), 144);
    moveToDpi(*dialog, 96, RECT{0, 0, 10, 10});
    EXPECT_EQ(dialog->getRenderer()->getWidth(), 128) << "back at 96 DPI";
}

}  // namespace
