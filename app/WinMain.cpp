#include <windows.h>

#include "app/Modes.h"
#include "awt/Dpi.h"
#include "screensaver/Main.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before the first window: the manifest's per-monitor awareness, raised to version 2 where the
    // system has it (see resources/orlivex.manifest).
    awt::usePerMonitorV2Awareness();
    return screensaver::runMain(instance, showCommand, screensaver::ModeRunners{runConfigure, runPreview, runSaver});
}
