// The block pool of the map's and the networks' objects: blocks by size class, reused
// after they are given back, aligned to a cache line, the largest from the
// heap; memory given back is unreadable to the address checker.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "framework/zor_block_pool.h"

namespace {

bool Aligned(const void* p) { return reinterpret_cast<uintptr_t>(p) % ZorBlockPool::kGrain == 0; }

TEST(BlockPool, BlocksOfAClassAreReusedAndNeverOverlap) {
  ZorBlockPool pool;
  // Sizes at the edges of the classes, one grain, and the largest pooled.
  const size_t sizes[] = {0, 1, 63, 64, 65, 128, 129, 1000, ZorBlockPool::kLargest - 1, ZorBlockPool::kLargest};
  std::vector<std::pair<char*, size_t>> blocks;
  for (int round = 0; round < 40; ++round)
    for (size_t size : sizes) {
      auto* p = static_cast<char*>(pool.Allocate(size));
      ASSERT_TRUE(Aligned(p)) << size;
      // Every byte asked for is the caller's: filled, and checked below.
      std::memset(p, static_cast<int>(blocks.size() & 0xFF), size);
      blocks.emplace_back(p, size);
    }
  EXPECT_EQ(pool.BlocksInUse(), blocks.size());
  for (size_t i = 0; i < blocks.size(); ++i)
    for (size_t b = 0; b < blocks[i].second; ++b)
      ASSERT_EQ(static_cast<unsigned char>(blocks[i].first[b]), i & 0xFF) << "block " << i << " overwritten";
  const size_t slabs = pool.SlabBytes();
  std::set<char*> given;
  for (auto& [p, size] : blocks) {
    pool.Free(p, size);
    given.insert(p);
  }
  EXPECT_EQ(pool.BlocksInUse(), 0u);
  // The same blocks again: all from the free lists, no new slab.
  for (auto& [p, size] : blocks) {
    char* again = static_cast<char*>(pool.Allocate(size));
    EXPECT_EQ(given.count(again), 1u) << size;
    given.erase(again);
  }
  EXPECT_EQ(pool.SlabBytes(), slabs);
  EXPECT_TRUE(given.empty());
  for (auto& [p, size] : blocks) pool.Free(p, size);
}

TEST(BlockPool, BlocksOfAnotherClassOrBeyondTheLargestAreNotTakenFromAFreeList) {
  ZorBlockPool pool;
  void* small = pool.Allocate(64);
  pool.Free(small, 64);
  void* bigger = pool.Allocate(65);
  EXPECT_NE(bigger, small);
  EXPECT_EQ(pool.Allocate(1), small);
  // Beyond the largest class a block comes from the heap, still aligned, and
  // no slab is taken for it.
  const size_t slabs = pool.SlabBytes();
  void* large = pool.Allocate(ZorBlockPool::kLargest + 1);
  EXPECT_TRUE(Aligned(large));
  std::memset(large, 0x5A, ZorBlockPool::kLargest + 1);
  EXPECT_EQ(pool.SlabBytes(), slabs);
  pool.Free(large, ZorBlockPool::kLargest + 1);
  pool.Free(bigger, 65);
  pool.Free(small, 1);
  EXPECT_EQ(pool.BlocksInUse(), 0u);
}

// A pool that has every block back starts over: the blocks asked for next
// lie one after another from the first slab's start, whatever order the
// last ones came back in, and no slab is added or lost. While a block is
// out, nothing changes.
TEST(BlockPool, StartingOverHandsOutTheSlabsAgainInOrder) {
  ZorBlockPool pool;
  std::vector<char*> blocks;
  // More than a slab's worth, in two classes.
  const size_t count = 3 * ZorBlockPool::kSlab / 192;
  for (size_t i = 0; i < count; ++i) blocks.push_back(static_cast<char*>(pool.Allocate(i % 2 ? 64 : 128)));
  const size_t slabs = pool.SlabBytes();
  ASSERT_GT(slabs, ZorBlockPool::kSlab);
  // The first block asked for starts the first slab.
  char* first = blocks[0];
  // Given back scattered: every third one first, the rest backwards.
  for (size_t i = 0; i < count; i += 3) pool.Free(blocks[i], i % 2 ? 64 : 128);
  for (size_t i = count; i-- > 0;)
    if (i % 3 != 0) {
      if (i == 1) {
        // One block still out: the free lists stay as they are.
        EXPECT_FALSE(pool.StartOver());
        void* again = pool.Allocate(128);
        EXPECT_NE(again, first);
        EXPECT_EQ(again, blocks[2]) << "the last 128-byte block given back comes first";
        pool.Free(again, 128);
      }
      pool.Free(blocks[i], i % 2 ? 64 : 128);
    }
  ASSERT_EQ(pool.BlocksInUse(), 0u);
  EXPECT_TRUE(pool.StartOver());
  char* at = static_cast<char*>(pool.Allocate(100));
  EXPECT_EQ(at, first);
  std::vector<char*> again{at};
  for (size_t i = 1; i < count; ++i) {
    char* next = static_cast<char*>(pool.Allocate(64));
    // Within a slab each block follows the one before.
    if (static_cast<size_t>(next - first) < ZorBlockPool::kSlab) {
      EXPECT_EQ(next, at + (i == 1 ? 128 : 64)) << i;
    }
    at = next;
    again.push_back(next);
  }
  EXPECT_EQ(pool.SlabBytes(), slabs);
  EXPECT_EQ(std::set<char*>(again.begin(), again.end()).size(), count);
  for (size_t i = 0; i < count; ++i) pool.Free(again[i], i == 0 ? 100 : 64);
}

TEST(BlockPool, APooledAllocatorGivesItsBlocksBack) {
  const size_t before = ZorBlockPool::Shared().BlocksInUse();
  {
    std::vector<int, ZorPooledAllocator<int>> v;
    for (int i = 0; i < 1000; ++i) v.push_back(i);
    EXPECT_EQ(v[999], 999);
    // Every smaller buffer was given back as the vector grew.
    EXPECT_EQ(ZorBlockPool::Shared().BlocksInUse(), before + 1);
  }
  EXPECT_EQ(ZorBlockPool::Shared().BlocksInUse(), before);
}

#if defined(__SANITIZE_ADDRESS__)
TEST(BlockPoolDeathTest, ABlockGivenBackCannotBeRead) {
  ZorBlockPool pool;
  auto* p = static_cast<volatile char*>(pool.Allocate(200));
  p[150] = 1;
  pool.Free(const_cast<char*>(p), 200);
  EXPECT_DEATH(p[150] = 2, "use-after-poison");
}
#endif

}  // namespace
