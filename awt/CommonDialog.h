#pragma once

#include <windows.h>

#include <string>

namespace awt {

class Component;

// Base of the wrappers of ChooseColorW and its kind. Not a component: the system makes the dialog and
// runs its own modal loop; a hook catches WM_INITDIALOG to learn the dialog's window, so that
// setVisible(false) can end it from a timer or runnable of the same thread.
class CommonDialog {
public:
    // owner (may be null, not owned) lends its native window as the owner of the system dialog; title is
    // klib::nullString for none.
    CommonDialog(Component* owner, const std::wstring& title);
    CommonDialog(const CommonDialog&) = delete;
    CommonDialog& operator=(const CommonDialog&) = delete;
    virtual ~CommonDialog();

    // The system dialog has been created.
    virtual void onInit(HWND dialog);
    // The system dialog has ended.
    virtual void onClose();
    // Asks the open dialog to close as if cancelled; nothing when no dialog is open.
    virtual void close();

    Component* getOwner() const noexcept { return owner; }
    const std::wstring& getTitle() const noexcept { return title; }
    // The open system dialog; null when there is none.
    HWND getDialogWindow() const noexcept { return dialogWindow; }

protected:
    // The owner's native window; null without owner or when it has none.
    HWND getOwnerWindow() const noexcept;

private:
    Component* owner;  // not owned
    std::wstring title;
    HWND dialogWindow;  // owned by the system; known between onInit and onClose
};

}  // namespace awt
