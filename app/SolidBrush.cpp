#include "app/SolidBrush.h"

#include "awt/AWTException.h"

void SolidBrush::reset(COLORREF colour) {
    // The old brush goes first, so a failed creation leaves no stale brush behind.
    brush.release();
    const HBRUSH created = CreateSolidBrush(colour);
    if (created == nullptr) {
        throw awt::AWTException(L"::CreateSolidBrush() failed", static_cast<int>(GetLastError()));
    }
    brush.reset(created);
}
