#include "screensaver/PreviewWindow.h"

#include "awt/LayoutManager.h"
#include "awt/Toolkit.h"
#include "screensaver/DummyParent.h"

namespace screensaver {

PreviewWindow::PreviewWindow(HWND parent) : renderer(nullptr), removing(false) {
    if (parent == nullptr) return;
    RECT rect{};
    GetWindowRect(parent, &rect);  // an invalid parent fails below, when the child window is created
    setBounds(0, 0, rect.right - rect.left, rect.bottom - rect.top);
    // Never deleted: it stands for the host's window for the whole run and must not touch it.
    auto* host = new DummyParent(parent);
    const awt::LayoutManager::Constraints plain;
    host->add(this, &plain);
}

LRESULT PreviewWindow::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        paintThrough(renderer, this);
        return 0;
    case WM_CLOSE:
        getToolkit()->postQuit(0);
        break;
    case WM_DESTROY:
        // The host destroyed its preview area with us inside, without closing us first: nothing is
        // left to show, so the preview ends as if it had been closed.
        if (!removing) getToolkit()->postQuit(0);
        break;
    default:
        break;
    }
    return awt::Panel::handleMessage(msg, wParam, lParam);
}

awt::Dimension PreviewWindow::getPreferredSize() {
    return awt::Dimension{width, height};
}

void PreviewWindow::addNotify() {
    awt::Panel::addNotify();
    if (renderer) renderer->start(this, handle);
}

void PreviewWindow::removeNotify() {
    if (renderer) renderer->stop(this);
    removing = true;
    try {
        awt::Panel::removeNotify();
    } catch (...) {
        removing = false;
        throw;
    }
    removing = false;
}

}  // namespace screensaver
