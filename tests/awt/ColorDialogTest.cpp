// ColorDialog: the real system colour chooser, driven from a thread timer while it runs: cancelling,
// choosing, closing from outside, and a failing start.
#include <gtest/gtest.h>

#include <windows.h>

#include <colordlg.h>

#include <functional>
#include <utility>
#include <vector>

#include "awt/ColorDialog.h"
#include "klib/Exception.h"
#include "tests/support/ExpectThrows.h"

namespace {

// Drives a colour chooser from a thread timer (the chooser's own loop dispatches it): each tick while the
// chooser is open runs the next step. A chooser still open at the deadline is cancelled and the driver
// marked expired.
class ChooserDriver {
public:
    using Step = std::function<void(HWND chooser)>;

    ChooserDriver(const awt::ColorDialog& dialog, std::vector<Step> steps)
        : dialog_(dialog), steps_(std::move(steps)), deadline_(GetTickCount64() + 10000) {
        active_ = this;
        timer_ = SetTimer(nullptr, 0, 20, tick);
    }
    ChooserDriver(const ChooserDriver&) = delete;
    ChooserDriver& operator=(const ChooserDriver&) = delete;
    ~ChooserDriver() {
        KillTimer(nullptr, timer_);
        active_ = nullptr;
    }

    bool expired = false;
    std::size_t done = 0;

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ChooserDriver* const self = active_;
        const HWND chooser = self == nullptr ? nullptr : self->dialog_.getDialogWindow();
        if (chooser == nullptr || !IsWindowVisible(chooser)) {
            return;
        }
        if (GetTickCount64() >= self->deadline_) {
            self->expired = true;
            PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
        } else if (self->done < self->steps_.size()) {
            self->steps_[self->done++](chooser);
        }
    }

    static ChooserDriver* active_;
    const awt::ColorDialog& dialog_;
    std::vector<Step> steps_;
    ULONGLONG deadline_;
    UINT_PTR timer_;
};

ChooserDriver* ChooserDriver::active_ = nullptr;

ChooserDriver::Step press(int id) {
    return [id](HWND chooser) {
        PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(chooser, id)));
    };
}

// Types the colour into the chooser's red, green and blue fields.
ChooserDriver::Step type(int red, int green, int blue) {
    return [=](HWND chooser) {
        SetDlgItemInt(chooser, COLOR_RED, static_cast<UINT>(red), FALSE);
        SetDlgItemInt(chooser, COLOR_GREEN, static_cast<UINT>(green), FALSE);
        SetDlgItemInt(chooser, COLOR_BLUE, static_cast<UINT>(blue), FALSE);
    };
}

constexpr int INITIAL = 0x00804020;

TEST(ColorDialog, ConfirmingGivesTheColourTypedIntoTheFieldsAndCancellingOrClosingFromOutsideGivesNone) {
    for (const int button : {IDOK, IDCANCEL, 0}) {  // 0: hidden by the program
        awt::ColorDialog chooser(nullptr, button == IDOK ? -1 : INITIAL);
        const ChooserDriver::Step end = button != 0 ? press(button) : [&chooser](HWND) { chooser.setVisible(false); };
        ChooserDriver driver(chooser, {type(0x12, 0x34, 0x56), end});

        chooser.setVisible(true);

        EXPECT_FALSE(driver.expired) << button;
        EXPECT_EQ(2u, driver.done) << button;
        EXPECT_EQ(button == IDOK ? 0x00563412 : -1, chooser.getColor());
    }
}

// A chooser whose initialisation fails.
class FailingChooser : public awt::ColorDialog {
public:
    FailingChooser() : awt::ColorDialog(nullptr, INITIAL) {}
    void onInit(HWND) override { throw klib::IllegalStateException(L"init failed"); }
};

TEST(ColorDialog, FailureWhileTheChooserStartsEndsItAndReachesTheCaller) {
    FailingChooser chooser;
    ChooserDriver driver(chooser, {});

    EXPECT_EQ(L"init failed",
              testing_support::messageOf<klib::IllegalStateException>([&] { chooser.setVisible(true); }));
    EXPECT_FALSE(driver.expired);
    EXPECT_EQ(INITIAL, chooser.getColor());
}

}  // namespace
