#pragma once

#include <windows.h>

namespace awt {
class Component;
}

namespace screensaver {

// The animation behind SaverWindow and PreviewWindow: started once their native window exists (still
// hidden), asked to paint on WM_PAINT, stopped before removeNotify destroys the window. Not deleted
// through this interface; its owner destroys it after the window.
class Renderer {
public:
    // The target's native window was created and bound; it is not shown yet.
    virtual void start(awt::Component* target, HWND handle) = 0;
    // Between BeginPaint and EndPaint of the target's WM_PAINT.
    virtual void paint(awt::Component* target, HDC dc) = 0;
    // The target's native window is about to be destroyed.
    virtual void stop(awt::Component* target) = 0;
    // Nobody can see the target (the display is off): compute nothing until resume, but keep
    // what is drawn. Both do nothing when the renderer is not started, suspended twice or resumed
    // while running.
    virtual void suspend(awt::Component* target) = 0;
    virtual void resume(awt::Component* target) = 0;

protected:
    ~Renderer() = default;
};

// Answers target's WM_PAINT: the renderer (if any) paints between BeginPaint and EndPaint, and the
// update region is validated in any case.
void paintThrough(Renderer* renderer, awt::Component* target);

}  // namespace screensaver
