// Dialog: styles and initial bounds, and modal showing: the owner's enabled state, the nested loop and
// what ends it.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "ComponentTestSupport.h"
#include "ToolkitTestSupport.h"
#include "awt/Dialog.h"
#include "awt/Frame.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"

namespace {

using awt_test::CallRunnable;
using ui_test::pumpToolkitUntil;

// Ends a nested loop that would otherwise wait forever, and remembers that it had to.
class Watchdog {
public:
    explicit Watchdog(UINT timeoutMs = 5000) : timer(SetTimer(nullptr, 0, timeoutMs, expire)) { fired = false; }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog() { KillTimer(nullptr, timer); }

    static bool fired;

private:
    static void CALLBACK expire(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        fired = true;
        PostQuitMessage(0);
    }

    UINT_PTR timer;
};

bool Watchdog::fired = false;

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

// Takes a pending WM_QUIT off the queue; true if there was one.
bool takeQuit() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// A dialog that reports its deletion.
class TestDialog : public awt::Dialog {
public:
    TestDialog(awt::Window* owner, bool modal, std::function<void()> deleted = nullptr)
        : awt::Dialog(owner, L"Dialog", modal), onDelete(std::move(deleted)) {}
    ~TestDialog() noexcept(false) override {
        if (onDelete) {
            onDelete();
        }
    }

private:
    std::function<void()> onDelete;
};

// A shown frame that owns a modal dialog; the dialog is run from the test's own thread, and runnables
// queued before showing it act from inside its nested loop.
class ModalDialog : public ::testing::Test {
protected:
    void SetUp() override {
        owner.setBounds(100, 100, 400, 300);
        owner.setVisible(true);
        ASSERT_TRUE(pumpToolkitUntil([this] { return IsWindowVisible(owner.getHandle()) != FALSE; }));
        dialog->setBounds(150, 150, 200, 120);
    }

    void TearDown() override { takeQuit(); }

