// ColorDialog: the real system colour chooser, driven from a thread timer while it runs: cancelling,
// choosing, closing from outside, the shared custom colours, and the owner's idle work meanwhile.
#include <gtest/gtest.h>

#include <windows.h>

#include <colordlg.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "ComponentTestSupport.h"
#include "ToolkitTestSupport.h"
#include "awt/ColorDialog.h"
#include "awt/Frame.h"
#include "awt/Toolkit.h"
#include "klib/Exception.h"

namespace {

using awt_test::CallRunnable;

// Drives the system colour chooser of this thread from a thread timer (the chooser's own loop dispatches
// it): once the chooser is open, each tick runs the current step until it reports done, then the next.
// A chooser still open at the deadline is cancelled and the driver marked expired.
class ChooserDriver {
public:
    using Step = std::function<bool(HWND chooser)>;  // true when done

    explicit ChooserDriver(std::vector<Step> steps, DWORD deadlineMs = 10000)
        : steps(std::move(steps)), deadline(GetTickCount64() + deadlineMs) {
        active = this;
        timer = SetTimer(nullptr, 0, 20, tick);
    }
    ChooserDriver(const ChooserDriver&) = delete;
    ChooserDriver& operator=(const ChooserDriver&) = delete;
    ~ChooserDriver() {
        KillTimer(nullptr, timer);
        active = nullptr;
    }

