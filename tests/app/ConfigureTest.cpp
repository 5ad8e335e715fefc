// The configuration dialog as the user sees it: where everything is, and what the fields show.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "app/Configure.h"
#include "app/Orlivex.h"
#include "app/SettingsStore.h"
#include "awt/Container.h"
#include "awt/Dpi.h"
#include "awt/Choice.h"
#include "awt/Label.h"
#include "awt/TextMetrics.h"
#include "awt/Toolkit.h"
#include "resources/resource.h"
#include "tests/support/ComponentTestSupport.h"

namespace {

awt::Container* panel(awt::Component* c) {
    return dynamic_cast<awt::Container*>(c);
}

awt::Rectangle boundsOf(const awt::Container* container, int index) {
    return container->getComponent(index)->getBounds();
}

class ConfigureDialog : public ::testing::Test {
protected:
    void SetUp() override {
        dialog->setModal(false);  // shown without its nested loop, so the test keeps control
        dialog->setVisible(true);
        ASSERT_TRUE(ui_test::pumpUntil(
            [this] { return GetActiveWindow() == dialog->getHandle() && GetFocus() != nullptr; }));
        // The gaps come from the dialog's font at its DPI, which need not be the default GUI font.
        awt::getFontUnits(awt::getDialogFont(awt::getWindowDpi(dialog->getHandle())), hgap, vgap);
        preview = panel(dialog->getComponent(0));
        settings = panel(dialog->getComponent(1));
        buttons = panel(dialog->getComponent(2));
        ASSERT_TRUE(preview && settings && buttons);
    }

