#include "sim/sim_row_sweep.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "framework/zor_seams.h"

namespace {
using Lanes = CSimRowSweep::Lanes;
void TakeMin(Lanes& a, const Lanes& b) { a = a < b ? a : b; }
}  // namespace

std::shared_ptr<const CSimRowSweep::Order> CSimRowSweep::g_lastBuilt;

bool CSimRowSweep::Order::Joins(int nodes, const int* arcFrom, const int* arcTo, int arcs) const {
  return nodes == n && from.size() == static_cast<size_t>(arcs) && std::equal(arcFrom, arcFrom + arcs, from.begin()) &&
         std::equal(arcTo, arcTo + arcs, to.begin());
}

void CSimRowSweep::SetGraph(int n, const int* from, const int* to, int arcs) {
  if (m_order && m_order->Joins(n, from, to, arcs)) return;
  // Another slot may have built it already (even while this one was still
  // at it): a load sets the slots up again on the same network, and each
  // slot computes every few hours.
  if (g_lastBuilt && g_lastBuilt->Joins(n, from, to, arcs)) {
    m_order = g_lastBuilt;
    m_n = n;
    m_ready = true;
    DropBuild();
    return;
  }
  if (m_building && m_building->Joins(n, from, to, arcs)) return;
  m_n = n;
  m_ready = false;
  m_order.reset();
  m_building = std::make_shared<Order>();
  Order& o = *m_building;
  o.n = n;
  o.from.assign(from, from + arcs);
  o.to.assign(to, to + arcs);
  const size_t sn = static_cast<size_t>(n);
  m_adj.assign(sn, {});
  for (int i = 0; i < arcs; ++i) {
    if (from[i] == to[i]) continue;
    m_adj[static_cast<size_t>(from[i])].push_back(to[i]);
    m_adj[static_cast<size_t>(to[i])].push_back(from[i]);
  }
  for (std::vector<int>& a : m_adj) {
    std::sort(a.begin(), a.end());
    a.erase(std::unique(a.begin(), a.end()), a.end());
  }
  m_heap.clear();
  for (int v = 0; v < n; ++v) m_heap.push_back({static_cast<int>(m_adj[static_cast<size_t>(v)].size()), v});
  std::make_heap(m_heap.begin(), m_heap.end(), std::greater<>());
  o.rank.assign(sn, -1);
  o.nodeOf.assign(sn, -1);
  m_upperNodes.assign(sn, {});
  m_mark.assign(sn, -1);
  m_eliminated = 0;
}

bool CSimRowSweep::Build(unsigned milliseconds) {
  if (m_ready) return true;
  const uint32_t start = kfx_GetTicks();
  const bool eliminating = !m_heap.empty();
  Order& o = *m_building;
  // Least degree first; of equal degrees the lower node. Entries whose
  // degree is no longer the node's are skipped.
  while (!m_heap.empty()) {
    std::pop_heap(m_heap.begin(), m_heap.end(), std::greater<>());
    const auto [degree, v] = m_heap.back();
    m_heap.pop_back();
    const size_t sv = static_cast<size_t>(v);
    if (o.rank[sv] >= 0 || degree != static_cast<int>(m_adj[sv].size())) continue;
    o.rank[sv] = m_eliminated;
    o.nodeOf[static_cast<size_t>(m_eliminated)] = v;
    ++m_eliminated;
    std::vector<int>& nb = m_adj[sv];
    // The neighbours become a clique and lose v.
    for (int a : nb) {
      std::vector<int>& la = m_adj[static_cast<size_t>(a)];
      for (int x : la) m_mark[static_cast<size_t>(x)] = a;
      la.erase(std::find(la.begin(), la.end(), v));
      for (int x : nb)
        if (x != a && m_mark[static_cast<size_t>(x)] != a) la.push_back(x);
      m_heap.push_back({static_cast<int>(la.size()), a});
      std::push_heap(m_heap.begin(), m_heap.end(), std::greater<>());
    }
    m_upperNodes[sv].swap(nb);
    if ((m_eliminated & 3) == 0 && kfx_GetTicks() - start >= milliseconds) return false;
  }
  // The rest of the structure in this call only while half the time is
  // left, otherwise in the next.
  if (eliminating && kfx_GetTicks() - start >= milliseconds / 2) return false;
  Finish();
  return true;
}

