#pragma once

#include <windows.h>

namespace awt {

class ActionListener;
class Component;
class Toolkit;

// Base of every object with a native window. bindWindow stores the object in GWLP_USERDATA and replaces
// the window's procedure with windowProc, which calls the object's handleMessage; what that does not
// handle goes to the replaced procedure through callDefault. Also runs window timers for ActionListeners.
class WindowProcedure {
public:
    WindowProcedure() noexcept;
    WindowProcedure(const WindowProcedure&) = delete;
    WindowProcedure& operator=(const WindowProcedure&) = delete;
    // Destroys the window if there still is one; throws "::DestroyWindow() failed", unless another
    // exception is unwinding.
    virtual ~WindowProcedure() noexcept(false);

    virtual Toolkit* getToolkit() = 0;
    // The per-object message handler; passes what it does not handle to callDefault.
    virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

    // The procedure the window had before it was bound.
    LRESULT callDefault(UINT msg, WPARAM wParam, LPARAM lParam);

    // Stores object in the window's user data and installs windowProc. Throws
    // "window user data already set" when the window already had user data.
    static void bindWindow(HWND window, WindowProcedure* object);
    // Clears the window's user data and gives the window back the procedure it had before binding, so
    // that it handles its remaining messages (WM_NCDESTROY included) itself.
    // Throws "window user data broken" when the window had none.
    static void unbindWindow(HWND window);
    // The object bound to window; null for a null or unbound window and for a window that does not run
    // windowProc (whatever its user data holds).
    static WindowProcedure* fromWindow(HWND window) noexcept;
    // The component bound to window; null when unbound or bound to something else.
    static Component* componentFromWindow(HWND window) noexcept;
    // The procedure of every bound window. Exceptions are parked in the thread's toolkit, and the
    // message is answered as failed (0; creation fails) without the default handling.
    static LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    // Starts (or restarts at the new interval) this window's timer for listener, whose address is the
    // timer id; ticks call listener->actionPerformed with this object as source.
    // Throws klib::IllegalStateException "no peer" without a window.
    UINT_PTR setTimer(UINT elapseMs, ActionListener* listener);
    // Throws "::KillTimer() failed", also for a timer that is not running.
    BOOL killTimer(ActionListener* listener);

    HWND getHandle() const noexcept { return handle; }
    WNDPROC getPreviousProcedure() const noexcept { return previousProcedure; }

protected:
    HWND handle;  // the bound native window (the peer); null when there is none
    WNDPROC previousProcedure;  // receives unhandled messages; DefWindowProcW until a bind replaces it

private:
    static void restoreProcedure(HWND window, WNDPROC procedure) noexcept;
    static void CALLBACK timerProc(HWND window, UINT msg, UINT_PTR id, DWORD time) noexcept;
};

}  // namespace awt
