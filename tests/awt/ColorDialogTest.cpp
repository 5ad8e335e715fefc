// ColorDialog: the real system colour chooser failing as it starts. Choosing and cancelling are the
// configuration dialog's end-to-end tests, with real input.
#include <gtest/gtest.h>

#include <windows.h>

#include "awt/ColorDialog.h"
#include "klib/Exception.h"
#include "tests/support/ExpectThrows.h"

namespace {

// Cancels a colour chooser still open after ten seconds, from a thread timer (the chooser's own loop
// dispatches it), and marks the guard expired.
class ChooserDeadline {
public:
    explicit ChooserDeadline(const awt::ColorDialog& dialog) : dialog_(dialog), deadline_(GetTickCount64() + 10000) {
        active_ = this;
        timer_ = SetTimer(nullptr, 0, 20, tick);
    }
    ChooserDeadline(const ChooserDeadline&) = delete;
    ChooserDeadline& operator=(const ChooserDeadline&) = delete;
    ~ChooserDeadline() {
        KillTimer(nullptr, timer_);
        active_ = nullptr;
    }

    bool expired = false;

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ChooserDeadline* const self = active_;
        const HWND chooser = self == nullptr ? nullptr : self->dialog_.getDialogWindow();
        if (chooser != nullptr && IsWindowVisible(chooser) && GetTickCount64() >= self->deadline_) {
            self->expired = true;
            PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
        }
    }

    static inline ChooserDeadline* active_ = nullptr;
    const awt::ColorDialog& dialog_;
    ULONGLONG deadline_;
    UINT_PTR timer_;
};

constexpr int INITIAL = 0x00804020;

// A chooser whose initialisation fails.
class FailingChooser : public awt::ColorDialog {
public:
    FailingChooser() : awt::ColorDialog(nullptr, INITIAL) {}
    void onInit(HWND) override { throw klib::IllegalStateException(L"init failed"); }
};

TEST(ColorDialog, FailureWhileTheChooserStartsEndsItAndReachesTheCaller) {
    FailingChooser chooser;
    const ChooserDeadline deadline(chooser);

    EXPECT_EQ(L"init failed",
              testing_support::messageOf<klib::IllegalStateException>([&] { chooser.setVisible(true); }));
    EXPECT_FALSE(deadline.expired);
    EXPECT_EQ(INITIAL, chooser.getColor());
}

}  // namespace
