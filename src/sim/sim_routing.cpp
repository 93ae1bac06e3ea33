#include "sim/sim_routing.h"

#include <algorithm>
#include <functional>

#include "framework/zor_seams.h"
#include "sim/sim_binary_tree.h"
#include "sim/sim_network.h"

namespace {
constexpr int64_t kInf = INT64_MAX / 4;
using HeapItem = std::pair<int64_t, int>;
constexpr auto kHeapOrder = std::greater<HeapItem>();
}  // namespace

void CSimRoutingMatrix::Clear() {
  delete[] m_matrix;
  m_matrix = nullptr;
  m_n = 0;
  m_crossings.clear();
  m_streets.clear();
  m_outStart.clear();
  m_out.clear();
  m_inStart.clear();
  m_in.clear();
  m_from.clear();
  m_to.clear();
  m_weight.clear();
  m_baseWeight.clear();
  m_length.clear();
  m_cursor = 0;
  m_full = false;
  m_current = false;
  m_boundValid = false;
}

void CSimRoutingMatrix::Init(const CBinaryTree* crossings, const CBinaryTree* streets) {
  Clear();
  for (CBinaryTreeNode* n = crossings ? crossings->FindNodeWithSmalestKey() : nullptr; n; n = n->pNext()) {
    auto* c = static_cast<CSimCrossing*>(n);
    c->SetMatrixIndex(-1);
    if (!c->IsCreated() || c->Key() <= 0) continue;
    c->SetMatrixIndex(static_cast<int>(m_crossings.size()));
    m_crossings.push_back(c);
  }
  m_n = static_cast<int>(m_crossings.size());
  for (CBinaryTreeNode* n = streets ? streets->FindNodeWithSmalestKey() : nullptr; n; n = n->pNext()) {
    auto* s = static_cast<CSimStreet*>(n);
    if (!s->IsCreated() || s->Key() <= 0) continue;
    const int a = s->pStartCrossing()->MatrixIndex();
    const int b = s->pEndCrossing()->MatrixIndex();
    if (a < 0 || b < 0) continue;
    m_streets.push_back(s);
    m_from.push_back(a);
    m_to.push_back(b);
  }
  const int e = static_cast<int>(m_streets.size());
  m_weight.assign(e, 0);
  m_baseWeight.assign(e, 0);
  m_length.assign(e, 0);
  // Counting sort keeps each crossing's streets in id order, so that of two
  // equally fast parallel streets the lower id is found first.
  m_outStart.assign(m_n + 1, 0);
  m_inStart.assign(m_n + 1, 0);
  for (int i = 0; i < e; ++i) {
    ++m_outStart[m_from[i] + 1];
    ++m_inStart[m_to[i] + 1];
  }
  for (int i = 0; i < m_n; ++i) {
    m_outStart[i + 1] += m_outStart[i];
    m_inStart[i + 1] += m_inStart[i];
  }
  m_out.assign(e, 0);
  m_in.assign(e, 0);
  std::vector<int> fo(m_outStart.begin(), m_outStart.end() - 1), fi(m_inStart.begin(), m_inStart.end() - 1);
  for (int i = 0; i < e; ++i) {
    m_out[fo[m_from[i]]++] = i;
    m_in[fi[m_to[i]]++] = i;
  }
  const size_t cells = static_cast<size_t>(m_n) * m_n + 1;
  m_matrix = new Route[cells];
  std::fill(m_matrix, m_matrix + cells, Route{Route::kNoRoute, -1, -1, -1});
  for (int i = 0; i < m_n; ++i) m_matrix[static_cast<size_t>(i) * m_n + i].cost = 0;
  m_dist.assign(m_n, kInf);
  m_parent.assign(m_n, -1);
  m_seen.assign(m_n, 0);
  m_stamp = 0;
  m_cursor = m_n;
}

void CSimRoutingMatrix::StartPass(bool full) {
  const int e = static_cast<int>(m_streets.size());
  bool slower = true;
  for (int i = 0; i < e; ++i) {
    m_weight[i] = m_streets[i]->TravelTime();
    m_length[i] = m_streets[i]->StreetLength();
    if (m_weight[i] < m_baseWeight[i]) slower = false;
  }
  m_full = full;
  m_current = false;
  m_cursor = 0;
  if (full) {
    // The rows about to be computed become the lower bounds of later searches.
    m_baseWeight = m_weight;
    m_boundValid = false;
  } else {
    // A street that got faster (it cannot in a computing hour, but a bound
    // that overestimates would silently give worse routes) ends the bound.
    m_boundValid = m_boundValid && slower;
  }
}

bool CSimRoutingMatrix::Slice(int destinations, unsigned milliseconds) {
  if (!m_full) {
    // No rows to compute; keep the delay tables as fresh as a full pass would.
    for (CSimCrossing* c : m_crossings) c->UpdateDelays();
    m_cursor = m_n;
    return false;
  }
  const int end = std::min(m_n, m_cursor + std::max(destinations, 0));
  const uint32_t start = kfx_GetTicks();
  while (m_cursor < end && kfx_GetTicks() - start < milliseconds) {
    m_crossings[m_cursor]->UpdateDelays();
    ComputeRow(m_cursor);
    ++m_cursor;
  }
  if (m_cursor < m_n) return true;
  m_current = true;
  m_boundValid = true;
  return false;
}

