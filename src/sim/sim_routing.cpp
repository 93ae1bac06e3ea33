#include "sim/sim_routing.h"

#include <algorithm>

#include "framework/zor_seams.h"
#include "sim/sim_binary_tree.h"
#include "sim/sim_network.h"

namespace {
constexpr int64_t kInf = INT64_MAX / 4;
}  // namespace

void CSimRoutingMatrix::RadixHeap::Clear() {
  for (auto& b : m_buckets) b.clear();
  m_last = 0;
  m_size = 0;
}

int CSimRoutingMatrix::RadixHeap::Bucket(uint64_t key) const {
  return key == m_last ? 0 : 64 - __builtin_clzll(key ^ m_last);
}

void CSimRoutingMatrix::RadixHeap::Push(uint64_t key, int node) {
  m_buckets[Bucket(key)].push_back({key, node});
  ++m_size;
}

void CSimRoutingMatrix::RadixHeap::Pop(uint64_t& key, int& node) {
  if (m_buckets[0].empty()) {
    int i = 1;
    while (m_buckets[i].empty()) ++i;
    uint64_t least = m_buckets[i][0].key;
    for (const Item& it : m_buckets[i]) least = std::min(least, it.key);
    m_last = least;
    for (const Item& it : m_buckets[i]) m_buckets[Bucket(it.key)].push_back(it);
    m_buckets[i].clear();
  }
  const Item it = m_buckets[0].back();
  m_buckets[0].pop_back();
  --m_size;
  key = it.key;
  node = it.node;
}


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
  m_fromLandmark.clear();
  m_toLandmark.clear();
  m_landmarks = 0;
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
  // A street that got faster than when the landmarks were measured (it
  // cannot in a computing hour) would make the bounds overestimate and the
  // searches return worse routes, so the landmarks are measured again.
  m_boundValid = m_boundValid && slower;
}

