#include <windows.h>

#include "app/Modes.h"
#include "screensaver/Main.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return screensaver::runMain(instance, showCommand, screensaver::ModeRunners{runConfigure, runPreview, runSaver});
}
