#include "awt/GdiObject.h"

#include "awt/AWTException.h"

namespace awt {

void GdiObjectTraits::fail(DWORD error) {
    throwFailure(L"::DeleteObject", error);
}

void CreatedDCTraits::fail(DWORD error) {
    throwFailure(L"::DeleteDC", error);
}

void SelectionTraits::fail(DWORD error) {
    throwFailure(L"::SelectObject", error);
}

void IconTraits::fail(DWORD error) {
    throwFailure(L"::DestroyIcon", error);
}

HGDIOBJ selectObject(HDC dc, HGDIOBJ object) {
    SetLastError(0);
    const HGDIOBJ previous = SelectObject(dc, object);
    if (previous == nullptr && GetLastError() != 0) {
        throwLastError(L"::SelectObject");
    }
    return previous;
}

Selection select(HDC dc, HGDIOBJ object) {
    return Selection(selectObject(dc, object), dc);
}

}  // namespace awt
