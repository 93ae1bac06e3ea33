#pragma once
// For the programs that run the demand simulation outside the game (fuzz
// targets, benchmarks): the files the simulation writes where it runs, its
// network definition "WTEMP.DEF" and its log "sim.err", go into the
// program's own temporary directory rather than wherever the program was
// started. The directory is made at the first use and removed at exit.
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace simtest {

// The directory, or null when none could be made.
inline const char* SimWorkDir() {
  // A plain array: it must outlive the exit handler that removes it.
  static char dir[] = "/tmp/zor_sim_XXXXXX";
  static const bool made = [] {
    if (!mkdtemp(dir)) {
      std::fprintf(stderr, "no temporary directory for the simulation's files; they go where the program runs\n");
      return false;
    }
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(dir, ec);
    });
    return true;
  }();
  return made ? dir : nullptr;
}

// Runs f() in that directory and returns to the one it was called in. The
// simulation's Create writes "WTEMP.DEF" and opens "sim.err" there; the log
// stays open there afterwards.
template <class F>
auto InSimWorkDir(F&& f) {
  std::error_code ec;
  const std::filesystem::path home = std::filesystem::current_path(ec);
  const char* dir = SimWorkDir();
  const bool moved = dir && !ec && (std::filesystem::current_path(dir, ec), !ec);
  struct Back {
    bool moved;
    const std::filesystem::path& home;
    ~Back() {
      std::error_code e;
      if (moved) std::filesystem::current_path(home, e);
    }
  } back{moved, home};
  return f();
}

}  // namespace simtest
