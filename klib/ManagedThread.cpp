#include "klib/ManagedThread.h"

#include "klib/Exception.h"
#include "klib/ThreadLocal.h"

namespace klib {

namespace {

// The library's slot for the records of managed threads.
const ThreadLocal managedThreadSlot;

}  // namespace

void ManagedThread::addExitAction(Runnable* action) {
    checkNotNull(L"action", action);
    exitActions_.push_back(action);
}

void ManagedThread::runExitActions() {
    // Later actions may depend on what earlier ones set up, so they go first.
    while (!exitActions_.empty()) {
        Runnable* const action = exitActions_.back();
        exitActions_.pop_back();
        action->run();
    }
}

void ManagedThread::attach(ManagedThread* record) noexcept {
    managedThreadSlot.set(record);
}

ManagedThread& currentThread() {
    auto* const record = static_cast<ManagedThread*>(managedThreadSlot.get());
    if (record == nullptr) {
        throw IllegalThreadStateException(L"unmanaged thread");
    }
    return *record;
}

}  // namespace klib