    bool expired = false;
    HWND seen = nullptr;  // the chooser, once found
    std::size_t done = 0;

private:
    static BOOL CALLBACK findChooser(HWND window, LPARAM found) {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        if (std::wstring(className) == L"#32770" && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        ChooserDriver* const self = active;
        if (self == nullptr) {
            return;
        }
        HWND chooser = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findChooser, reinterpret_cast<LPARAM>(&chooser));
        if (chooser == nullptr) {
            return;
        }
        self->seen = chooser;
        if (GetTickCount64() >= self->deadline) {
            self->expired = true;
            PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        if (self->done < self->steps.size() && self->steps[self->done](chooser)) {
            ++self->done;
        }
    }

    static ChooserDriver* active;
    std::vector<Step> steps;
    ULONGLONG deadline;
    UINT_PTR timer;
};

ChooserDriver* ChooserDriver::active = nullptr;

ChooserDriver::Step press(int id) {
    return [id](HWND chooser) {
        const HWND button = GetDlgItem(chooser, id);
        PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return true;
    };
}

// Types the colour into the chooser's red, green and blue fields.
ChooserDriver::Step type(int red, int green, int blue) {
    return [=](HWND chooser) {
        SetDlgItemInt(chooser, COLOR_RED, static_cast<UINT>(red), FALSE);
        SetDlgItemInt(chooser, COLOR_GREEN, static_cast<UINT>(green), FALSE);
        SetDlgItemInt(chooser, COLOR_BLUE, static_cast<UINT>(blue), FALSE);
        return true;
    };
}

// Clicks the first cell of the custom-colour table.
ChooserDriver::Step clickFirstCustomColor() {
    return [](HWND chooser) {
        RECT table;
        GetWindowRect(GetDlgItem(chooser, COLOR_CUSTOM1), &table);
        POINT cell{table.left + (table.right - table.left) / 16, table.top + (table.bottom - table.top) / 4};
        ScreenToClient(chooser, &cell);
        SendMessageW(chooser, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
        SendMessageW(chooser, WM_LBUTTONUP, 0, MAKELPARAM(cell.x, cell.y));
        return true;
    };
}

constexpr int INITIAL = 0x00804020;

TEST(ColorDialog, CancelGivesNoColourEvenWithAnInitialOne) {
    awt::ColorDialog chooser(nullptr, INITIAL);
    ChooserDriver driver({type(1, 2, 3), press(IDCANCEL)});

    chooser.setVisible(true);

    EXPECT_FALSE(driver.expired);
    EXPECT_EQ(2u, driver.done);
    EXPECT_EQ(-1, chooser.getColor());
}

TEST(ColorDialog, ConfirmingTheInitialColourGivesItBack) {
    awt::ColorDialog chooser(nullptr, INITIAL);
    ChooserDriver driver({press(IDOK)});

    chooser.setVisible(true);

    EXPECT_FALSE(driver.expired);
    EXPECT_EQ(INITIAL, chooser.getColor());
}

TEST(ColorDialog, ConfirmingAColourTypedIntoTheFieldsGivesThatColour) {
    awt::ColorDialog chooser(nullptr, -1);
    ChooserDriver driver({type(0x12, 0x34, 0x56), press(IDOK)});

    chooser.setVisible(true);

    EXPECT_FALSE(driver.expired);
    EXPECT_EQ(0x00563412, chooser.getColor());
}

TEST(ColorDialog, KnowsTheChoosersWindowOnlyWhileItIsOpen) {
    awt::ColorDialog chooser(nullptr, INITIAL);
    HWND known = nullptr;
    ChooserDriver driver({[&](HWND) {
                              known = chooser.getDialogWindow();
                              return true;
                          },
                          press(IDCANCEL)});

    chooser.setVisible(true);

    EXPECT_NE(nullptr, known);
    EXPECT_EQ(driver.seen, known);
    EXPECT_EQ(nullptr, chooser.getDialogWindow());
}

TEST(ColorDialog, ClosingFromOutsideEndsTheChooserAsCancelled) {
    awt::ColorDialog chooser(nullptr, INITIAL);
    ChooserDriver driver({[&](HWND) {
        chooser.setVisible(false);
        return true;
    }});

    chooser.setVisible(true);

    EXPECT_FALSE(driver.expired);
    EXPECT_EQ(1u, driver.done);
    EXPECT_EQ(-1, chooser.getColor());
}

TEST(ColorDialog, CustomColoursPersistFromOneChooserToTheNext) {
    {
        awt::ColorDialog first(nullptr, -1);
        ChooserDriver driver({type(0x21, 0x43, 0x65), press(COLOR_ADD), press(IDCANCEL)});
        first.setVisible(true);
        ASSERT_FALSE(driver.expired);
    }
    awt::ColorDialog second(nullptr, INITIAL);
    ChooserDriver driver({clickFirstCustomColor(), press(IDOK)});

    second.setVisible(true);

    EXPECT_FALSE(driver.expired);
    EXPECT_EQ(0x00654321, second.getColor());
}

TEST(ColorDialog, OwnerIsDisabledAndItsToolkitKeepsRunningRunnablesMeanwhile) {
    awt::Toolkit* const toolkit = awt::Toolkit::forCurrentThread();
    auto owner = std::make_unique<awt::Frame>(nullptr, L"Owner");
    owner->setBounds(100, 100, 300, 200);
    owner->setVisible(true);
    awt::ColorDialog chooser(owner.get(), INITIAL);
    CallRunnable runnable([] {});
    bool ownerEnabledMeanwhile = true;
    ChooserDriver driver({[&](HWND) {
                              ownerEnabledMeanwhile = IsWindowEnabled(owner->getHandle()) != FALSE;
                              toolkit->invokeLater(&runnable);
                              return true;
                          },
                          [&](HWND) { return runnable.runs == 1; }, press(IDCANCEL)});

    chooser.setVisible(true);

    EXPECT_FALSE(driver.expired);
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_EQ(1, runnable.runs);
    EXPECT_TRUE(IsWindowEnabled(owner->getHandle()));
}

// A chooser whose initialisation fails.
class FailingChooser : public awt::ColorDialog {
public:
    FailingChooser() : awt::ColorDialog(nullptr, INITIAL) {}
    void onInit(HWND) override { throw klib::IllegalStateException(L"init failed"); }
};

TEST(ColorDialog, FailureWhileTheChooserStartsEndsItAndReachesTheCaller) {
    FailingChooser chooser;
    ChooserDriver driver({}, 5000);

    try {
        chooser.setVisible(true);
        FAIL() << "no exception";
    } catch (const klib::IllegalStateException& e) {
        EXPECT_EQ(L"init failed", e.getMessage());
    }

    EXPECT_FALSE(driver.expired);
    EXPECT_EQ(INITIAL, chooser.getColor());
}

}  // namespace
