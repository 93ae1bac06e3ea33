#pragma once
// A plain reference for the network's way search: Dijkstra over a copy of
// the graph (every street's directions with their lengths), and a replay
// that walks a list of sim street ids from a junction and adds up their
// lengths. Used by the way tests and the way benchmark.
#include <climits>
#include <map>
#include <queue>
#include <set>
#include <utility>
#include <vector>

#include "framework/zor_list.h"
#include "network/str_junction.h"
#include "network/str_junction_list.h"
#include "network/str_strasse.h"

namespace waytest {

struct Arc {
  CStrJunction* to;
  short id;
  int length;
};

// Every junction's ways out, built once from the network as it stands.
class Graph {
 public:
  explicit Graph(CStrJunctionList& net, const CStrStrasse* without = nullptr) {
    std::set<CStrStrasse*> seen;
    for (CZorvaObject* o = net.GetHead(); o; o = o->GetNext()) {
      auto* j = static_cast<CStrJunction*>(o);
      m_arcs[j];
      for (int i = 0; i < j->GetAnzLinkedStreets(); ++i) {
        CStrStrasse* s = j->GetStreetByNR(i);
        if (s == without || !seen.insert(s).second) continue;
        CStrJunction* a = s->GetStartJunction();
        CStrJunction* b = s->GetEndJunction();
        if (!a || !b || a == b) continue;
        if (s->GetSimID() != 0) m_arcs[a].push_back({b, s->GetSimID(), s->GetLaenge()});
        if (s->GetSimIDSecond() != 0) m_arcs[b].push_back({a, s->GetSimIDSecond(), s->GetLaenge()});
      }
    }
  }
  // The cost of the cheapest way, -1 when there is none.
  int Cost(CStrJunction* from, CStrJunction* to) const {
    std::map<CStrJunction*, int> best;
    using Entry = std::pair<int, CStrJunction*>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    best[from] = 0;
    open.push({0, from});
    while (!open.empty()) {
      const auto [cost, j] = open.top();
      open.pop();
      if (cost != best[j]) continue;
      if (j == to) return cost;
      auto it = m_arcs.find(j);
      if (it == m_arcs.end()) continue;
      for (const Arc& a : it->second) {
        const int c = cost + a.length;
        auto b = best.find(a.to);
        if (b != best.end() && b->second <= c) continue;
        best[a.to] = c;
        open.push({c, a.to});
      }
    }
    return -1;
  }
  // Walks the ids from `from`; the cost, or -1 when an id does not lead on
  // from where the walk stands or the walk does not end at `to`.
  int Replay(CStrJunction* from, CStrJunction* to, const short* ids, int count) const {
    CStrJunction* at = from;
    int cost = 0;
    for (int k = 0; k < count; ++k) {
      auto it = m_arcs.find(at);
      if (it == m_arcs.end()) return -1;
      const Arc* step = nullptr;
      for (const Arc& a : it->second)
        if (a.id == ids[k]) step = &a;
      if (!step) return -1;
      cost += step->length;
      at = step->to;
    }
    return at == to ? cost : -1;
  }

 private:
  std::map<CStrJunction*, std::vector<Arc>> m_arcs;
};

}  // namespace waytest
