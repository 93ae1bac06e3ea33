#pragma once
// The least time each benchmark of a program runs. The library's own is
// half a second; a program whose figures need longer gives its own, which
// --benchmark_min_time on the command line still overrides (the test
// suite's check of the program's results gives the least time there is).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

// Starts the library with the arguments (the program's name first) and
// `option` (--benchmark_min_time=<seconds>) unless they give a minimum time.
inline void InitializeWithMinTime(std::vector<char*> args, char* option) {
  bool given = false;
  for (const char* arg : args) given = given || (arg && std::strncmp(arg, "--benchmark_min_time=", 21) == 0);
  if (!given) args.insert(args.begin() + (args.empty() ? 0 : 1), option);
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
}
