#pragma once

#include <windows.h>

#include "awt/CommonDialog.h"

namespace awt {

class Component;

// ChooseColorW with CC_FULLOPEN | CC_ANYCOLOR. setVisible(true) blocks until the user confirms or
// cancels; getColor then gives the colour, or -1 after a cancel. The 16 custom colours (white at first)
// are one static table, so they carry over from one chooser to the next.
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
