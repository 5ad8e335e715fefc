#include "klib/Memory.h"

#include <gtest/gtest.h>

namespace {

TEST(LocalMemory, ReleasesNullWithoutFailing) {
    klib::LocalMemory memory;
    EXPECT_NO_THROW(memory.release());
    EXPECT_EQ(memory.get(), nullptr);
}

TEST(LocalMemory, FreesItsBlockOnceAndForgetsIt) {
    klib::LocalMemory memory(LocalAlloc(LMEM_FIXED, 64));
    ASSERT_NE(memory.get(), nullptr);
    EXPECT_NO_THROW(memory.release());
    EXPECT_EQ(memory.get(), nullptr);
    // A second free of the same block would fail or corrupt the heap.
    EXPECT_NO_THROW(memory.release());
}

TEST(GlobalMemory, ReleasesNullWithoutFailing) {
    klib::GlobalMemory memory;
    EXPECT_NO_THROW(memory.release());
    EXPECT_EQ(memory.get(), nullptr);
}

TEST(GlobalMemory, FreesItsBlockOnceAndForgetsIt) {
    klib::GlobalMemory memory(GlobalAlloc(GMEM_FIXED, 64));
    ASSERT_NE(memory.get(), nullptr);
    EXPECT_NO_THROW(memory.release());
    EXPECT_EQ(memory.get(), nullptr);
    EXPECT_NO_THROW(memory.release());
}

TEST(GlobalMemory, FreesAMovableBlockInItsDestructor) {
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 64);
    ASSERT_NE(block, nullptr);
    { const klib::GlobalMemory memory(block); }
    // A freed movable handle no longer has flags.
    EXPECT_EQ(GlobalFlags(block), GMEM_INVALID_HANDLE);
}

}  // namespace
