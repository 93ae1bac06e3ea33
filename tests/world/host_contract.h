#pragma once
// What the host contract tests share: a typed test over the subjects of a
// host interface (a scripted host, or the running game's own) and whether a
// call reached the logged stand-in of an operation, so that an operation the
// game's host leaves to its default shows as such on the game's side.
#include <gtest/gtest.h>

#include <string>

#include "framework/zor_stand_in.h"

namespace zortest {

// Runs f and tells whether it reached the stand-in "<where>::<op>".
template <class F>
bool ReachesStandIn(const std::string& where, const char* op, F f) {
  const std::string name = where + "::" + op;
  const int before = ZorStandInCount(name);
  f();
  return ZorStandInCount(name) != before;
}

// The subject's host of interface Host, whose stand-ins log as `where`.
template <class Subject, class Host, const char* where>
struct HostContract : ::testing::Test {
  Subject subject;
  Host& host = subject.Host();
  // Runs f and tells whether it reached a stand-in of the named operation.
  template <class F>
  bool StandIn(const char* op, F f) {
    return ReachesStandIn(where, op, f);
  }
};

}  // namespace zortest
