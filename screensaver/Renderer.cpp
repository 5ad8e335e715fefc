#include "screensaver/Renderer.h"

#include "awt/Component.h"
#include "awt/GdiObject.h"

namespace screensaver {

void paintThrough(Renderer* renderer, awt::Component* target) {
    PAINTSTRUCT ps;
    const HWND window = target->getHandle();
    // EndPaint also when the renderer throws: the paint DC and the hidden caret must be given back.
    const awt::PaintDC dc(BeginPaint(window, &ps), awt::PaintTraits(window, &ps));
    if (renderer && dc.get()) renderer->paint(target, dc.get());
}

}  // namespace screensaver
