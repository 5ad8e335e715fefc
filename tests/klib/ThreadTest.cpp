#include "klib/Exception.h"
#include "klib/ManagedThread.h"
#include "klib/Runnable.h"
#include "klib/ThreadLocal.h"
#include "tests/klib/ExpectThrows.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using Log = std::vector<std::wstring>;

TEST(ThreadLocal, StartsNullAndKeepsAValuePerThread) {
    const klib::ThreadLocal slot;
    EXPECT_EQ(slot.get(), nullptr);
    int mine = 1;
    slot.set(&mine);
    void* seenByOther = &mine;
    std::thread([&] {
        seenByOther = slot.get();
        slot.set(&seenByOther);
    }).join();
    EXPECT_EQ(seenByOther, nullptr);
    EXPECT_EQ(slot.get(), &mine);
}

// Logs its name when destroyed; one named "refuses" then throws.
struct Probe {
    Log& log;
    std::wstring name;
    ~Probe() noexcept(false) {
        log.push_back(name);
        if (name == L"refuses") throw klib::IllegalStateException(name);
    }
};

// Logs its own destruction too.
class LoggedDeleter : public klib::Deleter<Probe> {
public:
    LoggedDeleter(Probe* object, Log& log) : klib::Deleter<Probe>(object), log_(log) {}
    ~LoggedDeleter() override { log_.push_back(L"deleter"); }

private:
    Log& log_;
};

TEST(Deleter, RunDeletesTheObjectIfAnyThenItselfEvenWhenTheObjectThrows) {
    Log log;
    klib::Runnable* const empty = new LoggedDeleter(nullptr, log);
    empty->run();
    klib::Runnable* const full = new LoggedDeleter(new Probe{log, L"object"}, log);
    full->run();
    klib::Runnable* const refusing = new LoggedDeleter(new Probe{log, L"refuses"}, log);
    EXPECT_THROW(refusing->run(), klib::IllegalStateException);
    EXPECT_EQ(log, (Log{L"deleter", L"object", L"deleter", L"refuses", L"deleter"}));
}

TEST(CurrentThread, ThrowsForAnUnmanagedThread) {
    testing_support::expectThrows<klib::IllegalThreadStateException>(
        [] { klib::currentThread(); }, L"class klib::IllegalThreadStateException: unmanaged thread");
}

TEST(ManagedThread, IsCurrentOnlyOnItsThreadAndRunsItsExitActionsInReverseOrderOnce) {
    klib::ManagedThread record;
    klib::ManagedThread::attach(&record);
    EXPECT_EQ(&klib::currentThread(), &record);
    std::thread([] { EXPECT_THROW(klib::currentThread(), klib::IllegalThreadStateException); }).join();
    Log log;
    EXPECT_THROW(record.addExitAction(nullptr), klib::NullPointerException);
    record.addExitAction(new klib::Deleter<Probe>(new Probe{log, L"first"}));
    record.addExitAction(new klib::Deleter<Probe>(new Probe{log, L"second"}));
    klib::ManagedThread::attach(nullptr);
    record.runExitActions();
    record.runExitActions();
    EXPECT_EQ(log, (Log{L"second", L"first"}));
}

}  // namespace
