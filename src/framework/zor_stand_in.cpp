#include "framework/zor_stand_in.h"

#include <map>
#include <numeric>

#include "framework/qno_log.h"

namespace {
// Every site reached so far by its name; sites live as long as the program.
std::map<std::string, ZorStandInSite*>& Sites() {
  static std::map<std::string, ZorStandInSite*> sites;
  return sites;
}
}  // namespace

ZorStandInSite::ZorStandInSite(const char* where, const char* what) : m_where(where), m_what(what) {
  Sites()[std::string(where) + "::" + what] = this;
}

void ZorStandInSite::Reach() {
  if (m_count++ == 0) QNO_LOG("Not built yet: %s::%s has nothing to answer it", m_where, m_what);
}

int ZorStandInCount(const std::string& name) {
  const auto& sites = Sites();
  auto it = sites.find(name);
  return it == sites.end() ? 0 : it->second->m_count;
}

std::map<std::string, int> ZorStandInsReached() {
  std::map<std::string, int> out;
  for (const auto& [name, site] : Sites())
    if (site->m_count > 0) out[name] = site->m_count;
  return out;
}

int ZorStandInTotal() {
  const std::map<std::string, int> reached = ZorStandInsReached();
  return std::accumulate(reached.begin(), reached.end(), 0, [](int sum, const auto& entry) { return sum + entry.second; });
}
