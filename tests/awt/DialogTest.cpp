// Dialog: modal showing: the owner's enabled state, the nested loop and failures inside it. The close box
// ending it is the configuration dialog's end-to-end test.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>

#include "tests/support/ComponentTestSupport.h"
#include "awt/Dialog.h"
#include "awt/Frame.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"

namespace {

using ui_test::pumpUntil;

// Takes a pending WM_QUIT off the queue; true if there was one.
bool takeQuit() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// A shown frame that owns a modal dialog; an action queued before showing the dialog runs inside its
// nested loop. A loop that does not end is ended by a watchdog quit, which leaves the dialog shown.
class ModalDialog : public ::testing::Test {
protected:
    void SetUp() override {
        owner.setBounds(100, 100, 400, 300);
        owner.setVisible(true);
        ASSERT_TRUE(pumpUntil([this] { return IsWindowVisible(owner.getHandle()) != FALSE; }));
        dialog->setBounds(150, 150, 200, 120);
    }
    void TearDown() override { takeQuit(); }

    // Shows the dialog modally with action queued to run inside its loop; returns how often it ran.
    int showWith(const std::function<void()>& action) {
        ui_test::CallRunnable inside([this, action] {
            ownerEnabledInside = IsWindowEnabled(owner.getHandle()) != FALSE;
            visibleInside = IsWindowVisible(dialog->getHandle()) != FALSE;
            action();
        });
        const ui_test::LoopWatchdog watchdog;
        awt::Toolkit::forCurrentThread()->invokeLater(&inside);
        dialog->setVisible(true);
        return inside.runs;
    }

    std::unique_ptr<awt::Frame> ownerHolder = std::make_unique<awt::Frame>(nullptr, L"Owner");
    awt::Frame& owner = *ownerHolder;
    awt::Dialog* dialog = new awt::Dialog(&owner, L"Dialog", true);  // owned by owner
    bool ownerEnabledInside = true;
    bool visibleInside = false;
};

TEST_F(ModalDialog, DisablesItsOwnerWhileShownAndEnablesItAfterwardsEachTimeUnlessItWasDisabledBefore) {
    dialog->setVisible(false);
    EXPECT_FALSE(takeQuit()) << "hiding a hidden dialog posts no quit";
    for (const bool disabledBefore : {false, false, true}) {
        owner.setEnabled(!disabledBefore);
        EXPECT_EQ(1, showWith([this] { dialog->setVisible(false); }));

        EXPECT_FALSE(ownerEnabledInside);
        EXPECT_TRUE(visibleInside);
        EXPECT_EQ(!disabledBefore, IsWindowEnabled(owner.getHandle()) != FALSE);
        EXPECT_FALSE(IsWindowVisible(dialog->getHandle()));
        dialog->setVisible(false);
        EXPECT_FALSE(takeQuit());
    }
}

TEST_F(ModalDialog, FailureInsideTheLoopReachesTheCallerWithTheOwnerEnabledAndTheDialogHidden) {
    EXPECT_EQ(L"inside the dialog", ui_test::messageOf<klib::IllegalStateException>([this] {
                  showWith([] { throw klib::IllegalStateException(L"inside the dialog"); });
              }));

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(IsWindowVisible(dialog->getHandle()));
    EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
    EXPECT_FALSE(takeQuit());
}

}  // namespace
