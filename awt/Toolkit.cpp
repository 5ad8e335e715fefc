#include "awt/Toolkit.h"

#include <algorithm>
#include <memory>

#include "awt/AWTException.h"
#include "awt/Component.h"
#include "klib/Exception.h"
#include "klib/ManagedThread.h"
#include "klib/ReservedBuffer.h"
#include "klib/Strings.h"
#include "klib/ThreadLocal.h"

namespace awt {

namespace {

// Process-wide state, created before the main routine runs.
const klib::ThreadLocal toolkitSlot;  // each thread's Toolkit*
klib::CriticalSection processLock;  // lazy toolkit creation and window-class registration
HINSTANCE instanceHandle = nullptr;
ATOM windowClass = 0;

constexpr DWORD THREAD_ALL_ACCESS_RIGHTS = 0x1F03FF;
constexpr DWORD STRING_CAPACITY = 0x100000;
constexpr DWORD FIRST_STRING_LENGTH = 256;

Toolkit* currentToolkit() noexcept {
    return static_cast<Toolkit*>(toolkitSlot.get());
}

// A line of text about an exception that cannot be thrown any more.
std::wstring describe(const std::exception_ptr& exception) {
    try {
        std::rethrow_exception(exception);
    } catch (const klib::Exception& e) {
        return e.toString();
    } catch (const std::exception& e) {
        return klib::widen(e.what());
    } catch (...) {
        return L"an exception of unknown type";
    }
}

template <typename T>
bool contains(const std::deque<T*>& queue, const T* item) {
    return std::find(queue.begin(), queue.end(), item) != queue.end();
}

}  // namespace

void Toolkit::initialize(HINSTANCE instance, int /*showCommand*/) {
    instanceHandle = instance;
    // A second call keeps the thread's toolkit instead of leaking it.
    if (currentToolkit() == nullptr) {
        auto toolkit = std::make_unique<Toolkit>();
        toolkitSlot.set(toolkit.release());  // owned by the slot for the rest of the process
    }
}

Toolkit* Toolkit::forCurrentThread() {
    klib::Lock guard(processLock);
    if (Toolkit* const existing = currentToolkit()) {
        return existing;
    }
    auto created = std::make_unique<Toolkit>();
    Toolkit* const toolkit = created.get();
    toolkitSlot.set(created.release());  // stays in the slot even if the thread turns out unmanaged
    try {
        auto deleter = std::make_unique<klib::Deleter<Toolkit>>(toolkit);
        klib::currentThread().addExitAction(deleter.get());
        deleter.release();  // owned by the thread's exit actions
    } catch (const klib::IllegalThreadStateException&) {
        throw AWTException(L"using awt without klib management", -1);
    }
    return toolkit;
}

HINSTANCE Toolkit::getInstanceHandle() noexcept {
    return instanceHandle;
}

ATOM Toolkit::registerWindowClass(const std::wstring& name, UINT style, HICON icon, HICON smallIcon,
                                  HBRUSH background) {
    WNDCLASSEXW windowClassInfo{};
    windowClassInfo.cbSize = sizeof(windowClassInfo);
    windowClassInfo.style = style;
    windowClassInfo.lpfnWndProc = DefWindowProcW;
    windowClassInfo.cbClsExtra = 0;
    windowClassInfo.cbWndExtra = 0;
    windowClassInfo.hInstance = instanceHandle;
    windowClassInfo.hIcon = icon;
    windowClassInfo.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClassInfo.hbrBackground = background;
    windowClassInfo.lpszMenuName = nullptr;
    windowClassInfo.lpszClassName = name.c_str();
    windowClassInfo.hIconSm = smallIcon;
    const ATOM atom = RegisterClassExW(&windowClassInfo);
    if (atom == 0) {
        const DWORD error = GetLastError();
        throw AWTException(L"::RegisterClassEx(" + name + L") failed", static_cast<int>(error));
    }
    return atom;
}

ATOM Toolkit::getWindowClass() {
    klib::Lock guard(processLock);
    if (windowClass == 0) {
        windowClass = registerWindowClass(L"awt::Window", 0, nullptr, nullptr,
                                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    }
    return windowClass;
}

std::wstring Toolkit::loadString(UINT id) {
    // Reserved once so the buffer keeps its address while it grows; memory is committed as needed.
    klib::ReservedBuffer buffer(STRING_CAPACITY);
    DWORD length = FIRST_STRING_LENGTH;
    for (;;) {
        buffer.commit(length);
        const int count = LoadStringW(instanceHandle, id, buffer.data(), static_cast<int>(length));
        if (count <= 0) {
            return klib::nullString;
        }
        // A string that filled the buffer may have been cut off.
        if (static_cast<DWORD>(count) < length - 1) {
            return std::wstring(buffer.data(), static_cast<std::size_t>(count));
        }
        length *= 2;
        if (length > STRING_CAPACITY) {
            throw klib::Exception(L"Can't Happen", -1);
        }
    }
}

HICON Toolkit::loadIcon(HINSTANCE instance, int id, int width, int height) {
    const HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(static_cast<WORD>(id)), IMAGE_ICON, width, height,
                                   LR_VGACOLOR);
    if (icon == nullptr) {
        const DWORD error = GetLastError();
        throw AWTException(L"::LoadImage() failed", static_cast<int>(error));
    }
    return static_cast<HICON>(icon);
}

HICON Toolkit::loadIcon(int id, int width, int height) {
    return loadIcon(instanceHandle, id, width, height);
}

void Toolkit::parkException(std::exception_ptr exception) noexcept {
    Toolkit* const toolkit = currentToolkit();
    if (toolkit == nullptr) {
        // No loop on this thread could ever rethrow it; unwinding into Win32 would be worse.
        klib::reportIgnoredFailure(L"awt: exception in a Win32 callback on a thread without toolkit");
        std::terminate();
    }
    if (!toolkit->parked) {
        toolkit->parked = exception;
        return;
    }
    // Only the first one is rethrown; a later one must not vanish without a trace.
    try {
        klib::reportIgnoredFailure(L"a second exception in a Win32 callback: " + describe(exception));
    } catch (...) {
        klib::reportIgnoredFailure(L"a second exception in a Win32 callback");
    }
}

void Toolkit::rethrowParked() {
    Toolkit* const toolkit = currentToolkit();
    if (toolkit != nullptr && toolkit->parked) {
        std::exception_ptr exception = toolkit->parked;
        toolkit->parked = nullptr;
        std::rethrow_exception(exception);
    }
}

Toolkit::Toolkit() : threadId(GetCurrentThreadId()), thread(OpenThread(THREAD_ALL_ACCESS_RIGHTS, FALSE, threadId)) {
    if (thread == nullptr) {
        const DWORD error = GetLastError();
        throw AWTException(L"::OpenThread(awt::Toolkit::thread) failed", static_cast<int>(error));
    }
}

Toolkit::~Toolkit() noexcept(false) {
    // A managed thread's exit action deletes its toolkit; the slot must not keep pointing at it.
    if (currentToolkit() == this) {
        toolkitSlot.set(nullptr);
    }
    if (thread != nullptr && !CloseHandle(thread)) {
        const DWORD error = GetLastError();
        if (std::uncaught_exceptions() > 0) {
            klib::reportIgnoredFailure(L"::CloseHandle(awt::Toolkit::thread) failed");
        } else {
            throw AWTException(L"::CloseHandle(awt::Toolkit::thread) failed", static_cast<int>(error));
        }
    }
}

int Toolkit::run() {
    ++loopDepth;
    struct DepthGuard {
        int& depth;
        ~DepthGuard() { --depth; }
    } depthGuard{loopDepth};
    if (loopDepth == 1) {
        quitRequested = false;  // a quit posted before any loop ran is the WM_QUIT already queued
    }
    for (;;) {
        const DWORD count = static_cast<DWORD>(waitHandles.size());
        const DWORD result = MsgWaitForMultipleObjectsEx(count, count == 0 ? nullptr : waitHandles.data(), INFINITE,
                                                         QS_ALLINPUT, MWMO_ALERTABLE | MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0 + count) {
            MSG msg;
            const BOOL removed = PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
            // Peeking delivers messages sent from other threads; their handlers may have failed.
            rethrowParked();
            if (removed) {
                if (msg.message == WM_QUIT) {
                    runPending(true);
                    // postQuit ends every loop: a nested loop passes the quit on to the loop around it.
                    if (quitRequested && loopDepth > 1) {
                        PostQuitMessage(quitCode);
                        return quitCode;
                    }
                    quitRequested = false;
                    return static_cast<int>(msg.wParam);
                }
                bool handled = false;
                preprocessMessage(msg, &handled);
                if (!handled) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                    rethrowParked();
                }
            }
        } else if (result < WAIT_OBJECT_0 + count) {
            WaitEvent event{waitHandles[result - WAIT_OBJECT_0], false};
            waitHandlers[result - WAIT_OBJECT_0]->handleWait(&event);
        } else if (result == WAIT_FAILED) {
            const DWORD error = GetLastError();
            throw AWTException(L"::MsgWaitForMultipleObjectsEx() failed", static_cast<int>(error));
        }
        idle();
    }
}

