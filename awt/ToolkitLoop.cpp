// The toolkit's loop: the message loop and its one-message step, the idle step with its queues of
// deferred layout, repaint and runnables, the message preprocessors and the kernel objects it waits on.
#include "awt/Toolkit.h"

#include <algorithm>
#include <memory>

#include "awt/AWTException.h"
#include "awt/Component.h"
#include "klib/Exception.h"

namespace awt {

namespace {

template <typename T>
bool contains(const std::deque<T*>& queue, const T* item) {
    return std::find(queue.begin(), queue.end(), item) != queue.end();
}

}  // namespace

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
                processMessage(msg);
            }
        } else if (result < WAIT_OBJECT_0 + count) {
            WaitEvent event{waitHandles[result - WAIT_OBJECT_0], false};
            waitHandlers[result - WAIT_OBJECT_0]->handleWait(&event);
        } else if (result == WAIT_FAILED) {
            throwLastError(L"::MsgWaitForMultipleObjectsEx");
        }
        idle();
    }
}

void Toolkit::processMessage(MSG& msg) {
    bool handled = false;
    preprocessMessage(msg, &handled);
    if (!handled) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        rethrowParked();
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
