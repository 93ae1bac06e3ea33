#pragma once
// Counts every allocation of the program: the global operator new replaced
// once, for benchmarks that report allocations per event. Include it in one
// source file of the program only.
#include <atomic>
#include <cstdlib>
#include <new>

inline std::atomic<long> g_allocations{0};

// The replaced operators pair malloc with free; GCC cannot see that through
// the replacement and warns about every delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
