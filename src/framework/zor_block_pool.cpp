#include "framework/zor_block_pool.h"

#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
// A free block reads as freed memory to the address checker: a use after
// free of a pooled object is caught as it would be on the heap.
#define ZOR_POOL_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define ZOR_POOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define ZOR_POOL_POISON(p, n) ((void)(p), (void)(n))
#define ZOR_POOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {
constexpr std::align_val_t kAlign{ZorBlockPool::kGrain};
}

ZorBlockPool::~ZorBlockPool() {
  for (void* slab : m_Slabs) {
    ZOR_POOL_UNPOISON(slab, kSlab);
    ::operator delete(slab, kAlign);
  }
}

void* ZorBlockPool::Allocate(size_t size) {
  if (size > kLargest) return ::operator new(size, kAlign);
  const size_t c = ClassOf(size);
  const size_t bytes = (c + 1) * kGrain;
  void* block;
  if (FreeBlock* head = m_Free[c]) {
    // Unpoisoned before its link is read.
    ZOR_POOL_UNPOISON(head, bytes);
    m_Free[c] = head->next;
    block = head;
    // A block freed long ago is out of the caches: the next one of the
    // class is fetched while this one is put to use.
    __builtin_prefetch(m_Free[c], 1);
  } else {
    if (m_CarveLeft < bytes) {
      // What is left of the old slab stays unused: at most one largest block.
      if (m_NextSlab == m_Slabs.size()) {
        m_Slabs.reserve(m_Slabs.size() + 1);
        void* slab = ::operator new(kSlab, kAlign);
        ZOR_POOL_POISON(slab, kSlab);
        m_Slabs.push_back(slab);
      }
      m_Carve = static_cast<char*>(m_Slabs[m_NextSlab++]);
      m_CarveLeft = kSlab;
    }
    block = m_Carve;
    m_Carve += bytes;
    m_CarveLeft -= bytes;
    ZOR_POOL_UNPOISON(block, bytes);
  }
  ++m_InUse;
  return block;
}

void ZorBlockPool::Free(void* block, size_t size) {
  if (!block) return;
  if (size > kLargest) {
    ::operator delete(block, kAlign);
    return;
  }
  const size_t c = ClassOf(size);
  auto* free = static_cast<FreeBlock*>(block);
  free->next = m_Free[c];
  m_Free[c] = free;
  --m_InUse;
  ZOR_POOL_POISON(block, (c + 1) * kGrain);
}

bool ZorBlockPool::StartOver() {
  if (m_InUse != 0) return false;
  // Every block carved so far has been given back, and so reads as freed
  // memory to the address checker already, as does the uncarved rest.
  for (FreeBlock*& head : m_Free) head = nullptr;
  m_NextSlab = 0;
  m_Carve = nullptr;
  m_CarveLeft = 0;
  return true;
}

ZorBlockPool& ZorBlockPool::Shared() {
  // Never destroyed: objects deleted by static destructors at exit still
  // give their blocks back to it.
  static ZorBlockPool* pool = new ZorBlockPool;
  return *pool;
}
