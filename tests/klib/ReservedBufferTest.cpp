#include "klib/Exception.h"
#include "klib/ReservedBuffer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr DWORD CAPACITY = 0x100000;

MEMORY_BASIC_INFORMATION query(const void* address) {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(address, &info, sizeof(info));
    return info;
}

// Each test builds its own buffer: a member with a throwing destructor cannot sit in a gtest fixture.
class ReservedBufferTest : public ::testing::Test {
protected:
    std::unique_ptr<klib::ReservedBuffer> holder = std::make_unique<klib::ReservedBuffer>(CAPACITY);
    klib::ReservedBuffer& buffer = *holder;
};

TEST_F(ReservedBufferTest, ReservesWithoutCommitting) {
    ASSERT_NE(buffer.data(), nullptr);
    EXPECT_EQ(buffer.committed(), 0u);
    const MEMORY_BASIC_INFORMATION info = query(buffer.data());
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_RESERVE));
    EXPECT_EQ(info.AllocationBase, buffer.data());
}

TEST_F(ReservedBufferTest, CommitMakesTheFirstCharactersWritable) {
    buffer.commit(256);
    EXPECT_EQ(buffer.committed(), 256u);
    for (DWORD i = 0; i < 256; ++i) {
        buffer.data()[i] = static_cast<wchar_t>(L'a' + i % 26);
    }
    EXPECT_EQ(buffer.data()[255], static_cast<wchar_t>(L'a' + 255 % 26));
    EXPECT_EQ(query(buffer.data()).State, static_cast<DWORD>(MEM_COMMIT));
    // The rest stays reserved only.
    EXPECT_EQ(query(buffer.data() + CAPACITY / 2).State, static_cast<DWORD>(MEM_RESERVE));
}

TEST_F(ReservedBufferTest, GrowingKeepsTheAddressAndTheContents) {
    buffer.commit(256);
    wchar_t* const before = buffer.data();
    buffer.data()[100] = L'x';
    buffer.commit(8192);
    EXPECT_EQ(buffer.data(), before);
    EXPECT_EQ(buffer.data()[100], L'x');
    buffer.data()[8191] = L'y';
    EXPECT_EQ(buffer.committed(), 8192u);
}

TEST_F(ReservedBufferTest, CommitOfASmallerLengthChangesNothing) {
    buffer.commit(4096);
    buffer.data()[4095] = L'z';
    buffer.commit(100);
    EXPECT_EQ(buffer.committed(), 4096u);
    buffer.commit(4096);
    EXPECT_EQ(buffer.committed(), 4096u);
    EXPECT_EQ(buffer.data()[4095], L'z');
}

TEST_F(ReservedBufferTest, CommitBeyondTheReservationThrows) {
    try {
        buffer.commit(CAPACITY * 4);
        FAIL() << "committed outside the reservation";
    } catch (const klib::Exception& e) {
        EXPECT_EQ(e.getTypeName(), L"class klib::Exception");
        EXPECT_EQ(e.getMessage(), L"::VirtualAlloc(MEM_COMMIT) failed");
    }
    EXPECT_EQ(buffer.committed(), 0u);
}

TEST(ReservedBuffer, ReleasesTheReservationWhenDestroyed) {
    void* address = nullptr;
    {
        const klib::ReservedBuffer buffer(CAPACITY);
        address = buffer.data();
    }
    EXPECT_EQ(query(address).State, static_cast<DWORD>(MEM_FREE));
}

}  // namespace
