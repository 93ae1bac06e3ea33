#pragma once
// What the random edit storms share: settings from the environment,
// findings set aside while a known fault is open, the kind of a finding,
// and the shortening of a failing run's steps.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace stormkit {

inline int EnvInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::atoi(v) : fallback;
}

// Findings that contain the text of ZOR_STORM_OPEN, or when it is unset
// `fallback`, are set aside: a known fault not mended yet, so that the storm
// goes on to the next one. The storms check everything by default.
inline std::vector<std::string> WithoutOpen(std::vector<std::string> faults, const char* fallback = "") {
  const char* env = std::getenv("ZOR_STORM_OPEN");
  const std::string open = env ? env : fallback;
  if (open.empty()) return faults;
  faults.erase(std::remove_if(faults.begin(), faults.end(),
                              [&open](const std::string& f) { return f.find(open) != std::string::npos; }),
               faults.end());
  return faults;
}

// The kind of a finding: its text without numbers.
inline std::string Kind(const std::string& s) {
  std::string out;
  for (char c : s)
    if (!(c >= '0' && c <= '9') && c != '/' && c != '-') out += c;
  return out;
}

// A shorter sequence for which `shows` still holds: chunks of steps left
// out while it does, halving the chunk when none can go.
template <class Step, class Shows>
std::vector<Step> MinimizeBy(std::vector<Step> ops, const Shows& shows) {
  size_t chunk = ops.size() / 2;
  while (chunk >= 1) {
    bool removed = false;
    for (size_t start = 0; start + chunk <= ops.size();) {
      std::vector<Step> shorter(ops.begin(), ops.begin() + static_cast<long>(start));
      shorter.insert(shorter.end(), ops.begin() + static_cast<long>(start + chunk), ops.end());
      if (!shorter.empty() && shows(shorter)) {
        ops = shorter;
        removed = true;
      } else {
        start += chunk;
      }
    }
    if (!removed) chunk /= 2;
  }
  return ops;
}

}  // namespace stormkit
