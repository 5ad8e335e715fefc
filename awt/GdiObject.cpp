#include "awt/GdiObject.h"

#include "awt/AWTException.h"

#include <exception>

namespace awt {

namespace {

// Deletes a non-null object and forgets it; on failure returns false with the error code.
bool deleteObject(HGDIOBJ& handle, DWORD& error) {
    if (handle == nullptr) {
        return true;
    }
    const HGDIOBJ object = handle;
    // The object counts as gone either way: a failed delete is not retried.
    handle = nullptr;
    if (!DeleteObject(object)) {
        error = GetLastError();
        return false;
    }
    return true;
}

}  // namespace

GdiObject::~GdiObject() noexcept(false) {
    DWORD error = 0;
    if (!deleteObject(handle_, error)) {
        AWTException failure(L"::DeleteObject() failed", static_cast<int>(error));
        if (std::uncaught_exceptions() > 0) {
            klib::reportIgnoredFailure(L"~GdiObject(): " + failure.toString());
            return;
        }
        throw failure;
    }
}

void GdiObject::release() {
    DWORD error = 0;
    if (!deleteObject(handle_, error)) {
        throw AWTException(L"::DeleteObject() failed", static_cast<int>(error));
    }
}

void GdiObject::reset(HGDIOBJ handle) {
    if (handle == handle_) {
        return;
    }
    HGDIOBJ old = handle_;
    // Take the new object before deleting the old one, so a failed delete cannot leak it.
    handle_ = handle;
    DWORD error = 0;
    if (!deleteObject(old, error)) {
        throw AWTException(L"::DeleteObject() failed", static_cast<int>(error));
    }
}

WindowDC::~WindowDC() {
    if (dc_ != nullptr) {
        ReleaseDC(window_, dc_);
    }
}

HDC WindowDC::detach() noexcept {
    const HDC dc = dc_;
    dc_ = nullptr;
    return dc;
}

}  // namespace awt
