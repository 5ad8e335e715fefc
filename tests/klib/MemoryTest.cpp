#include "klib/Exception.h"
#include "klib/Memory.h"
#include "klib/ReservedBuffer.h"
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

DWORD stateAt(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(address, &info, sizeof(info));
    return info.State;
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

TEST(ReservedBuffer, CommitsOnlyWhatIsAskedGrowsInPlaceAndFailsBeyondTheReservation) {
    void* address = nullptr;
    {
        klib::ReservedBuffer buffer(0x10000);
        address = buffer.data();
        EXPECT_EQ(stateAt(address), static_cast<DWORD>(MEM_RESERVE));
        buffer.commit(256);
        buffer.data()[255] = L'x';
        EXPECT_EQ(stateAt(buffer.data() + 0x8000), static_cast<DWORD>(MEM_RESERVE));
        buffer.commit(8192);
        buffer.commit(100);  // a smaller length changes nothing
        expectThrows<klib::Exception>([&] { buffer.commit(0x40000); },
                                      L"class klib::Exception: ::VirtualAlloc(MEM_COMMIT) failed: 487");
        EXPECT_EQ(buffer.data(), address);
        EXPECT_EQ(buffer.committed(), 8192u);
        EXPECT_EQ(buffer.data()[255], L'x');
        buffer.data()[8191] = L'y';
    }
    EXPECT_EQ(stateAt(address), static_cast<DWORD>(MEM_FREE));
}

}  // namespace