// Backward search from `dest` over the in-streets: the tree edge of each
// origin is the first street of its route, and the matrix row of `dest`
// is written front to back.
void CSimRoutingMatrix::ComputeRow(int dest) {
  Route* row = m_matrix + static_cast<size_t>(dest) * m_n;
  for (int v = 0; v < m_n; ++v) row[v] = Route{Route::kNoRoute, -1, -1, -1};
  row[dest].cost = 0;
  ++m_stamp;
  m_heap.clear();
  m_dist[dest] = 0;
  m_seen[dest] = m_stamp;
  m_heap.emplace_back(0, dest);
  while (!m_heap.empty()) {
    std::pop_heap(m_heap.begin(), m_heap.end(), kHeapOrder);
    auto [d, u] = m_heap.back();
    m_heap.pop_back();
    if (d != m_dist[u]) continue;
    if (u != dest) {
      const int e = m_parent[u];
      const int next = m_to[e];
      Route& r = row[u];
      r.cost = static_cast<int>(d - kCrossingPenalty);
      r.firstStreet = e;
      r.lastStreet = next == dest ? e : row[next].lastStreet;
      r.length = m_length[e] + (next == dest ? 0 : row[next].length);
    }
    for (int k = m_inStart[u]; k < m_inStart[u + 1]; ++k) {
      const int e = m_in[k];
      const int v = m_from[e];
      const int64_t nd = d + m_weight[e] + kCrossingPenalty;
      // Routes of kNoRoute seconds or more do not exist.
      if (nd - kCrossingPenalty >= Route::kNoRoute) continue;
      if (m_seen[v] != m_stamp) {
        m_seen[v] = m_stamp;
        m_dist[v] = kInf;
      }
      if (nd < m_dist[v]) {
        m_dist[v] = nd;
        m_parent[v] = e;
        m_heap.emplace_back(nd, v);
        std::push_heap(m_heap.begin(), m_heap.end(), kHeapOrder);
      }
    }
  }
}

bool CSimRoutingMatrix::FindPath(int from, int to, std::vector<int>& streets) {
  if (from < 0 || to < 0 || from >= m_n || to >= m_n || from == to) return false;
  const Route* row = m_matrix + static_cast<size_t>(to) * m_n;
  // The heuristic: the cost at the start of the hour plus the penalty that
  // a route's own first crossing does not pay.
  auto bound = [&](int v) -> int64_t {
    if (!m_boundValid || v == to) return 0;
    return static_cast<int64_t>(row[v].cost) + kCrossingPenalty;
  };
  if (m_boundValid && row[from].cost >= Route::kNoRoute) return false;
  ++m_stamp;
  m_heap.clear();
  m_dist[from] = 0;
  m_seen[from] = m_stamp;
  m_parent[from] = -1;
  m_heap.emplace_back(bound(from), from);
  bool found = false;
  while (!m_heap.empty()) {
    std::pop_heap(m_heap.begin(), m_heap.end(), kHeapOrder);
    auto [f, u] = m_heap.back();
    m_heap.pop_back();
    if (f != m_dist[u] + bound(u)) continue;
    if (u == to) {
      found = true;
      break;
    }
    for (int k = m_outStart[u]; k < m_outStart[u + 1]; ++k) {
      const int e = m_out[k];
      const int v = m_to[e];
      if (m_boundValid && v != to && row[v].cost >= Route::kNoRoute) continue;
      const int64_t nd = m_dist[u] + m_weight[e] + kCrossingPenalty;
      if (nd + bound(v) - kCrossingPenalty >= Route::kNoRoute) continue;
      if (m_seen[v] != m_stamp) {
        m_seen[v] = m_stamp;
        m_dist[v] = kInf;
      }
      if (nd < m_dist[v]) {
        m_dist[v] = nd;
        m_parent[v] = e;
        m_heap.emplace_back(nd + bound(v), v);
        std::push_heap(m_heap.begin(), m_heap.end(), kHeapOrder);
      }
    }
  }
  if (!found) return false;
  const size_t first = streets.size();
  for (int v = to; v != from; v = m_from[m_parent[v]]) streets.push_back(m_parent[v]);
  std::reverse(streets.begin() + static_cast<long>(first), streets.end());
  return true;
}

bool CSimRoutingMatrix::MatrixPath(int from, int to, std::vector<int>& streets) const {
  if (from < 0 || to < 0 || from >= m_n || to >= m_n || from == to) return false;
  const Route* row = m_matrix + static_cast<size_t>(to) * m_n;
  if (row[from].cost >= Route::kNoRoute) return false;
  for (int v = from; v != to;) {
    const int e = row[v].firstStreet;
    if (e < 0) return false;
    streets.push_back(e);
    v = m_to[e];
  }
  return true;
}

const Route* CSimRoutingMatrix::Entry(int from, int to) const {
  if (!m_matrix || from < 0 || to < 0 || from >= m_n || to >= m_n) return nullptr;
  return m_matrix + static_cast<size_t>(to) * m_n + from;
}

CSimCrossing* CSimRoutingMatrix::Crossing(int index) const {
  return index >= 0 && index < m_n ? m_crossings[index] : nullptr;
}

CSimStreet* CSimRoutingMatrix::Street(int index) const {
  return index >= 0 && index < static_cast<int>(m_streets.size()) ? m_streets[index] : nullptr;
}
