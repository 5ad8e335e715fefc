#include "klib/Exception.h"
#include "klib/Memory.h"
#include "tests/klib/DebugOutputCapture.h"
#include "tests/klib/ExpectThrows.h"

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

TEST(MemoryHolder, ReleaseFreesTheBlockOnceAndForgetsIt) {
    const HGLOBAL movable = GlobalAlloc(GMEM_MOVEABLE, 64);
    klib::GlobalMemory global(movable);
    klib::LocalMemory local(LocalAlloc(LMEM_FIXED, 64));
    for (int i = 0; i < 2; ++i) {  // a second free of the same block would fail
        EXPECT_NO_THROW(global.release());
        EXPECT_NO_THROW(local.release());
    }
    EXPECT_EQ(GlobalFlags(movable), GMEM_INVALID_HANDLE);
}

TEST(MemoryHolder, AFailedFreeThrowsTheExactTextUnlessAnotherExceptionUnwinds) {
    klib::GlobalMemory holder(freedHandle());
    expectThrows<klib::Exception>([&] { holder.release(); }, L"class klib::Exception: ::GlobalFree() failed: 6");
    EXPECT_EQ(holder.get(), nullptr);  // counted as gone: not retried
    expectThrows<klib::Exception>([] { const klib::LocalMemory local(freedHandle()); },
                                  L"class klib::Exception: ::LocalFree() failed: 6");
    // While another exception unwinds, the failure is reported instead: throwing would terminate.
    const testing_support::DebugOutputCapture debugOutput;
    EXPECT_THROW({
        const klib::LocalMemory local(freedHandle());
        throw std::runtime_error("first failure");
    }, std::runtime_error);
    EXPECT_EQ(debugOutput.lines(), std::vector<std::wstring>{
        L"ignored failure: ~LocalMemory(): class klib::Exception: ::LocalFree() failed: 6\n"});
}

}  // namespace
