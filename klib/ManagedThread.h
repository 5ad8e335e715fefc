#pragma once

#include "klib/Runnable.h"

#include <vector>

namespace klib {

// The record of a thread started under the library's control: work to run when the thread ends.
class ManagedThread {
public:
    ManagedThread() = default;
    ManagedThread(const ManagedThread&) = delete;
    ManagedThread& operator=(const ManagedThread&) = delete;

    // Appends action to the exit actions; it frees itself when run, as runnables do.
    void addExitAction(Runnable* action);
    // For the starter of the thread, when it ends: runs the exit actions in reverse order of
    // addition and forgets them. Actions added meanwhile run as well.
    void runExitActions();

    // Binds record to the calling thread (null unbinds); currentThread() then returns it.
    static void attach(ManagedThread* record) noexcept;

private:
    std::vector<Runnable*> exitActions_;  // not owned: each frees itself in run()
};

// The calling thread's record; throws IllegalThreadStateException "unmanaged thread" for a thread without one.
ManagedThread& currentThread();

}  // namespace klib
