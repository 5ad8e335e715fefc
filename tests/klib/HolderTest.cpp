// The one holder template, through its memory instantiations: release once, failures, reset, detach, swap.
#include "klib/Exception.h"
#include "klib/Holder.h"
#include "tests/support/DebugOutputCapture.h"
#include "tests/support/ExpectThrows.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using testing_support::expectThrows;

// A movable handle already freed: freeing it again fails cleanly in the handle table.
HGLOBAL freedHandle() {
    const HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 16);
    GlobalFree(handle);
    return handle;
}

bool isLive(HGLOBAL movable) {
    return GlobalFlags(movable) != GMEM_INVALID_HANDLE;
}

TEST(Holder, ReleasesOnceResetTakesTheNewBlockFirstDetachGivesUpAndSwapExchanges) {
    const HGLOBAL first = GlobalAlloc(GMEM_MOVEABLE, 64);
    const HGLOBAL second = GlobalAlloc(GMEM_MOVEABLE, 64);
    klib::GlobalMemory holder(first);
    klib::GlobalMemory other;
    holder.swap(other);
    EXPECT_EQ(nullptr, holder.get());
    EXPECT_EQ(first, other.get());
    other.reset(second);
    EXPECT_FALSE(isLive(first));
    EXPECT_EQ(second, other.detach());
    other.release();  // holds nothing: frees nothing
    EXPECT_TRUE(isLive(second));
    holder.reset(second);
    for (int i = 0; i < 2; ++i) {  // a second free of the same block would fail
        EXPECT_NO_THROW(holder.release());
    }
    EXPECT_FALSE(isLive(second));
}

TEST(Holder, AFailedReleaseThrowsTheExactTextOnceUnlessAnotherExceptionUnwinds) {
    klib::GlobalMemory holder(freedHandle());
    expectThrows<klib::Exception>([&] { holder.release(); }, L"class klib::Exception: ::GlobalFree() failed: 6");
    EXPECT_EQ(holder.get(), nullptr);  // counted as gone: not retried
    const HGLOBAL fresh = GlobalAlloc(GMEM_MOVEABLE, 16);  // first, so the freed handle is another one
    klib::GlobalMemory replaced(freedHandle());
    EXPECT_THROW(replaced.reset(fresh), klib::Exception);
    EXPECT_EQ(fresh, replaced.get()) << "the new block is kept although the old one failed";
    expectThrows<klib::Exception>([] { const klib::LocalMemory local(freedHandle()); },
                                  L"class klib::Exception: ::LocalFree() failed: 6");
    // While another exception unwinds, the failure is reported instead: throwing would terminate.
    const testing_support::DebugOutputCapture debugOutput;
    EXPECT_THROW({
        const klib::LocalMemory local(freedHandle());
        throw std::runtime_error("first failure");
    }, std::runtime_error);
    EXPECT_EQ(debugOutput.lines(), std::vector<std::wstring>{L"ignored failure: releasing a resource while "
                                                             L"unwinding: class klib::Exception: ::LocalFree() "
                                                             L"failed: 6\n"});
}

}  // namespace
