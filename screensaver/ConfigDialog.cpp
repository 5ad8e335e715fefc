#include "screensaver/ConfigDialog.h"

#include "screensaver/DummyParent.h"

namespace screensaver {

ConfigDialog::ConfigDialog(HWND owner) : awt::Dialog(adopt(owner), L"", false) {
    setModal(true);
    setDefaultCloseOperation(CLOSE_HIDE);
}

ConfigDialog::~ConfigDialog() noexcept(false) = default;

LRESULT ConfigDialog::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return awt::Frame::handleMessage(msg, wParam, lParam);
}

awt::Window* ConfigDialog::adopt(HWND owner) {
    // A handle that is no window leaves the dialog without owner rather than owned by nothing.
    const HWND root = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (root == nullptr) return nullptr;
    // Never deleted: it stands for the host's window for the whole run and must not touch it.
    return new DummyParent(root);
}

}  // namespace screensaver
