#pragma once

#include <windows.h>

#include "awt/Geometry.h"
#include "awt/Panel.h"
#include "screensaver/Renderer.h"

namespace screensaver {

// Shows a renderer inside a native window that belongs to someone else: the host's preview area,
// or a fixed-size area of the configuration dialog.
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