void CSimRowSweep::Finish() {
  Order& o = *m_building;
  const size_t sn = static_cast<size_t>(m_n);
  const int arcs = static_cast<int>(o.from.size());
  const int* from = o.from.data();
  const int* to = o.to.data();
  // Upper edges by rank, far ends as ranks in rising order.
  o.upperStart.assign(sn + 1, 0);
  o.upper.clear();
  for (size_t r = 0; r < sn; ++r) {
    const size_t v = static_cast<size_t>(o.nodeOf[r]);
    const size_t first = o.upper.size();
    for (int a : m_upperNodes[v]) o.upper.push_back(o.rank[static_cast<size_t>(a)]);
    std::sort(o.upper.begin() + static_cast<long>(first), o.upper.end());
    o.upperStart[r + 1] = static_cast<int>(o.upper.size());
  }
  // Triangles: for the pair of upper edges to a < b of each rank, the edge
  // a-b among a's upper edges (the neighbours of a rank are a clique above
  // it, so it exists).
  std::vector<int> where(sn, -1);
  o.triangleStart.assign(sn + 1, 0);
  o.triangle.clear();
  for (size_t r = 0; r < sn; ++r) {
    const int b0 = o.upperStart[r], b1 = o.upperStart[r + 1];
    for (int i = b0; i < b1; ++i) {
      const size_t a = static_cast<size_t>(o.upper[static_cast<size_t>(i)]);
      for (int e = o.upperStart[a]; e < o.upperStart[a + 1]; ++e) where[static_cast<size_t>(o.upper[static_cast<size_t>(e)])] = e;
      for (int j = i + 1; j < b1; ++j) o.triangle.push_back(where[static_cast<size_t>(o.upper[static_cast<size_t>(j)])]);
    }
    o.triangleStart[r + 1] = static_cast<int>(o.triangle.size());
  }
  // Each arc's edge.
  o.arcEdge.assign(static_cast<size_t>(arcs), -1);
  o.arcUp.assign(static_cast<size_t>(arcs), 0);
  for (int i = 0; i < arcs; ++i) {
    if (from[i] == to[i]) continue;
    const int rf = o.rank[static_cast<size_t>(from[i])], rt = o.rank[static_cast<size_t>(to[i])];
    const int low = std::min(rf, rt), high = std::max(rf, rt);
    const auto begin = o.upper.begin() + o.upperStart[static_cast<size_t>(low)];
    const auto end = o.upper.begin() + o.upperStart[static_cast<size_t>(low) + 1];
    o.arcEdge[static_cast<size_t>(i)] = static_cast<int>(std::lower_bound(begin, end, high) - o.upper.begin());
    o.arcUp[static_cast<size_t>(i)] = rf < rt;
  }
  m_order = std::move(m_building);
  m_ready = true;
  DropBuild();
  g_lastBuilt = m_order;
}

void CSimRowSweep::DropBuild() {
  m_building.reset();
  m_adj = {};
  m_upperNodes = {};
  m_heap = {};
  m_mark = {};
}

void CSimRowSweep::SetWeights(const int* weight, int cap) {
  const Order& o = *m_order;
  m_cap = cap;
  m_up.assign(o.upper.size(), cap);
  m_down.assign(o.upper.size(), cap);
  for (size_t i = 0; i < o.arcEdge.size(); ++i) {
    const int e = o.arcEdge[i];
    if (e < 0 || weight[i] >= cap) continue;
    int& w = o.arcUp[i] ? m_up[static_cast<size_t>(e)] : m_down[static_cast<size_t>(e)];
    w = std::min(w, weight[i]);
  }
  // In rank order, the way through each rank between two of its upper
  // neighbours a < b: a -> r -> b (up from a) and b -> r -> a (down to a).
  // The edges of a rank are final when it comes: their own ways lead
  // through lower ranks only.
  int* up = m_up.data();
  int* down = m_down.data();
  const int* tri = o.triangle.data();
  for (int r = 0; r < m_n; ++r) {
    const int b0 = o.upperStart[static_cast<size_t>(r)], b1 = o.upperStart[static_cast<size_t>(r) + 1];
    const int* t = tri + o.triangleStart[static_cast<size_t>(r)];
    for (int i = b0; i < b1; ++i) {
      const int downI = down[i], upI = up[i];
      for (int j = i + 1; j < b1; ++j, ++t) {
        up[*t] = std::min(up[*t], std::min(downI + up[j], cap));
        down[*t] = std::min(down[*t], std::min(down[j] + upI, cap));
      }
    }
  }
}

void CSimRowSweep::DistancesTo(const int (&targets)[kLanes], int32_t* dist) const { SweepDistances(targets, dist); }

ZOR_SIM_VECTOR_CLONES void CSimRowSweep::SweepDistances(const int (&targets)[kLanes], int32_t* dist) const {
  const int n = m_n, cap = m_cap;
  const Lanes capLanes = Lanes{} + cap;
  for (int r = 0; r < n; ++r) Store(dist + static_cast<size_t>(r) * kLanes, capLanes);
  int lowest = n;
  for (int k = 0; k < kLanes; ++k)
    if (targets[k] >= 0) {
      const int r = m_order->rank[static_cast<size_t>(targets[k])];
      dist[static_cast<size_t>(r) * kLanes + static_cast<size_t>(k)] = 0;
      lowest = std::min(lowest, r);
    }
  const int* upper = m_order->upper.data();
  const int* start = m_order->upperStart.data();
  const int* up = m_up.data();
  const int* down = m_down.data();
  auto row = [dist](int r) { return dist + static_cast<size_t>(r) * kLanes; };
  // Upwards: a rank's distances are final once every lower rank has passed
  // them on. Ranks no way has reached yet pass on nothing.
  for (int r = lowest; r < n; ++r) {
    Lanes d;
    Load(d, row(r));
    if (!Any(d < capLanes)) continue;
    for (int e = start[r]; e < start[r + 1]; ++e) {
      Lanes far;
      Load(far, row(upper[e]));
      TakeMin(far, d + down[e]);
      Store(row(upper[e]), far);
    }
  }
  // Downwards: every upper edge ends at a rank whose distances are final.
  // A rank's distances stay at most the cap: they start there or below,
  // and only ever fall (the sums stay far below the int range).
  for (int r = n - 1; r >= 0; --r) {
    Lanes d;
    Load(d, row(r));
    for (int e = start[r]; e < start[r + 1]; ++e) {
      Lanes far;
      Load(far, row(upper[e]));
      TakeMin(d, far + up[e]);
    }
    Store(row(r), d);
  }
}
