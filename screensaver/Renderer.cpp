#include "screensaver/Renderer.h"

#include "awt/Component.h"

namespace screensaver {

void paintThrough(Renderer* renderer, awt::Component* target) {
    PAINTSTRUCT ps;
    const HWND window = target->getHandle();
    HDC dc = BeginPaint(window, &ps);
    // EndPaint also when the renderer throws: the paint DC and the hidden caret must be given back.
    struct PaintEnd {
        HWND window;
        PAINTSTRUCT* ps;
        ~PaintEnd() { EndPaint(window, ps); }
    } end{window, &ps};
    if (renderer && dc) renderer->paint(target, dc);
}

}  // namespace screensaver
