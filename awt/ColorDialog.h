#pragma once

#include <windows.h>

#include "awt/CommonDialog.h"

namespace awt {

class Component;

// The system's colour chooser, opened fully expanded and allowing any colour. Showing it blocks until the
// user confirms or cancels; afterwards it holds the chosen colour, or -1 when there is none. All colour
// choosers of the process share one table of 16 custom colours (initially white), so colours the user
// defines persist from one chooser to the next for the life of the process.
class ColorDialog : public CommonDialog {
public:
    // initialColor is a COLORREF, or -1 for none.
    ColorDialog(Component* owner, int initialColor);
    ~ColorDialog() override;

    // The chosen colour (a COLORREF), or -1.
    int getColor() const noexcept { return color; }
    // true: runs the chooser from the current colour and blocks until it ends; cancelling, or close(),
    // gives -1. Throws "::ChooseColor() failed" with the CommDlgExtendedError() code, leaving the colour
    // as it was. false: close().
    void setVisible(bool visible);

private:
    static UINT_PTR CALLBACK hookProcedure(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    int color;
};

}  // namespace awt