    int hgap = 0;
    int vgap = 0;
    std::unique_ptr<Configure> dialog = std::make_unique<Configure>(nullptr);  // ~ may throw: held by pointer
    awt::Container* preview = nullptr;
    awt::Container* settings = nullptr;
    awt::Container* buttons = nullptr;
};

TEST_F(ConfigureDialog, PreviewLeftSettingsRightButtonsBottomRightAllInsetByTheDefaultGaps) {
    const awt::Insets in = dialog->getInsets();
    const awt::Rectangle left = preview->getBounds();
    const awt::Rectangle centre = settings->getBounds();
    const awt::Rectangle bottom = buttons->getBounds();
    EXPECT_EQ(in.left, left.x);
    EXPECT_EQ(in.top, left.y);
    EXPECT_EQ(left.x + left.width + hgap, centre.x);
    EXPECT_EQ(dialog->getWidth() - in.right, centre.x + centre.width);
    EXPECT_EQ(dialog->getHeight() - in.bottom, bottom.y + bottom.height);
    EXPECT_EQ(std::max(left.y + left.height, centre.y + centre.height) + vgap, bottom.y);

    // The 128 x 96 preview with its caption centred right below it.
    const awt::Rectangle board = boundsOf(preview, 0);
    const awt::Rectangle caption = boundsOf(preview, 1);
    EXPECT_EQ(0, board.x);
    EXPECT_EQ(128, board.width);
    EXPECT_EQ(96, board.height);
    EXPECT_EQ(board.y + board.height, caption.y);
    EXPECT_EQ(awt::Label::CENTER, dynamic_cast<awt::Label*>(preview->getComponent(1))->getAlignment());
    EXPECT_EQ(board.x + board.width / 2, caption.x + caption.width / 2);

    // Four rows: a label on the left, its control to the right of the widest label.
    ASSERT_EQ(8, settings->getComponentCount());
    for (int row = 0; row < 4; ++row) {
        const awt::Rectangle label = boundsOf(settings, 2 * row);
        const awt::Rectangle control = boundsOf(settings, 2 * row + 1);
        EXPECT_NE(nullptr, dynamic_cast<awt::Label*>(settings->getComponent(2 * row))) << row;
        EXPECT_EQ(0, label.x) << row;
        EXPECT_LE(label.x + label.width + hgap, control.x) << row;
        EXPECT_EQ(boundsOf(settings, 1).x, control.x) << row;
        EXPECT_LT(control.y, label.y + label.height) << row;
        EXPECT_LT(label.y, control.y + control.height) << row;
        if (row > 0) {
            EXPECT_GT(control.y, boundsOf(settings, 2 * row - 1).y) << row;
        }
    }

    // OK, then Cancel, in one row ending at the right inset.
    const awt::Rectangle ok = boundsOf(buttons, 0);
    const awt::Rectangle cancel = boundsOf(buttons, 1);
    EXPECT_EQ(ok.y, cancel.y);
    EXPECT_EQ(ok.x + ok.width + hgap, cancel.x);
    EXPECT_EQ(dialog->getWidth() - in.right, bottom.x + cancel.x + cancel.width);
}

TEST_F(ConfigureDialog, ThePictureRowUnderTheColourListsTheChoicesAndThePreviewFollowsAtOnce) {
    auto* const choice = dynamic_cast<awt::Choice*>(settings->getComponent(7));
    ASSERT_NE(nullptr, choice);
    EXPECT_EQ(awt::Toolkit::loadString(IDS_PICTURE), dynamic_cast<awt::Label*>(settings->getComponent(6))->getText());
    ASSERT_EQ(3, choice->getItemCount());
    const int ids[] = {IDS_PICTURE_SCREEN, IDS_PICTURE_WALLPAPER, IDS_PICTURE_GENERATED};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(awt::Toolkit::loadString(static_cast<UINT>(ids[i])), choice->getItem(i)) << i;
    EXPECT_EQ(dialog->getRenderer()->getPicture(), choice->getSelectedIndex()) << "shows the loaded choice";

    // The user's choice goes to the renderer at once, which reseeds the preview's board for it.
    const HWND handle = choice->getHandle();
    SendMessageW(handle, CB_SETCURSEL, PICTURE_GENERATED, 0);
    SendMessageW(GetParent(handle), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(handle));
    awt::Toolkit::rethrowParked();
    EXPECT_EQ(PICTURE_GENERATED, dialog->getRenderer()->getPicture());
    EXPECT_TRUE(dialog->getRenderer()->hasBoard());
}

TEST_F(ConfigureDialog, EachFieldShowsItsFirstCharacterInsideItself) {
    for (const int index : {1, 3}) {
        const HWND field = settings->getComponent(index)->getHandle();
        RECT client{};
        GetClientRect(field, &client);
        const LRESULT position = SendMessageW(field, EM_POSFROMCHAR, 0, 0);
        const int x = static_cast<short>(LOWORD(position));
        EXPECT_GE(x, 0) << index;
        EXPECT_LT(x, client.right) << index;
    }
}

// Ctrl+Down and Ctrl+Up take each field to the ends of its range, and the renderer takes the value:
// the fields allow exactly the ranges the renderer takes.
TEST_F(ConfigureDialog, EachFieldReachesBothEndsOfItsRangeAndTheRendererTakesThem) {
    Orlivex* const renderer = dialog->getRenderer();
    const struct { int index; int key; int value; int (Orlivex::*get)() const noexcept; } ends[] = {
        {1, VK_DOWN, 0, &Orlivex::getInterval}, {1, VK_UP, 1000, &Orlivex::getInterval},
        {3, VK_UP, 10, &Orlivex::getCellSize},   {3, VK_DOWN, 1, &Orlivex::getCellSize}};
    for (const auto& end : ends) {
        const HWND field = settings->getComponent(end.index)->getHandle();
        SetFocus(field);
        {
            const ui_test::HeldKeys control({VK_CONTROL});
            ui_test::press(field, end.key);
        }
        EXPECT_EQ(std::to_wstring(end.value), ui_test::windowText(field)) << end.index << " " << end.key;
        EXPECT_EQ(end.value, (renderer->*end.get)()) << end.index << " " << end.key;
    }
}

}  // namespace
