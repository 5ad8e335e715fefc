#include "awt/CommonDialog.h"

#include "awt/Component.h"

namespace awt {

CommonDialog::CommonDialog(Component* dialogOwner, const std::wstring& dialogTitle)
    : owner(dialogOwner), title(dialogTitle), dialogWindow(nullptr) {}

CommonDialog::~CommonDialog() = default;

void CommonDialog::onInit(HWND dialog) {
    dialogWindow = dialog;
}

void CommonDialog::onClose() {
    dialogWindow = nullptr;
}

void CommonDialog::close() {
    if (dialogWindow != nullptr) {
        // Posted: the caller may be running inside the dialog's own loop.
        PostMessageW(dialogWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
}

HWND CommonDialog::getOwnerWindow() const noexcept {
    return owner != nullptr ? owner->getHandle() : nullptr;
}

}  // namespace awt
