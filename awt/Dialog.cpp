#include "awt/Dialog.h"

#include <exception>
#include <utility>

#include "awt/Toolkit.h"
#include "klib/Exception.h"

namespace awt {

Dialog::Dialog(Window* owner, std::wstring text, bool isModal)
    : Frame(owner, std::move(text)),
      modal(isModal),
      ownerWasEnabled(false),
      ownerHeld(false),
      loopRunning(false),
      deleted(nullptr) {
    // Unlike other windows, a dialog does not let the system place it.
    x = 0;
    y = 0;
    width = GetSystemMetrics(SM_CXMIN);
    height = GetSystemMetrics(SM_CYMIN);
}

Dialog::~Dialog() noexcept(false) {
    if (deleted != nullptr) {
        *deleted = true;
    }
    if (!ownerHeld && !loopRunning) {
        return;
    }
    // Deleted while shown modally: the owner must not stay disabled, and the blocked show must return.
    try {
        if (ownerHeld) {
            ownerHeld = false;
            releaseOwner();
        }
        if (loopRunning) {
            loopRunning = false;
            getToolkit()->endModal(this);
        }
    } catch (const klib::Exception& failure) {
        if (std::uncaught_exceptions() == 0) {
            throw;
        }
        klib::reportIgnoredFailure(L"~Dialog(): " + failure.toString());
    }
}

LRESULT Dialog::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The low four bits of the command are the system's own.
    if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        return Window::handleMessage(msg, wParam, lParam);
    }
    return Frame::handleMessage(msg, wParam, lParam);
}

DWORD Dialog::getStyle() const {
    return (Frame::getStyle() & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) | WS_POPUP | WS_BORDER | WS_SYSMENU;
}

void Dialog::setResizable(bool newResizable) {
    changeResizable(newResizable, WS_THICKFRAME);
}

void Dialog::setVisible(bool visible) {
    if (visible == isVisible()) {
        return;
    }
    if (visible) {
        if (modal) {
            showModal();
        } else {
            Frame::setVisible(true);
        }
        return;
    }
    // A dialog shown without a loop (non-modal, or made modal while shown) has nothing to end.
    if (!ownerHeld && !loopRunning) {
        Frame::setVisible(false);
        return;
    }
    if (ownerHeld) {
        ownerHeld = false;
        // Before hiding, so that the system activates the owner again.
        releaseOwner();
    }
    const bool endLoop = loopRunning;
    loopRunning = false;
    try {
        Frame::setVisible(false);
    } catch (...) {
        if (endLoop) {
            getToolkit()->endModal(this);
        }
        throw;
    }
    if (endLoop) {
        getToolkit()->endModal(this);
    }
}

void Dialog::showModal() {
    ownerWasEnabled = false;
    if (parent != nullptr) {
        ownerWasEnabled = parent->isEnabled();
        parent->setEnabled(false);
    }
    ownerHeld = true;
    loopRunning = true;
    bool destroyed = false;
    bool* const outer = deleted;
    deleted = &destroyed;
    try {
        Frame::setVisible(true);
        getToolkit()->runModal(this);
    } catch (...) {
        if (!destroyed) {
            deleted = outer;
            abandonModal();
        }
        throw;
    }
    // The loop may have run a deferred deletion of this dialog.
    if (!destroyed) {
        deleted = outer;
        // A loop ended by someone else's quit leaves the dialog shown; hiding it later ends nothing.
        loopRunning = false;
    }
}

void Dialog::releaseOwner() {
    if (parent != nullptr && ownerWasEnabled) {
        parent->setEnabled(true);
    }
}

void Dialog::abandonModal() noexcept {
    loopRunning = false;
    try {
        if (ownerHeld) {
            ownerHeld = false;
            releaseOwner();
        }
        Frame::setVisible(false);
    } catch (const klib::Exception& failure) {
        klib::reportIgnoredFailure(L"awt::Dialog: cleaning up after a failed modal show: " + failure.toString());
    } catch (...) {
        klib::reportIgnoredFailure(L"awt::Dialog: cleaning up after a failed modal show failed");
    }
}

}  // namespace awt