bool CSimRoutingMatrix::Slice(int destinations, unsigned milliseconds) {
  if (!m_full) {
    // No rows to compute; keep the delay tables as fresh as a full pass
    // would, and measure the landmarks: 2 x kLandmarks searches, fewer
    // than the rows of one slice.
    for (CSimCrossing* c : m_crossings) c->UpdateDelays();
    if (!m_boundValid) ComputeLandmarks();
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
  return false;
}

void CSimRoutingMatrix::Search(int source, bool backward) {
  const std::vector<int>& start = backward ? m_inStart : m_outStart;
  const std::vector<int>& edges = backward ? m_in : m_out;
  const std::vector<int>& other = backward ? m_from : m_to;
  ++m_stamp;
  m_heap.Clear();
  m_dist[source] = 0;
  m_seen[source] = m_stamp;
  m_heap.Push(0, source);
  while (!m_heap.Empty()) {
    uint64_t key;
    int u;
    m_heap.Pop(key, u);
    const int64_t d = static_cast<int64_t>(key);
    if (d != m_dist[u]) continue;
    for (int k = start[u]; k < start[u + 1]; ++k) {
      const int e = edges[k];
      const int v = other[e];
      const int64_t nd = d + m_weight[e] + kCrossingPenalty;
      if (m_seen[v] != m_stamp) {
        m_seen[v] = m_stamp;
        m_dist[v] = kInf;
      }
      if (nd < m_dist[v]) {
        m_dist[v] = nd;
        m_heap.Push(nd, v);
      }
    }
  }
}

// Landmarks spread by farthest-point selection: each next one is the
// crossing farthest from all chosen so far, unreachable ones first.
void CSimRoutingMatrix::ComputeLandmarks() {
  m_landmarks = std::min(kLandmarks, m_n);
  const int k = m_landmarks;
  m_fromLandmark.assign(static_cast<size_t>(m_n) * k, kInf);
  m_toLandmark.assign(static_cast<size_t>(m_n) * k, kInf);
  std::vector<int64_t> nearest(m_n, kInf);
  std::vector<char> chosen(m_n, 0);
  int landmark = 0;
  for (int l = 0; l < k; ++l) {
    chosen[landmark] = 1;
    Search(landmark, false);
    for (int v = 0; v < m_n; ++v) {
      const int64_t d = m_seen[v] == m_stamp ? m_dist[v] : kInf;
      m_fromLandmark[static_cast<size_t>(v) * k + l] = d;
      nearest[v] = std::min(nearest[v], d);
    }
    Search(landmark, true);
    for (int v = 0; v < m_n; ++v)
      m_toLandmark[static_cast<size_t>(v) * k + l] = m_seen[v] == m_stamp ? m_dist[v] : kInf;
    int next = -1;
    for (int v = 0; v < m_n; ++v)
      if (!chosen[v] && (next < 0 || nearest[v] > nearest[next])) next = v;
    if (next < 0) break;
    landmark = next;
  }
  m_baseWeight = m_weight;
  m_boundValid = true;
}

// A lower bound on the cost (with penalties) from v to `to`, or kInf when
// v cannot reach it at all.
int64_t CSimRoutingMatrix::Bound(int v, int to) {
  if (v == to || !m_boundValid) return 0;
  const int k = m_landmarks;
  const int64_t* vFrom = &m_fromLandmark[static_cast<size_t>(v) * k];
  const int64_t* vTo = &m_toLandmark[static_cast<size_t>(v) * k];
  const int64_t* tFrom = &m_fromLandmark[static_cast<size_t>(to) * k];
  const int64_t* tTo = &m_toLandmark[static_cast<size_t>(to) * k];
  int64_t h = 0;
  for (int l = 0; l < k; ++l) {
    // d(L, t) <= d(L, v) + d(v, t)
    if (vFrom[l] < kInf) {
      if (tFrom[l] >= kInf) return kInf;
      h = std::max(h, tFrom[l] - vFrom[l]);
    }
    // d(v, L) <= d(v, t) + d(t, L)
    if (tTo[l] < kInf) {
      if (vTo[l] >= kInf) return kInf;
      h = std::max(h, vTo[l] - tTo[l]);
    }
  }
  return h;
}

// Backward search from `dest` over the in-streets: the tree edge of each
// origin is the first street of its route, and the row itself holds the
// tentative costs, so the search needs no other per-crossing state.
void CSimRoutingMatrix::ComputeRow(int dest) {
  Route* row = m_matrix + static_cast<size_t>(dest) * m_n;
  for (int v = 0; v < m_n; ++v) row[v] = Route{Route::kNoRoute, -1, -1, -1};
  row[dest].cost = 0;
  m_heap.Clear();
  m_heap.Push(0, dest);
  while (!m_heap.Empty()) {
    uint64_t key;
    int u;
    m_heap.Pop(key, u);
    // Keys are costs plus the penalty of the crossing at u, except at dest.
    const int d = static_cast<int>(key);
    if (u != dest) {
      Route& r = row[u];
      if (d - kCrossingPenalty != r.cost) continue;
      const int e = r.firstStreet;
      const int next = m_to[e];
      r.lastStreet = next == dest ? e : row[next].lastStreet;
      r.length = m_length[e] + (next == dest ? 0 : row[next].length);
    }
    for (int k = m_inStart[u]; k < m_inStart[u + 1]; ++k) {
      const int e = m_in[k];
      const int v = m_from[e];
      const int64_t c = static_cast<int64_t>(d) + m_weight[e];
      // Routes of kNoRoute seconds or more do not exist.
      if (c >= Route::kNoRoute || c >= row[v].cost) continue;
      row[v].cost = static_cast<int>(c);
      row[v].firstStreet = e;
      m_heap.Push(c + kCrossingPenalty, v);
    }
  }
}

bool CSimRoutingMatrix::FindPath(int from, int to, std::vector<int>& streets) {
  if (from < 0 || to < 0 || from >= m_n || to >= m_n || from == to) return false;
  m_bound.resize(m_n);
  ++m_stamp;
  auto visit = [&](int v) {
    if (m_seen[v] != m_stamp) {
      m_seen[v] = m_stamp;
      m_dist[v] = kInf;
      m_bound[v] = Bound(v, to);
    }
  };
  visit(from);
  if (m_bound[from] >= kInf) return false;
  m_heap.Clear();
  m_dist[from] = 0;
  m_parent[from] = -1;
  m_heap.Push(m_bound[from], from);
  bool found = false;
  while (!m_heap.Empty()) {
    uint64_t key;
    int u;
    m_heap.Pop(key, u);
    const int64_t f = static_cast<int64_t>(key);
    if (f != m_dist[u] + m_bound[u]) continue;
    if (u == to) {
      found = true;
      break;
    }
    for (int k = m_outStart[u]; k < m_outStart[u + 1]; ++k) {
      const int e = m_out[k];
      const int v = m_to[e];
      visit(v);
      if (m_bound[v] >= kInf) continue;
      const int64_t nd = m_dist[u] + m_weight[e] + kCrossingPenalty;
      // Routes of kNoRoute seconds or more do not exist.
      if (nd + m_bound[v] - kCrossingPenalty >= Route::kNoRoute) continue;
      if (nd < m_dist[v]) {
        m_dist[v] = nd;
        m_parent[v] = e;
        m_heap.Push(nd + m_bound[v], v);
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
