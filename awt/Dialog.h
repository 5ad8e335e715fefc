#pragma once

#include <windows.h>

#include <string>

#include "awt/Frame.h"
#include "awt/Window.h"

namespace awt {

// A Frame without minimize and maximize boxes. When modal, setVisible(true) disables the owner, shows the
// dialog and runs Toolkit::runModal; setVisible(false) re-enables the owner (if it was enabled) and calls
// endModal, so the blocked setVisible(true) returns.
class Dialog : public Frame {
public:
    // Starts at (0, 0) with the system's minimum window size.
    Dialog(Window* owner, std::wstring title, bool modal);
    ~Dialog() noexcept(false) override;

    // The frame's handling, except that a dialog does not swallow the close command when it is not
    // closable.
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // A popup with caption and system menu; a sizing border when resizable.
    DWORD getStyle() const override;
    // Showing a modal dialog returns once its nested loop ends: normally when the dialog is hidden again,
    // which re-enables an owner that was enabled before and then ends the loop.
    void setVisible(bool visible) override;
    // The sizing border only; a dialog has no maximize box.
    void setResizable(bool resizable) override;

    // Takes effect at the next show.
    void setModal(bool newModal) noexcept { modal = newModal; }
    bool isModal() const noexcept { return modal; }

private:
    void showModal();
    // Gives the owner back the enabled state it had before a modal show.
    void releaseOwner();
    // After the nested loop failed: releases the owner and hides; later failures are only reported.
    void abandonModal() noexcept;

    bool modal;
    bool ownerWasEnabled;
    bool ownerHeld;  // a modal show disabled the owner and the dialog has not been hidden since
    bool loopRunning;  // a modal show waits in its nested loop; hiding must end it
    bool* deleted;  // not owned: set by the destructor, so a modal show never touches a deleted dialog
};

}  // namespace awt
