#pragma once
// The clock the benchmarks read: the thread's own CPU time, which other
// processes on the same pinned core do not stretch.
#include <ctime>

inline double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}
