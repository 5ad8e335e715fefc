#include "klib/CriticalSection.h"
#include "klib/Exception.h"
#include "klib/ManagedThread.h"
#include "klib/Runnable.h"
#include "klib/ThreadLocal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr DWORD DEADLINE_MS = 5000;

TEST(ThreadLocal, StartsNullAndKeepsAValuePerThread) {
    const klib::ThreadLocal slot;
    ASSERT_NE(slot.index(), TLS_OUT_OF_INDEXES);
    EXPECT_EQ(slot.get(), nullptr);
    int mine = 1;
    slot.set(&mine);

    void* seenByOther = &mine;
    int theirs = 2;
    std::thread other([&] {
        seenByOther = slot.get();
        slot.set(&theirs);
    });
    other.join();

    EXPECT_EQ(seenByOther, nullptr);
    EXPECT_EQ(slot.get(), &mine);
    EXPECT_EQ(TlsGetValue(slot.index()), &mine);
}

TEST(ThreadLocal, HoldsDistinctSlots) {
    const klib::ThreadLocal first;
    const klib::ThreadLocal second;
    EXPECT_NE(first.index(), second.index());
}

// Enters section on another thread and reports when it got in.
class Contender {
public:
    explicit Contender(klib::CriticalSection& section)
        : entered_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this, &section] {
              const klib::Lock lock(section);
              SetEvent(entered_);
          }) {}
    ~Contender() {
        thread_.join();
        CloseHandle(entered_);
    }

    bool enteredWithin(DWORD milliseconds) const { return WaitForSingleObject(entered_, milliseconds) == WAIT_OBJECT_0; }

private:
    HANDLE entered_;
    std::thread thread_;
};

TEST(Lock, CanBeTakenAgainByTheOwningThread) {
    klib::CriticalSection section;
    {
        const klib::Lock outer(section);
        const klib::Lock inner(section);
    }
    // Both entries were left: another thread gets in.
    const Contender contender(section);
    EXPECT_TRUE(contender.enteredWithin(DEADLINE_MS));
}

TEST(Lock, KeepsOtherThreadsOutUntilItEnds) {
    klib::CriticalSection section;
    bool enteredWhileHeld = false;
    {
        const klib::Lock lock(section);
        const Contender contender(section);
        enteredWhileHeld = contender.enteredWithin(200);
        section.leave();
        const bool enteredAfterLeave = contender.enteredWithin(DEADLINE_MS);
        section.enter();
        EXPECT_TRUE(enteredAfterLeave);
    }
    EXPECT_FALSE(enteredWhileHeld);
}

TEST(Lock, LeavesWhenAnExceptionPasses) {
    klib::CriticalSection section;
    try {
        const klib::Lock lock(section);
        throw std::runtime_error("boom");
    } catch (const std::runtime_error&) {
    }
    const Contender contender(section);
    EXPECT_TRUE(contender.enteredWithin(DEADLINE_MS));
}

struct Probe {
    explicit Probe(int& destroyed) : destroyed(destroyed) {}
    ~Probe() { ++destroyed; }
    int& destroyed;
};

struct ThrowingProbe {
    ~ThrowingProbe() noexcept(false) { throw klib::IllegalStateException(L"refused"); }
};

// Counts its own destruction, which Deleter::run() must cause.
template <typename T>
class CountedDeleter : public klib::Deleter<T> {
public:
    CountedDeleter(T* object, int& destroyed) : klib::Deleter<T>(object), destroyed_(destroyed) {}
    ~CountedDeleter() override { ++destroyed_; }

private:
    int& destroyed_;
};

TEST(Deleter, WithNullOnlyDeletesItself) {
    int deleters = 0;
    klib::Runnable* const deleter = new CountedDeleter<Probe>(nullptr, deleters);
    deleter->run();
    EXPECT_EQ(deleters, 1);
}

TEST(Deleter, DeletesTheObjectThenItself) {
    int objects = 0;
    int deleters = 0;
    klib::Runnable* const deleter = new CountedDeleter<Probe>(new Probe(objects), deleters);
    EXPECT_EQ(objects, 0);
    deleter->run();
    EXPECT_EQ(objects, 1);
    EXPECT_EQ(deleters, 1);
}

TEST(Deleter, DestroyedWithoutRunningLeavesTheObjectAlone) {
    int objects = 0;
    Probe object(objects);
    {
        const klib::Deleter<Probe> deleter(&object);
    }
    EXPECT_EQ(objects, 0);
}

TEST(Deleter, DeletesItselfEvenWhenTheObjectThrows) {
    int deleters = 0;
    klib::Runnable* const deleter = new CountedDeleter<ThrowingProbe>(new ThrowingProbe, deleters);
    EXPECT_THROW(deleter->run(), klib::IllegalStateException);
    EXPECT_EQ(deleters, 1);
}

TEST(CurrentThread, ThrowsForAnUnmanagedThread) {
    try {
        klib::currentThread();
        FAIL() << "the main thread is unmanaged";
    } catch (const klib::IllegalThreadStateException& e) {
        EXPECT_EQ(e.toString(), L"class klib::IllegalThreadStateException: unmanaged thread");
        EXPECT_EQ(e.getErrorCode(), -1);
    }
}

// Records its name when run, then frees itself as runnables do.
class Recorder : public klib::Runnable {
public:
    Recorder(std::vector<std::wstring>& log, const wchar_t* name) : log_(log), name_(name) {}
    void run() override {
        log_.push_back(name_);
        delete this;
    }

private:
    std::vector<std::wstring>& log_;
    std::wstring name_;
};

class ManagedThreadTest : public ::testing::Test {
protected:
    void SetUp() override { klib::ManagedThread::attach(&record); }
    void TearDown() override { klib::ManagedThread::attach(nullptr); }

    klib::ManagedThread record;
};

TEST_F(ManagedThreadTest, CurrentThreadReturnsTheAttachedRecord) {
    EXPECT_EQ(&klib::currentThread(), &record);
}

TEST_F(ManagedThreadTest, OtherThreadsStayUnmanaged) {
    std::atomic<bool> threw{false};
    std::thread other([&] {
        try {
            klib::currentThread();
        } catch (const klib::IllegalThreadStateException&) {
            threw = true;
        }
    });
    other.join();
    EXPECT_TRUE(threw);
}

TEST_F(ManagedThreadTest, RunsExitActionsInReverseOrderOnce) {
    std::vector<std::wstring> log;
    klib::currentThread().addExitAction(new Recorder(log, L"first"));
    klib::currentThread().addExitAction(new Recorder(log, L"second"));
    record.runExitActions();
    record.runExitActions();
    EXPECT_EQ(log, (std::vector<std::wstring>{L"second", L"first"}));
}

TEST_F(ManagedThreadTest, RejectsANullExitAction) {
    EXPECT_THROW(record.addExitAction(nullptr), klib::NullPointerException);
}

}  // namespace
