#pragma once

// Typical use: the main routine initialises the thread's toolkit once, builds its windows and runs the
// loop until a window ends it:
//
//     awt::Toolkit::initialize(instance, showCommand);
//     MyFrame frame;                       // an awt::Frame
//     frame.setVisible(true);
//     return awt::Toolkit::forCurrentThread()->run();  // the code of postQuit(code)
//
// Work from other threads reaches the loop through invokeLater; a loop of one's own (a test's pump,
// a benchmark's pass) takes messages itself and hands each to processMessage, then calls idle().

#include <windows.h>

#include <deque>
#include <exception>
#include <string>
#include <vector>

#include "klib/CriticalSection.h"
#include "klib/Runnable.h"

namespace awt {

class Component;
class Window;

// Sees every message the toolkit loop takes before it is translated and dispatched.
// Not deleted through this interface.
class MessagePreprocessor {
public:
    // Setting *handled to true stops the chain and suppresses translation and dispatch.
    virtual void preprocess(const MSG* msg, bool* handled) = 0;

protected:
    ~MessagePreprocessor() = default;
};

// The menu object a native menu carries as its application data (MENUINFO::dwMenuData);
// WM_MENUCOMMAND selects one of its items by position.
class MenuCommandTarget {
public:
    virtual void activateItem(int position) = 0;

protected:
    ~MenuCommandTarget() = default;
};

// What a wait handler is told when its kernel object is signalled.
struct WaitEvent {
    HANDLE handle;
    bool handled;  // false when the handler is called
};

// Told when the kernel object it was registered with is signalled while the loop waits.
class WaitHandler {
public:
    virtual ~WaitHandler() = default;
    virtual void handleWait(WaitEvent* event) = 0;
};

// The per-thread hub of the GUI: the thread's message loop, the message preprocessors and the queues of
// deferred layout, repaint and runnable work. Always created on the heap, one per thread.
class Toolkit {
public:
    // Process-wide services.

    // Stores the module instance handle and creates the calling thread's toolkit; call it first.
    // Called again on the same thread, it only replaces the instance handle.
    static void initialize(HINSTANCE instance, int showCommand);
    // The calling thread's toolkit, created on first use (only on managed threads).
    static Toolkit* forCurrentThread();
    static HINSTANCE getInstanceHandle() noexcept;
    // Throws "::RegisterClassEx(<name>) failed".
    static ATOM registerWindowClass(const std::wstring& name, UINT style, HICON icon, HICON smallIcon,
                                    HBRUSH background);
    // The class "awt::Window" of all top-level windows, registered on first call.
    static ATOM getWindowClass();
    // The string resource id of the module; klib::nullString when there is none.
    static std::wstring loadString(UINT id);
    // Throws "::LoadImage() failed".
    static HICON loadIcon(HINSTANCE instance, int id, int width, int height);
    static HICON loadIcon(int id, int width, int height);

    // Exceptions must not unwind through Win32 frames (window, timer and hook procedures). Such a
    // callback catches everything and parks it here; the first parked exception of a thread wins.
    static void parkException(std::exception_ptr exception) noexcept;
    // Rethrows (and clears) the calling thread's parked exception, if any. Called by the loop after
    // dispatching, and by our own code after Win32 calls that send messages synchronously
    // (SendMessageW, SetWindowPos, ShowWindow, DestroyWindow, CreateWindowExW ...).
    static void rethrowParked();
    // Makes call, a Win32 call that may send messages to our own windows, and then rethrows what their
    // handlers parked; returns what call returns. A call whose last error matters reads it itself.
    template <class Call>
    static auto sendingMessages(Call&& call) -> decltype(call()) {
        auto result = call();
        rethrowParked();
        return result;
    }

    // Captures the calling thread; throws "::OpenThread(awt::Toolkit::thread) failed".
    Toolkit();
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;
    // Throws "::CloseHandle(awt::Toolkit::thread) failed", unless another exception is unwinding.
    // Queued entries are dropped, not run or deleted.
    ~Toolkit() noexcept(false);

    // The message loop; returns the wParam of the WM_QUIT that ended it (the exit code of postQuit).
    int run();
    // The loop's step for one message taken off the queue (not WM_QUIT, which ends a loop): offers it
    // to the preprocessors, translates and dispatches it unless one handled it, and rethrows what the
    // handlers parked.
    void processMessage(MSG& msg);
    // Nests another loop on this toolkit; window is not used.
    int runModal(Window* window);
    // Ends the innermost loop with 0; window is not used.
    void endModal(Window* window);
    // Ends every running loop, the outermost with exitCode: a nested loop that takes the quit posts it
    // again for the loop around it.
    void postQuit(int exitCode);

    // The idle step: APCs, pending layout, pending repaints, runnables.
    void idle();
    void validatePending();
    void updatePending();
    // Runs queued runnables; unless all is true, stops as soon as input is waiting.
    void runPending(bool all);

    // Preprocessors are not owned; one is never listed twice. Throws klib::NullPointerException "p".
    void addMessagePreprocessor(MessagePreprocessor* p);
    // The former index of p, or -1 if it was not listed.
    int removeMessagePreprocessor(MessagePreprocessor* p);
    // Offers msg to the preprocessors in the order they were added. Throws
    // "the MessagePreprocessor can't add/remove message preprocessors" when one changed the list
    // without consuming the message.
    void preprocessMessage(const MSG& msg, bool* handled);

    // GUI thread only; a component is queued at most once per queue.
    void queueValidate(Component* c);
    void queueUpdate(Component* c);
    // Takes c out of the validate and update queues; a component calls it before it goes away,
    // so the idle step never reaches a deleted component.
    void cancelPending(Component* c) noexcept;

    // Thread-safe: queues r (unless already queued) and wakes the loop with a WM_NULL.
    // r manages its own lifetime. Throws klib::NullPointerException "r".
    void invokeLater(klib::Runnable* r);
    // Thread-safe: deletes c in a later idle step.
    void deleteLater(Component* c);

    // Routes WM_MENUCOMMAND to the menu object stored as the menu's application data.
    LRESULT handleMenuCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);

    // The loop also waits on handle and calls handler when it is signalled. Neither is owned.
    // At most MAXIMUM_WAIT_OBJECTS - 1 handles; throws klib::IllegalStateException beyond that.
    void addWaitHandle(HANDLE handle, WaitHandler* handler);
    // Removes the first registration of handle; false if there is none.
    bool removeWaitHandle(HANDLE handle);

    DWORD getThreadId() const noexcept { return threadId; }

private:
    DWORD threadId;
    HANDLE thread;  // owned: closed by the destructor
    klib::CriticalSection lock;  // guards runnables only
    std::vector<HANDLE> waitHandles;  // not owned
    std::vector<WaitHandler*> waitHandlers;  // parallel to waitHandles; not owned
    std::vector<MessagePreprocessor*> preprocessors;  // not owned
    std::deque<Component*> validateQueue;  // not owned
    std::deque<Component*> updateQueue;  // not owned
    std::deque<klib::Runnable*> runnables;  // not owned: each runnable frees itself
    std::exception_ptr parked;  // thrown inside a Win32 callback, waiting to be rethrown
    int loopDepth = 0;  // loops of run() now running on this thread, nested ones included
    bool quitRequested = false;  // postQuit was called and the outermost loop has not ended yet
    int quitCode = 0;  // the exit code of that postQuit
};

}  // namespace awt
