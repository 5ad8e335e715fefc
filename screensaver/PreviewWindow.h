#pragma once

#include <windows.h>

#include "awt/Geometry.h"
#include "awt/Panel.h"
#include "screensaver/Renderer.h"

namespace screensaver {

// A panel that lets a Renderer draw it: the renderer is started when the native window exists, stopped
// before it goes, and paints every WM_PAINT. Given a host window it fills that window from its corner
// (the preview mode); given none it is a child like any other (the dialog's preview). WM_CLOSE, or the
// host destroying its window with ours inside, quits the loop.
class PreviewWindow : public awt::Panel {
public:
    // With a parent, the preview covers it from its top-left corner and gets its native window at once.
    // With 0 it has no container and no size until its user gives it some.
    explicit PreviewWindow(HWND parent);

    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The size set for it, so a layout keeps it.
    awt::Dimension getPreferredSize() override;
    // Creates the native window if needed, then starts the renderer, on every call.
    void addNotify() override;
    void removeNotify() override;

    // Not owned; must outlive the native window.
    void setRenderer(Renderer* renderer) noexcept { this->renderer = renderer; }

private:
    Renderer* renderer;  // not owned
    bool removing;       // our own removeNotify is destroying the native window
};

}  // namespace screensaver
