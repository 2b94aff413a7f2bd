#include "platform/GlobalMemory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

TEST(GlobalMemoryTest, ABlockKeepsItsSizeAndDataAcrossLocks)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 6);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 6u);
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bytes) % 16, 0u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
    std::memcpy(bytes, "abcdef", 6);
    // Two locks need two unlocks; the last one reports that the block is no longer locked.
    EXPECT_EQ(GlobalLock(block), bytes);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(std::memcmp(GlobalLock(block), "abcdef", 6), 0);
    GlobalUnlock(block);
    EXPECT_TRUE(GlobalFree(block));
}

TEST(GlobalMemoryTest, SizesOutsideTheLimitsAndForeignHandlesAreRefused)
{
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 0), nullptr);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, kMaxGlobalBlock + 1), nullptr);
    alignas(16) uint8_t foreign[64] = {};
    for (HGLOBAL handle : {static_cast<HGLOBAL>(nullptr), static_cast<HGLOBAL>(foreign)}) {
        EXPECT_EQ(GlobalLock(handle), nullptr);
        EXPECT_FALSE(GlobalUnlock(handle));
        EXPECT_EQ(GlobalSize(handle), 0u);
        EXPECT_FALSE(GlobalFree(handle));
    }
}
