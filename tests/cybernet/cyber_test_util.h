#pragma once
// Helpers shared by the network tests: a net with the four templates read
// from a text, and the period the data exchange runs.
#include <cstdio>
#include <memory>
#include <string>

#include "cybernet/cyber_net.h"
#include "support/test_support.h"

namespace cybertest {

inline int ReadInto(CCyberNet& net, const std::string& text, const char* path = "net.def") {
  zortest::WriteFile(path, text);
  FILE* f = std::fopen(path, "r");
  const int result = net.Read(f);
  if (f) std::fclose(f);
  return result;
}

inline std::unique_ptr<CCyberNet> NetFrom(const std::string& text) {
  auto net = std::make_unique<CCyberNet>();
  net->InsertStandardTemplates();
  ReadInto(*net, text);
  return net;
}

inline std::string WriteToText(const CCyberNet& net, bool shortForm = false) {
  FILE* f = std::fopen("written.def", "w");
  if (shortForm)
    net.ShortWrite(f);
  else
    net.Write(f);
  std::fclose(f);
  return zortest::ReadFile("written.def");
}

// Settles the net as one period does; returns the rounds run.
inline int Settle(CCyberNet& net, int maxRounds = 100) {
  int rounds = 0;
  while (rounds < maxRounds) {
    ++rounds;
    const double s = net.UpdateInput();
    net.CalculateValues();
    if (s < 0.0001) break;
  }
  return rounds;
}

inline int Period(CCyberNet& net) {
  const int rounds = Settle(net);
  net.NextTimeStep();
  return rounds;
}

}  // namespace cybertest