int Toolkit::runModal(Window* /*window*/) {
    return run();
}

void Toolkit::endModal(Window* /*window*/) {
    PostQuitMessage(0);
}

void Toolkit::postQuit(int exitCode) {
    quitRequested = true;
    quitCode = exitCode;
    PostQuitMessage(exitCode);
}

void Toolkit::idle() {
    SleepEx(0, TRUE);
    validatePending();
    updatePending();
    runPending(false);
}

void Toolkit::validatePending() {
    while (!validateQueue.empty()) {
        Component* const component = validateQueue.front();
        validateQueue.pop_front();
        component->validate();
    }
}

void Toolkit::updatePending() {
    // Repainting waits until layout has settled.
    if (!validateQueue.empty()) {
        return;
    }
    while (!updateQueue.empty()) {
        // Taken out first: the update may change the queue, even delete the component.
        Component* const component = updateQueue.front();
        updateQueue.pop_front();
        component->update();
        // A repaint the component requested during its own update is absorbed.
        updateQueue.erase(std::remove(updateQueue.begin(), updateQueue.end(), component), updateQueue.end());
    }
}

void Toolkit::runPending(bool all) {
    for (;;) {
        if (!all) {
            MSG msg;
            const BOOL waiting = PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
            rethrowParked();
            if (waiting) {
                return;  // input has priority over runnables
            }
        }
        klib::Runnable* runnable = nullptr;
        {
            klib::Lock guard(lock);
            if (runnables.empty()) {
                return;
            }
            runnable = runnables.front();
            runnables.pop_front();
        }
        runnable->run();
    }
}

