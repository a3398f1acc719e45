#include "platform/memory_use.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#if defined(__GLIBC__)
#include <malloc.h>

// A block the size of a large neighborhood's package, asked for after the program's setting, comes
// from the heap (where a freed one is reused) rather than from a mapping of its own.
TEST(MemoryUse, APackageSizedBlockComesFromTheHeap) {
    qh::ReuseLargeBlocks();
    const struct mallinfo2 before = mallinfo2();
    auto block = std::make_unique_for_overwrite<std::uint8_t[]>(48u << 20);
    volatile std::uint8_t* touched = block.get();
    touched[0] = 1;
    const struct mallinfo2 during = mallinfo2();
    EXPECT_EQ(during.hblks, before.hblks) << "the block was given a mapping of its own";
    EXPECT_GE(during.arena, before.arena);
}
#endif
