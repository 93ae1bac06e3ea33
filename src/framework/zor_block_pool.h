#pragma once
// Memory for the many small objects of the map's cells and of the street
// and rail networks (sprite lists, micro-cell layouts, street pieces,
// junctions, streets) that a load or a change of zoom frees and makes again
// by the thousand. Blocks come in classes of
// 64 bytes from large slabs, and a freed block waits on its class's free
// list for the next one of its size: the C library's heap sees neither the
// thousands of small frees of a teardown (which it would merge back, chunk
// by chunk) nor the allocations of the rebuild after it. Slabs are kept for
// the program's life. Every block starts a 64-byte line.
//
// One thread uses a pool: the game's (the savegame writer thread only
// writes bytes).
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

class ZorBlockPool {
 public:
  static constexpr size_t kGrain = 64;
  // Larger blocks come from the C++ heap (aligned to kGrain as well).
  static constexpr size_t kLargest = 16 * 1024;
  static constexpr size_t kSlab = 256 * 1024;

  ZorBlockPool() = default;
  ~ZorBlockPool();
  ZorBlockPool(const ZorBlockPool&) = delete;
  ZorBlockPool& operator=(const ZorBlockPool&) = delete;

  // A block of at least `size` bytes (at least one grain for 0); throws
  // std::bad_alloc like operator new.
  void* Allocate(size_t size);
  // Gives back a block of this pool with the size it was asked with.
  void Free(void* block, size_t size);

  // With no block in use, forgets the free lists and hands out the slabs
  // again from the first one's start, in the order blocks are asked for:
  // what is made next lies in consecutive lines instead of scattered in the
  // order the last blocks were given back. False (and nothing changed)
  // while a block is in use.
  bool StartOver();

  // Blocks handed out and not given back.
  size_t BlocksInUse() const { return m_InUse; }
  // Bytes of the slabs taken from the heap.
  size_t SlabBytes() const { return m_Slabs.size() * kSlab; }

  // The pool of those objects, alive for the whole program (the objects of
  // a world deleted at exit still give their blocks back).
  static ZorBlockPool& Shared();

 private:
  static constexpr size_t kClasses = kLargest / kGrain;
  struct FreeBlock {
    FreeBlock* next;
  };
  static size_t ClassOf(size_t size) { return size == 0 ? 0 : (size - 1) / kGrain; }

  FreeBlock* m_Free[kClasses] = {};
  std::vector<void*> m_Slabs;
  size_t m_NextSlab = 0;    // the slab carved after the current one
  char* m_Carve = nullptr;  // the unused rest of the slab being carved
  size_t m_CarveLeft = 0;
  size_t m_InUse = 0;
};

// A standard allocator over the shared pool, for the small vectors that
// live and die with the pooled objects.
template <class T>
struct ZorPooledAllocator {
  using value_type = T;
  ZorPooledAllocator() = default;
  template <class U>
  ZorPooledAllocator(const ZorPooledAllocator<U>&) {}
  T* allocate(size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(ZorBlockPool::Shared().Allocate(n * sizeof(T)));
  }
  void deallocate(T* p, size_t n) { ZorBlockPool::Shared().Free(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const ZorPooledAllocator<U>&) const {
    return true;
  }
};

// Class-wide operator new and delete over the shared pool, for a class and
// the classes derived from it (the size of each is passed in).
#define ZOR_POOLED                                                                   \
  static void* operator new(size_t size) { return ZorBlockPool::Shared().Allocate(size); } \
  static void operator delete(void* block, size_t size) { ZorBlockPool::Shared().Free(block, size); }
