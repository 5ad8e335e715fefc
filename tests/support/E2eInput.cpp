#include "tests/support/E2eInput.h"

#include "awt/Screen.h"

#include <algorithm>
#include <stdexcept>

#include "tests/support/E2eProcess.h"
#include "tests/support/E2eWindows.h"

namespace e2e {

void xdotool(const std::string& arguments) {
    // Wine signals a Unix program's handle once it has started, not when it ends: the shell around
    // xdotool leaves a marker file when it is done, and the caller waits for that.
    static int calls = 0;
    const std::string marker = "/tmp/orlivex-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++calls);
    startUnixCommand("/usr/bin/xdotool " + arguments + "; touch " + marker);
    std::wstring markerPath = L"Z:" + std::wstring(marker.begin(), marker.end());
    std::replace(markerPath.begin(), markerPath.end(), L'/', L'\\');
    if (!pumpUntil([&] { return GetFileAttributesW(markerPath.c_str()) != INVALID_FILE_ATTRIBUTES; }, STARTUP_MS))
        throw std::runtime_error("xdotool did not finish: " + arguments);
    DeleteFileW(markerPath.c_str());
}

std::string mouseMove(int x, int y) {
    const RECT screen = awt::getVirtualScreen();
    return "mousemove " + std::to_string(x - screen.left) + " " + std::to_string(y - screen.top);
}

void movePointer(int x, int y) {
    // X reports no motion to where the pointer already is (a fresh server has it in the middle): away
    // first, then back, so the system really has it there.
    xdotool(mouseMove(x, y + 40) + " " + mouseMove(x, y));
    POINT at{};
    if (!pumpUntil([&] { return GetCursorPos(&at) && at.x == x && at.y == y; }, PROMPTLY_MS))
        throw std::runtime_error("the pointer is at " + std::to_string(at.x) + "," + std::to_string(at.y) +
                                 ", not at " + std::to_string(x) + "," + std::to_string(y));
}

void click(HWND window) {
    const RECT r = rectOf(window);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    // A window just shown (the colour chooser) may not be where the pointer would find it yet.
    if (!pumpUntil([&] { return WindowFromPoint(centre) == window; }, PROMPTLY_MS))
        throw std::runtime_error("the window to click is not what the pointer finds at its middle, " +
                                 std::to_string(centre.x) + "," + std::to_string(centre.y));
    xdotool(mouseMove(centre.x, centre.y) + " click 1");
}

}  // namespace e2e
