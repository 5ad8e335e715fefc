#include "screensaver/Renderer.h"

#include "awt/Component.h"

namespace screensaver {

void paintThrough(Renderer* renderer, awt::Component* target) {
    PAINTSTRUCT ps;
    const HWND window = target->getHandle();
    HDC dc = BeginPaint(window, &ps);
    if (renderer && dc) renderer->paint(target, dc);
    EndPaint(window, &ps);
}

}  // namespace screensaver