void Toolkit::addMessagePreprocessor(MessagePreprocessor* p) {
    klib::checkNotNull(L"p", p);
    if (std::find(preprocessors.begin(), preprocessors.end(), p) == preprocessors.end()) {
        preprocessors.push_back(p);
    }
}

int Toolkit::removeMessagePreprocessor(MessagePreprocessor* p) {
    const auto found = std::find(preprocessors.begin(), preprocessors.end(), p);
    if (found == preprocessors.end()) {
        return -1;
    }
    const int index = static_cast<int>(found - preprocessors.begin());
    preprocessors.erase(found);
    return index;
}

void Toolkit::preprocessMessage(const MSG& msg, bool* handled) {
    const std::size_t startCount = preprocessors.size();
    for (std::size_t i = 0; i < preprocessors.size(); ++i) {
        preprocessors[i]->preprocess(&msg, handled);
        if (*handled) {
            return;
        }
        if (preprocessors.size() != startCount) {
            throw AWTException(L"the MessagePreprocessor can't add/remove message preprocessors", -1);
        }
    }
}

void Toolkit::queueValidate(Component* c) {
    if (!contains(validateQueue, c)) {
        validateQueue.push_back(c);
    }
}

void Toolkit::queueUpdate(Component* c) {
    if (!contains(updateQueue, c)) {
        updateQueue.push_back(c);
    }
}

void Toolkit::cancelPending(Component* c) noexcept {
    validateQueue.erase(std::remove(validateQueue.begin(), validateQueue.end(), c), validateQueue.end());
    updateQueue.erase(std::remove(updateQueue.begin(), updateQueue.end(), c), updateQueue.end());
}

void Toolkit::invokeLater(klib::Runnable* r) {
    klib::checkNotNull(L"r", r);
    klib::Lock guard(lock);
    if (!contains(runnables, r)) {
        runnables.push_back(r);
        PostThreadMessageW(threadId, WM_NULL, 0, 0);  // wakes a waiting loop; failure is harmless
    }
}

void Toolkit::deleteLater(Component* c) {
    auto deleter = std::make_unique<klib::Deleter<Component>>(c);
    invokeLater(deleter.get());
    deleter.release();  // frees itself when run
}

LRESULT Toolkit::handleMenuCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
    if (msg != WM_MENUCOMMAND) {
        return 0;
    }
    *handled = true;
    const HMENU menu = reinterpret_cast<HMENU>(lParam);
    if (menu != nullptr) {
        MENUINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIM_MENUDATA;
        if (GetMenuInfo(menu, &info) && info.dwMenuData != 0) {
            reinterpret_cast<MenuCommandTarget*>(info.dwMenuData)->activateItem(static_cast<int>(wParam));
        }
    }
    return 0;
}

void Toolkit::addWaitHandle(HANDLE handle, WaitHandler* handler) {
    klib::checkNotNull(L"handler", handler);
    // One slot of the wait stays reserved for the message queue.
    if (waitHandles.size() >= MAXIMUM_WAIT_OBJECTS - 1) {
        throw klib::IllegalStateException(L"too many wait handles");
    }
    waitHandles.push_back(handle);
    waitHandlers.push_back(handler);
}

bool Toolkit::removeWaitHandle(HANDLE handle) {
    const auto found = std::find(waitHandles.begin(), waitHandles.end(), handle);
    if (found == waitHandles.end()) {
        return false;
    }
    const auto index = found - waitHandles.begin();
    waitHandles.erase(found);
    waitHandlers.erase(waitHandlers.begin() + index);
    return true;
}

}  // namespace awt
