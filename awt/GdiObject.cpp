#include "awt/GdiObject.h"

#include "awt/AWTException.h"
#include "awt/TextMetrics.h"

namespace awt {

void GdiObjectTraits::fail(DWORD error) {
    throw AWTException(L"::DeleteObject() failed", static_cast<int>(error));
}

void CreatedDCTraits::fail(DWORD error) {
    throw AWTException(L"::DeleteDC() failed", static_cast<int>(error));
}

void SelectionTraits::fail(DWORD error) {
    throw AWTException(L"::SelectObject() failed", static_cast<int>(error));
}

void IconTraits::fail(DWORD error) {
    throw AWTException(L"::DestroyIcon() failed", static_cast<int>(error));
}

Selection select(HDC dc, HGDIOBJ object) {
    return Selection(selectObject(dc, object), dc);
}

}  // namespace awt
