#pragma once
// Shared fixtures of the unit tests: every test runs in its own empty
// working directory, on a hand-driven clock and a fixed random seed.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "framework/zor_seams.h"

namespace zortest {

// Thrown by the test fatal handler in place of ending the process.
struct FatalExit : std::runtime_error {
  explicit FatalExit(int c) : std::runtime_error("fatal exit"), code(c) {}
  int code;
};

// The hand-driven clock installed for every test.
ZorManualClock& Clock();

// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& contents);

// The source tree, for tests that need checked-in data.
std::string SourceDir();
// The build tree, for tests that need generated data.
std::string BinaryDir();

// Writes a settings file in the working directory that points the game at
// the generated archives, with the given extra lines after it.
void WriteGameSettings(const std::string& extraLines = "");

}  // namespace zortest
