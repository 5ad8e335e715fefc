// The configuration dialog moved to a monitor of another DPI (WM_DPICHANGED) lays itself out again.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/Configure.h"
#include "awt/Choice.h"
#include "awt/Container.h"
#include "awt/Label.h"
#include "awt/Toolkit.h"
#include "tests/support/ComponentTestSupport.h"
#include "tests/support/E2eWindows.h"

namespace {

using e2e::descendants;

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

// The texts of the labels and of the picture list's items that do not fit their control in its own
// font (the list's field beside its button), and how many were measured.
std::vector<std::wstring> clippedTexts(Configure& dialog, int* measured) {
    auto* const settings = dynamic_cast<awt::Container*>(dialog.getComponent(1));
    std::vector<std::wstring> clipped;
    *measured = 0;
    for (int i = 0; settings != nullptr && i < settings->getComponentCount(); ++i) {
        awt::Component* const c = settings->getComponent(i);
        std::vector<std::wstring> texts;
        int room = c->getWidth();
        if (auto* const label = dynamic_cast<awt::Label*>(c)) texts.push_back(label->getText());
        if (auto* const choice = dynamic_cast<awt::Choice*>(c)) {
            for (int item = 0; item < choice->getItemCount(); ++item) texts.push_back(choice->getItem(item));
            room -= GetSystemMetrics(SM_CXVSCROLL);
        }
        for (const std::wstring& text : texts) {
            SIZE extent{};
            c->measureText(text, &extent, nullptr);
            if (room < extent.cx || c->getHeight() < extent.cy) clipped.push_back(text);
            ++*measured;
        }
    }
    return clipped;
}

// Four labels and three pictures fit once the toolkit's idle step has laid the panels out.
void expectNothingClipped(Configure& dialog) {
    int measured = 0;
    std::vector<std::wstring> clipped;
    EXPECT_TRUE(ui_test::pumpUntil([&] { return (clipped = clippedTexts(dialog, &measured)).empty(); }))
        << "some text stayed clipped";
    EXPECT_EQ(std::vector<std::wstring>{}, clipped);
    EXPECT_EQ(7, measured);
}

void moveToDpi(Configure& dialog, UINT dpi, RECT suggested) {
    SendMessageW(dialog.getHandle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

TEST(ConfigureDpiTest, MovedToAMonitorOfAnotherDpiItScalesAsOnePieceAndBack) {
    // Held by pointer: its destructor may throw.
    const auto dialog = std::make_unique<Configure>(nullptr);
    dialog->setModal(false);  // shown without its nested loop, so its panels are laid out too
    dialog->setVisible(true);
    const HWND handle = dialog->getHandle();
    const awt::Dimension before = dialog->getSize();
    ASSERT_EQ(childrenSized(handle, 128, 96), 1);
    expectNothingClipped(*dialog);  // as first laid out

    // Taking the suggested rectangle and the size asked for it are FrameDpiTest's.
    moveToDpi(*dialog, 144, RECT{40, 30, 40 + before.width, 30 + before.height});
    // This process is not really at 144 DPI: the window keeps its 96 DPI border inside a size made for
    // the wider one, and the band holding the preview gets those few pixels.
    EXPECT_EQ(childrenSized(handle, 192, 144, 16), 1) << "the preview at 144 DPI";
    expectNothingClipped(*dialog);
    EXPECT_EQ(dialog->getRenderer()->getWidth(), 192) << "a board for the new preview";
    EXPECT_EQ(dialog->getRenderer()->getHeight(), 144);

    moveToDpi(*dialog, 96, RECT{0, 0, 10, 10});
    EXPECT_EQ(dialog->getWidth(), before.width);
    EXPECT_EQ(dialog->getHeight(), before.height);
    EXPECT_EQ(childrenSized(handle, 128, 96), 1);
    expectNothingClipped(*dialog);
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
