#include "awt/ColorDialog.h"

#include <commdlg.h>

#include <exception>

#include "awt/AWTException.h"
#include "awt/Toolkit.h"
#include "klib/Strings.h"

namespace awt {

namespace {

constexpr int NO_COLOR = -1;
constexpr COLORREF WHITE = 0x00FFFFFF;

// Shared by every colour chooser of the process; the system dialog reads and updates it.
COLORREF customColors[16] = {WHITE, WHITE, WHITE, WHITE, WHITE, WHITE, WHITE, WHITE,
                             WHITE, WHITE, WHITE, WHITE, WHITE, WHITE, WHITE, WHITE};

}  // namespace

ColorDialog::ColorDialog(Component* owner, int initialColor)
    : CommonDialog(owner, klib::nullString), color(initialColor) {}

ColorDialog::~ColorDialog() = default;

void ColorDialog::setVisible(bool visible) {
    if (!visible) {
        close();
        return;
    }
    CHOOSECOLORW record{};
    // The size of this build's record: the system rejects any other.
    record.lStructSize = sizeof(record);
    record.hwndOwner = getOwnerWindow();
    record.lpCustColors = customColors;
    record.lCustData = reinterpret_cast<LPARAM>(this);
    record.lpfnHook = hookProcedure;
    record.Flags = CC_FULLOPEN | CC_ENABLEHOOK | CC_ANYCOLOR;
    if (color != NO_COLOR) {
        record.rgbResult = static_cast<COLORREF>(color);
        record.Flags |= CC_RGBINIT;
    }
    const BOOL chosen = ChooseColorW(&record);
    const DWORD extendedError = CommDlgExtendedError();
    onClose();
    // Our own windows kept receiving messages inside the dialog's loop; their failures come first.
    Toolkit::rethrowParked();
    if (chosen) {
        color = static_cast<int>(record.rgbResult);
    } else if (extendedError != 0) {
        throwFailure(L"::ChooseColor", extendedError);
    } else {
        color = NO_COLOR;
    }
}

UINT_PTR CALLBACK ColorDialog::hookProcedure(HWND dialog, UINT msg, WPARAM, LPARAM lParam) noexcept {
    if (msg != WM_INITDIALOG) {
        return 0;
    }
    ColorDialog* const self = reinterpret_cast<ColorDialog*>(reinterpret_cast<const CHOOSECOLORW*>(lParam)->lCustData);
    try {
        self->onInit(dialog);
    } catch (...) {
        Toolkit::parkException(std::current_exception());
        // The caller is going to fail; the dialog must not wait for the user first.
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    return 0;
}

}  // namespace awt