    // Shows the dialog modally with action queued to run inside its loop.
    void showWith(const std::function<void()>& action) {
        CallRunnable inside([this, action] {
            insideOwnerEnabled = IsWindowEnabled(owner.getHandle()) != FALSE;
            insideVisible = IsWindowVisible(dialog->getHandle()) != FALSE;
            action();
        });
        Watchdog watchdog;
        toolkit->invokeLater(&inside);
        dialog->setVisible(true);
        runs = inside.runs;
        EXPECT_FALSE(Watchdog::fired) << "the nested loop did not end";
    }

    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    std::unique_ptr<awt::Frame> ownerHolder = std::make_unique<awt::Frame>(nullptr, L"Owner");
    awt::Frame& owner = *ownerHolder;
    awt::Dialog* dialog = new awt::Dialog(&owner, L"Dialog", true);  // owned by owner
    bool insideOwnerEnabled = true;
    bool insideVisible = false;
    int runs = 0;
};

TEST_F(ModalDialog, DisablesItsOwnerWhileShownAndEnablesItAfterwards) {
    showWith([this] { dialog->setVisible(false); });

    EXPECT_EQ(1, runs);
    EXPECT_FALSE(insideOwnerEnabled);
    EXPECT_TRUE(insideVisible);
    EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(IsWindowVisible(dialog->getHandle()));
    EXPECT_FALSE(takeQuit());
}

TEST_F(ModalDialog, OwnerThatWasAlreadyDisabledStaysDisabled) {
    owner.setEnabled(false);

    showWith([this] { dialog->setVisible(false); });

    EXPECT_EQ(1, runs);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_FALSE(IsWindowEnabled(owner.getHandle()));
}

TEST_F(ModalDialog, CloseBoxHidesTheDialogAndEndsTheLoop) {
    showWith([this] { SendMessageW(dialog->getHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); });

    EXPECT_EQ(1, runs);
    EXPECT_TRUE(insideVisible);
    EXPECT_FALSE(IsWindowVisible(dialog->getHandle()));
    EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
    EXPECT_FALSE(takeQuit());
}

TEST_F(ModalDialog, CloseMessageHidesTheDialogAndEndsTheLoop) {
    showWith([this] { SendMessageW(dialog->getHandle(), WM_CLOSE, 0, 0); });

    EXPECT_EQ(1, runs);
    EXPECT_FALSE(IsWindowVisible(dialog->getHandle()));
    EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
}

TEST_F(ModalDialog, NotClosableDialogGreysTheCloseCommandButStillClosesOnIt) {
    dialog->setClosable(false);
    bool greyed = false;

    showWith([this, &greyed] {
        const HMENU menu = GetSystemMenu(dialog->getHandle(), FALSE);
        greyed = (GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
        SendMessageW(dialog->getHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });

    EXPECT_TRUE(greyed);
    EXPECT_FALSE(IsWindowVisible(dialog->getHandle()));
}

TEST_F(ModalDialog, CanBeShownAgain) {
    showWith([this] { dialog->setVisible(false); });
    const HWND first = dialog->getHandle();

    showWith([this] { dialog->setVisible(false); });

    EXPECT_EQ(1, runs);
    EXPECT_TRUE(insideVisible);
    EXPECT_FALSE(insideOwnerEnabled);
    EXPECT_EQ(first, dialog->getHandle());
    EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
}

TEST_F(ModalDialog, HidingItWhenHiddenPostsNoQuit) {
    dialog->setVisible(false);
    EXPECT_FALSE(takeQuit());

    showWith([this] { dialog->setVisible(false); });
    dialog->setVisible(false);

    EXPECT_FALSE(takeQuit());
    EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
}

TEST_F(ModalDialog, FailureInsideTheLoopReachesTheCallerWithTheOwnerEnabledAndTheDialogHidden) {
    try {
        showWith([] { throw klib::IllegalStateException(L"inside the dialog"); });
        FAIL() << "no exception";
    } catch (const klib::IllegalStateException& e) {
        EXPECT_EQ(L"inside the dialog", e.getMessage());
    }

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(IsWindowVisible(dialog->getHandle()));
    EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
    EXPECT_FALSE(takeQuit());
}

TEST_F(ModalDialog, LoopEndedByAnotherQuitLeavesItShownAndHidingItLaterPostsNoQuit) {
    dialog->setDefaultCloseOperation(awt::Window::CLOSE_QUIT);

    showWith([this] { SendMessageW(dialog->getHandle(), WM_CLOSE, 0, 0); });

    EXPECT_EQ(1, runs);
    EXPECT_TRUE(IsWindowVisible(dialog->getHandle()));
    EXPECT_FALSE(IsWindowEnabled(owner.getHandle()));
    dialog->setVisible(false);
    EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
    EXPECT_FALSE(takeQuit());
}

TEST_F(ModalDialog, DisposeAndDeleteOnCloseDeletesTheDialogOnlyAfterItsLoop) {
    bool deleted = false;
    TestDialog* const own = new TestDialog(&owner, true, [&deleted] { deleted = true; });  // owned by owner
    own->setBounds(150, 150, 200, 120);
    own->setDefaultCloseOperation(awt::Window::CLOSE_DISPOSE_AND_DELETE);
    CallRunnable inside([own] { SendMessageW(own->getHandle(), WM_CLOSE, 0, 0); });
    Watchdog watchdog;
    toolkit->invokeLater(&inside);

    own->setVisible(true);

    EXPECT_FALSE(Watchdog::fired);
    EXPECT_EQ(1, inside.runs);
    EXPECT_TRUE(pumpToolkitUntil([&deleted] { return deleted; }));
    EXPECT_TRUE(IsWindowEnabled(owner.getHandle()));
    EXPECT_EQ(1u, owner.getOwnedWindows().size());
}

TEST(ModalDialogWithoutOwner, RunsUntilHidden) {
    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    auto dialog = std::make_unique<awt::Dialog>(nullptr, L"Alone", true);
    dialog->setBounds(150, 150, 200, 120);
    bool shownInside = false;
    CallRunnable inside([&] {
        shownInside = IsWindowVisible(dialog->getHandle()) != FALSE;
        dialog->setVisible(false);
    });
    Watchdog watchdog;
    toolkit->invokeLater(&inside);

    dialog->setVisible(true);

    EXPECT_FALSE(Watchdog::fired);
    EXPECT_TRUE(shownInside);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(takeQuit());
}

// Without modality.

TEST(ModelessDialog, ShowingReturnsAtOnceAndLeavesTheOwnerEnabled) {
    auto owner = std::make_unique<awt::Frame>(nullptr, L"Owner");
    owner->setBounds(100, 100, 400, 300);
    owner->setVisible(true);
    awt::Dialog* const dialog = new awt::Dialog(owner.get(), L"Dialog", false);  // owned by owner
    dialog->setBounds(150, 150, 200, 120);

    dialog->setVisible(true);

    EXPECT_TRUE(IsWindowVisible(dialog->getHandle()));
    EXPECT_TRUE(IsWindowEnabled(owner->getHandle()));
    dialog->setVisible(false);
    EXPECT_FALSE(takeQuit());
}

TEST(ModelessDialog, ShowingFocusesTheFirstTabStop) {
    auto dialog = std::make_unique<awt::Dialog>(nullptr, L"Dialog", false);
    dialog->setBounds(150, 150, 200, 120);
    ui_test::Control* const edit = ui_test::newEdit();
    edit->setBounds(10, 10, 100, 24);
    dialog->add(edit);

    dialog->setVisible(true);

    EXPECT_TRUE(pumpToolkitUntil([edit] { return GetFocus() == edit->getHandle(); }));
}

// Styles and bounds.

TEST(DialogWindow, StartsAtTheOriginWithTheSystemsMinimumSize) {
    auto dialog = std::make_unique<awt::Dialog>(nullptr, L"Dialog", true);
    const awt::Rectangle bounds = dialog->getBounds();
    EXPECT_EQ(0, bounds.x);
    EXPECT_EQ(0, bounds.y);
    EXPECT_EQ(GetSystemMetrics(SM_CXMIN), bounds.width);
    EXPECT_EQ(GetSystemMetrics(SM_CYMIN), bounds.height);

    dialog->addNotify();

    RECT rect;
    GetWindowRect(dialog->getHandle(), &rect);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXMIN), rect.right - rect.left);
}

TEST(DialogWindow, IsAPopupWithCaptionAndSystemMenuButNoBoxes) {
    auto dialog = std::make_unique<awt::Dialog>(nullptr, L"Dialog", false);
    dialog->addNotify();
    const DWORD style = styleOf(dialog->getHandle());
    EXPECT_NE(0u, style & WS_POPUP);
    EXPECT_EQ(static_cast<DWORD>(WS_CAPTION), style & WS_CAPTION);
    EXPECT_NE(0u, style & WS_SYSMENU);
    EXPECT_NE(0u, style & WS_THICKFRAME);
    EXPECT_EQ(0u, style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

TEST(DialogWindow, SetResizableChangesOnlyTheSizingBorder) {
    auto dialog = std::make_unique<awt::Dialog>(nullptr, L"Dialog", false);
    dialog->addNotify();
    const HWND handle = dialog->getHandle();
    const DWORD before = styleOf(handle);

    dialog->setResizable(false);

    EXPECT_EQ(before & ~static_cast<DWORD>(WS_THICKFRAME), styleOf(handle));
    dialog->setResizable(true);
    EXPECT_EQ(before, styleOf(handle));
}

}  // namespace
