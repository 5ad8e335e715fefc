#include "app/Modes.h"

#include "app/Configure.h"
#include "app/Orlivex.h"
#include "app/WallpaperLoader.h"
#include "awt/Toolkit.h"
#include "screensaver/PreviewWindow.h"
#include "screensaver/SaverWindow.h"

int runSaver() {
    prepareWallpaperDecoding();
    Orlivex renderer;
    screensaver::SaverWindow window;
    window.setRenderer(&renderer);
    window.setVisible(true);
    return window.getToolkit()->run();
}

int runPreview(HWND parent) {
    prepareWallpaperDecoding();
    Orlivex renderer;
    screensaver::PreviewWindow preview(parent);
    preview.setRenderer(&renderer);
    // The native window exists already inside the host; this starts the renderer.
    preview.addNotify();
    return preview.getToolkit()->run();
}

int runConfigure(HWND owner) {
    Configure dialog(owner);
    // Modal: returns once the dialog is hidden again (OK, Cancel, Escape or the close box).
    dialog.setVisible(true);
    return 0;
}
