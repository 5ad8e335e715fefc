// The configuration dialog moved to a monitor of another DPI (WM_DPICHANGED) lays itself out again.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Configure.h"
#include "awt/Choice.h"
#include "awt/Container.h"
#include "awt/Label.h"
#include "tests/support/ComponentTestSupport.h"

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

    moveToDpi(*dialog, 144, RECT{40, 30, 40 + before.width, 30 + before.height});
    EXPECT_EQ(dialog->getX(), 40);
    EXPECT_EQ(dialog->getY(), 30);
    EXPECT_GT(dialog->getWidth(), before.width * 5 / 4);
    EXPECT_GT(dialog->getHeight(), before.height * 5 / 4);
    EXPECT_EQ(childrenSized(handle, 192, 144), 1) << "the preview at 144 DPI";
    expectNothingClipped(*dialog);
    EXPECT_EQ(dialog->getRenderer()->getWidth(), 192) << "a board for the new preview";
    EXPECT_EQ(dialog->getRenderer()->getHeight(), 144);

    moveToDpi(*dialog, 96, RECT{0, 0, 10, 10});
    EXPECT_EQ(dialog->getWidth(), before.width);
    EXPECT_EQ(dialog->getHeight(), before.height);
    EXPECT_EQ(childrenSized(handle, 128, 96), 1);
    expectNothingClipped(*dialog);
}

}  // namespace
