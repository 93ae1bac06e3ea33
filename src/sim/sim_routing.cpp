#include "sim/sim_routing.h"

#include <algorithm>
#include <climits>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "framework/zor_seams.h"
#include "sim/sim_binary_tree.h"
#include "sim/sim_network.h"

namespace {
constexpr int64_t kInf = INT64_MAX / 4;
// A route through a crossing whose bound reaches this costs kNoRoute or more.
constexpr int kBoundCap = Route::kNoRoute + CSimRoutingMatrix::kCrossingPenalty;
// The distance of a crossing a route search has taken out of its queue:
// below any distance plus bound, and far enough from INT_MIN to add both.
constexpr int kClosed = INT_MIN / 2;
// Four 32-bit lanes; a row of landmark distances (kLandmarks of them) is
// three of them.
using Lanes = int32_t __attribute__((vector_size(16)));
static_assert(CSimRoutingMatrix::kLandmarks == 12, "a landmark row is three vectors of four");
Lanes LoadLanes(const int32_t* at) {
  Lanes v;
  std::memcpy(&v, at, sizeof v);
  return v;
}
Lanes Max(Lanes a, Lanes b) { return a > b ? a : b; }
// Eight 16-bit lanes; the short landmark distances of a crossing are three
// of them.
using ShortLanes = int16_t __attribute__((vector_size(16)));
static_assert(2 * CSimRoutingMatrix::kLandmarks == 24, "the short landmark distances are three vectors of eight");
ShortLanes LoadShortLanes(const int16_t* at) {
  ShortLanes v;
  std::memcpy(&v, at, sizeof v);
  return v;
}
ShortLanes MaxShort(ShortLanes a, ShortLanes b) { return a > b ? a : b; }
// What rows that no full pass has written yet answer.
constexpr Route kNoRouteEntry{Route::kNoRoute, -1, -1, -1};
constexpr Route kDiagonalEntry{0, -1, -1, -1};

// Copies a finished row into the matrix past the caches: the matrix is far
// larger than they are, so ordinary stores would first read every line of
// it from memory only to overwrite it, and would push out the data the
// pass works on. Streaming stores are ordered with other stores only by
// the fence that follows a batch of rows.
void StreamRow(Route* to, const Route* from, int n) {
#if defined(__SSE2__)
  if ((reinterpret_cast<uintptr_t>(to) & 15) == 0) {
    for (int i = 0; i < n; ++i)
      _mm_stream_si128(reinterpret_cast<__m128i*>(to + i), _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
    return;
  }
#endif
  std::memcpy(to, from, static_cast<size_t>(n) * sizeof(Route));
}
void FenceStreamedRows() {
#if defined(__SSE2__)
  _mm_sfence();
#endif
}

// Matrices given up by slots that were cleared, kept for the next slots of
// the same network size: a load tears the slots down and sets them up again
// on the same crossings, and a fresh block would cost a page fault and a
// cleared page per 4 KB. As many as a demand model has slots.
class SpareMatrices {
 public:
  ~SpareMatrices() {
    for (Block& b : m_blocks) delete[] b.data;
  }
  void Give(Route* data, size_t cells) {
    if (!data) return;
    Block& oldest = m_blocks[m_next];
    delete[] oldest.data;
    oldest = {data, cells};
    m_next = (m_next + 1) % kBlocks;
  }
  // A kept block of exactly `cells` entries, or null.
  Route* Take(size_t cells) {
    for (Block& b : m_blocks)
      if (b.data && b.cells == cells) {
        Route* data = b.data;
        b = {};
        return data;
      }
    return nullptr;
  }

 private:
  static constexpr int kBlocks = 2;
  struct Block {
    Route* data = nullptr;
    size_t cells = 0;
  };
  Block m_blocks[kBlocks];
  int m_next = 0;
};
SpareMatrices g_spareMatrices;
}  // namespace

void CSimRoutingMatrix::BucketQueue::Clear(size_t pushes) {
  if (m_head.empty()) {
    m_head.assign(kKeyLimit, -1);
    m_bits.assign((kKeyLimit + 63) / 64, 0);
  }
  // The items left lie in the buckets between the least key that can hold
  // items and the greatest key pushed.
  if (m_size > 0)
    for (size_t w = m_min >> 6; w <= m_max >> 6; ++w) {
      for (uint64_t bits = m_bits[w]; bits; bits &= bits - 1) m_head[w * 64 + static_cast<size_t>(__builtin_ctzll(bits))] = -1;
      m_bits[w] = 0;
    }
  if (m_items.size() < pushes) m_items.resize(pushes);
  m_pushed = 0;
  m_size = 0;
  m_min = kKeyLimit;
  m_max = 0;
}

void CSimRoutingMatrix::BucketQueue::Release() {
  m_head = std::vector<int>();
  m_bits = std::vector<uint64_t>();
  m_items = std::vector<Item>();
  m_pushed = 0;
  m_size = 0;
  m_min = kKeyLimit;
  m_max = 0;
}

void CSimRoutingMatrix::Clear() {
  g_spareMatrices.Give(m_matrix, m_matrix ? static_cast<size_t>(m_n) * m_n + 1 : 0);
  m_matrix = nullptr;
  m_n = 0;
  m_crossings.clear();
  m_indexOfId.clear();
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
  m_weightsRead = false;
  m_tightValid = false;
  m_cursor = 0;
  m_full = false;
  m_current = false;
  m_boundValid = false;
  m_shortSource = 0;
  m_sweepReady = false;
}

void CSimRoutingMatrix::Init(const CBinaryTree* crossings, const CBinaryTree* streets) {
  // The matrix of the previous hour is kept for the next one of the same
  // size: a fresh 16 n^2 bytes would cost a page fault per 4 KB.
  Route* kept = m_matrix;
  const size_t keptCells = m_matrix ? static_cast<size_t>(m_n) * m_n + 1 : 0;
  m_matrix = nullptr;
  Clear();
  for (CBinaryTreeNode* n = crossings ? crossings->FindNodeWithSmalestKey() : nullptr; n; n = n->pNext()) {
    auto* c = static_cast<CSimCrossing*>(n);
    c->SetMatrixIndex(-1);
    if (!c->IsCreated() || c->Key() <= 0) continue;
    c->SetMatrixIndex(static_cast<int>(m_crossings.size()));
    m_crossings.push_back(c);
  }
  m_n = static_cast<int>(m_crossings.size());
  // Trips name their crossings by short ids; no other id is ever asked.
  for (int i = 0; i < m_n; ++i) {
    const long key = m_crossings[static_cast<size_t>(i)]->Key();
    if (key > SHRT_MAX) continue;
    const size_t id = static_cast<size_t>(key);
    if (m_indexOfId.size() <= id) m_indexOfId.resize(id + 1, -1);
    m_indexOfId[id] = i;
  }
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
  m_outArc.resize(e);
  m_inArc.resize(e);
  m_outPos.assign(e, 0);
  m_inPos.assign(e, 0);
  for (int k = 0; k < e; ++k) {
    m_outArc[k] = {m_to[m_out[k]], 0, m_out[k]};
    m_inArc[k] = {m_from[m_in[k]], 0, m_in[k]};
    m_outPos[m_out[k]] = k;
    m_inPos[m_in[k]] = k;
  }
  m_weightsRead = false;
  // The rows are written by the full pass that reaches them; until then
  // Entry answers them without touching the memory, so that setting up a
  // large matrix costs no time.
  const size_t cells = static_cast<size_t>(m_n) * m_n + 1;
  if (kept && keptCells == cells) {
    m_matrix = kept;
  } else {
    g_spareMatrices.Give(kept, keptCells);
    m_matrix = g_spareMatrices.Take(cells);
    if (!m_matrix) m_matrix = new Route[cells];
  }
  m_matrix[cells - 1] = kNoRouteEntry;
  m_rowsReady = 0;
  m_path.assign(m_n, PathNode{{}, 0, 0, 0, -1});
  m_shortSource = 0;
  m_rowNext.assign(m_n, -1);
  m_rowPrev.assign(m_n, -1);
  m_pathStamp = 0;
  m_dist.assign(m_n, kInf);
  m_parent.assign(m_n, -1);
  m_seen.assign(m_n, 0);
  m_stamp = 0;
  m_cursor = m_n;
}

// A street that got faster than when the landmarks were measured (it
// cannot in a computing hour) would make the bounds overestimate and the
// searches return worse routes, so the landmarks are measured again.
void CSimRoutingMatrix::ReadWeight(int i) {
  const int w = m_streets[i]->TravelTime();
  m_weight[i] = w;
  m_outArc[m_outPos[i]].weight = w;
  m_inArc[m_inPos[i]].weight = w;
  m_maxWeight = std::max(m_maxWeight, w);
  if (w < m_baseWeight[i]) m_boundValid = false;
  if (m_tightValid && w < m_tightWeight[i]) m_tightValid = false;
}

void CSimRoutingMatrix::StartPass(bool full, const std::vector<int>* changed) {
  const int e = static_cast<int>(m_streets.size());
  if (changed && m_weightsRead) {
    for (int i : *changed)
      if (i >= 0 && i < e) ReadWeight(i);
  } else {
    m_maxWeight = 0;
    for (int i = 0; i < e; ++i) {
      ReadWeight(i);
      m_length[i] = m_streets[i]->StreetLength();
    }
    m_weightsRead = true;
  }
  if (!m_boundValid) m_tightValid = false;
  if (full) {
    // The full pass's weights: travel time and penalty, capped where no
    // route can use the street.
    m_weightPenalised.resize(static_cast<size_t>(e));
    for (int i = 0; i < e; ++i)
      m_weightPenalised[static_cast<size_t>(i)] =
          static_cast<int>(std::min<int64_t>(int64_t{m_weight[static_cast<size_t>(i)]} + kCrossingPenalty, kBoundCap));
  }
  m_sweepReady = false;
  m_full = full;
  m_current = false;
  m_cursor = 0;
}

bool CSimRoutingMatrix::Slice(int destinations, unsigned milliseconds) {
  if (!m_full) {
    // No rows to compute, only the landmarks to measure: 2 x kLandmarks
    // searches, fewer than the rows of one slice. The delay tables wait for
    // the full pass, which brings each of them up to the final flows.
    if (!m_boundValid) {
      m_shortSource = 0;
      ComputeLandmarks();
      m_tight32 = m_landmark32;
      m_tightWeight = m_weight;
      m_tightValid = m_boundsFinite;
      m_passesSinceMeasure = 0;
    } else if (++m_passesSinceMeasure >= kRemeasurePasses) {
      if (m_shortSource == 1) m_shortSource = 0;
      m_tightValid = MeasureLandmarks(m_tight32);
      m_tightWeight = m_weight;
      m_passesSinceMeasure = 0;
    }
    CopyShortLandmarks();
    m_cursor = m_n;
    return false;
  }
  const uint32_t start = kfx_GetTicks();
  if (!m_sweepReady) {
    // The elimination order stays while the streets join the same
    // crossings (it is built in slices of the same budget); the weights
    // are those of this pass.
    m_sweep.SetGraph(m_n, m_from.data(), m_to.data(), NrOfStreets());
    if (!m_sweep.Ready()) {
      if (!m_sweep.Build(milliseconds)) return true;
      // The weights over the new structure take about as long as its
      // last steps: in this slice only while half the time is left, so
      // that the hour that first meets a large network keeps to its
      // slices as the later ones do.
      if (kfx_GetTicks() - start >= milliseconds / 2) return true;
    }
    m_sweep.SetWeights(m_weightPenalised.data(), kBoundCap);
    m_sweepStart.assign(static_cast<size_t>(m_n) + 1, 0);
    m_sweepArc.clear();
    for (int r = 0; r < m_n; ++r) {
      const int u = m_sweep.NodeOf(r);
      for (int k = m_outStart[u]; k < m_outStart[u + 1]; ++k) {
        const Arc& a = m_outArc[static_cast<size_t>(k)];
        m_sweepArc.push_back({m_sweep.RankOf(a.node), m_weightPenalised[static_cast<size_t>(a.street)], a.street});
      }
      m_sweepStart[static_cast<size_t>(r) + 1] = static_cast<int>(m_sweepArc.size());
    }
    m_sweepDist.resize(static_cast<size_t>(m_n) * CSimRowSweep::kLanes);
    m_chain.resize(static_cast<size_t>(m_n));
    m_chainNext.resize(static_cast<size_t>(m_n));
    m_rowScratch.resize(static_cast<size_t>(m_n));
    m_sweepFirst.resize(static_cast<size_t>(m_n) * CSimRowSweep::kLanes);
    m_sweepReady = true;
  }
  const int end = std::min(m_n, m_cursor + std::max(destinations, 0));
  while (m_cursor < end && kfx_GetTicks() - start < milliseconds) {
    const int count = std::min(CSimRowSweep::kLanes, end - m_cursor);
    for (int k = 0; k < count; ++k) m_crossings[m_cursor + k]->UpdateDelays();
    SweepRows(m_cursor, count);
    m_cursor += count;
    m_rowsReady = std::max(m_rowsReady, m_cursor);
  }
  if (m_cursor < m_n) return true;
  m_current = true;
  m_queue.Release();
  return false;
}

// The keys of the search from a landmark have no upper limit, but none
// lies more than the longest street plus the penalty above the least
// waiting one, so its buckets form a ring that wide.
void CSimRoutingMatrix::Search(int source, bool backward) {
  constexpr int kShift = kRowBucketShift;
  const int64_t span = int64_t{m_maxWeight} + kCrossingPenalty;
  size_t size = 64;
  while (size <= static_cast<size_t>(span >> kShift) + 2) size *= 2;
  if (m_ringHead.size() != size) {
    m_ringHead.assign(size, -1);
    m_ringBits.assign(size / 64, 0);
  }
  const size_t mask = size - 1, wordMask = size / 64 - 1;
  BucketLinks q{m_ringHead.data(), m_rowNext.data(), m_rowPrev.data(), m_ringBits.data()};
  auto slotOf = [mask](int64_t key) { return static_cast<size_t>(key >> kShift) & mask; };
  const int* start = backward ? m_inStart.data() : m_outStart.data();
  const Arc* arcs = backward ? m_inArc.data() : m_outArc.data();
  int64_t* dist = m_dist.data();
  uint32_t* seen = m_seen.data();
  const uint32_t stamp = ++m_stamp;
  dist[source] = 0;
  seen[source] = stamp;
  q.Link(source, 0);
  int waiting = 1;
  size_t bucket = 0;  // the least bucket that can hold crossings
  while (waiting > 0) {
    const size_t pos = bucket & mask;
    size_t word = pos >> 6;
    uint64_t b = q.bits[word] & (~uint64_t{0} << (pos & 63));
    while (!b) b = q.bits[word = (word + 1) & wordMask];
    const size_t slot = word * 64 + static_cast<size_t>(__builtin_ctzll(b));
    bucket += (slot - pos) & mask;
    // The bucket is taken whole: its crossings are final and the
    // relaxations link none into it (the ring is wider than a step).
    for (int u = q.TakeAll(slot), next; u >= 0; u = next) {
      next = q.next[u];
      --waiting;
      const int64_t d = dist[u] + kCrossingPenalty;
      for (const Arc *a = arcs + start[u], *end = arcs + start[u + 1]; a != end; ++a) {
        const int v = a->node;
        const int64_t nd = d + a->weight;
        if (seen[v] != stamp) {
          seen[v] = stamp;
          dist[v] = nd;
          q.Link(v, slotOf(nd));
          ++waiting;
        } else if (nd < dist[v]) {
          const size_t old = slotOf(dist[v]), now = slotOf(nd);
          if (old != now) {
            q.Unlink(v, old);
            q.Link(v, now);
          }
          dist[v] = nd;
        }
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
  m_landmarkNodes.clear();
  for (int l = 0; l < k; ++l) {
    chosen[landmark] = 1;
    m_landmarkNodes.push_back(landmark);
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
  // Differences of two 32-bit distances below 2^30 cannot overflow.
  m_boundsFinite = true;
  for (size_t i = 0; i < m_fromLandmark.size() && m_boundsFinite; ++i)
    m_boundsFinite = m_fromLandmark[i] < (int64_t{1} << 30) && m_toLandmark[i] < (int64_t{1} << 30);
  m_landmark32.clear();
  if (m_boundsFinite) {
    m_landmark32.resize(static_cast<size_t>(m_n) * 2 * k);
    for (int v = 0; v < m_n; ++v)
      for (int l = 0; l < k; ++l) {
        m_landmark32[(static_cast<size_t>(v) * 2) * k + l] =
            static_cast<int32_t>(m_fromLandmark[static_cast<size_t>(v) * k + l]);
        m_landmark32[(static_cast<size_t>(v) * 2 + 1) * k + l] =
            static_cast<int32_t>(m_toLandmark[static_cast<size_t>(v) * k + l]);
      }
  }
}

bool CSimRoutingMatrix::MeasureLandmarks(std::vector<int32_t>& table) {
  const int k = static_cast<int>(m_landmarkNodes.size());
  table.assign(static_cast<size_t>(m_n) * 2 * k, 0);
  for (int l = 0; l < k; ++l)
    for (int backward = 0; backward < 2; ++backward) {
      Search(m_landmarkNodes[l], backward != 0);
      for (int v = 0; v < m_n; ++v) {
        if (m_seen[v] != m_stamp || m_dist[v] >= (int64_t{1} << 30)) return false;
        table[(static_cast<size_t>(v) * 2 + backward) * k + l] = static_cast<int32_t>(m_dist[v]);
      }
    }
  return true;
}

void CSimRoutingMatrix::CopyShortLandmarks() {
  const int wanted = WantedLandmarkTable();
  if (wanted == m_shortSource) return;
  m_shortSource = 0;
  if (wanted == 0) return;
  const std::vector<int32_t>& table = wanted == 1 ? m_tight32 : m_landmark32;
  const int k = m_landmarks;
  for (int v = 0; v < m_n; ++v) {
    const int32_t* own = &table[static_cast<size_t>(v) * 2 * k];
    int16_t* lanes = m_path[static_cast<size_t>(v)].landmark;
    std::fill(lanes, lanes + 2 * kLandmarks, 0);
    for (int l = 0; l < k; ++l) {
      if (own[l] >= kShortDistanceLimit || own[k + l] >= kShortDistanceLimit) return;
      lanes[l] = static_cast<int16_t>(own[l]);
      lanes[kLandmarks + l] = static_cast<int16_t>(-own[k + l]);
    }
  }
  m_shortSource = wanted;
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

ZOR_SIM_VECTOR_CLONES void CSimRoutingMatrix::SweepRows(int first, int count) {
  int targets[CSimRowSweep::kLanes];
  std::fill(targets, targets + CSimRowSweep::kLanes, -1);
  for (int k = 0; k < count; ++k) targets[k] = first + k;
  m_sweep.DistancesTo(targets, m_sweepDist.data());
  // The first streets of all eight rows in one walk over the out-streets:
  // in id order, the first that leads on along a shortest route (with
  // exact distances one does). Lanes at the cap have no route, the
  // destination's own lane (distance 0) no first street.
  using Lanes = CSimRowSweep::Lanes;
  const Lanes cap = Lanes{} + kBoundCap;
  const Lanes zero = {};
  const int32_t* dist = m_sweepDist.data();
  const SweepArc* arcs = m_sweepArc.data();
  const int* start = m_sweepStart.data();
  int* firstStreet = m_sweepFirst.data();
  for (int r = 0; r < m_n; ++r) {
    Lanes d;
    CSimRowSweep::Load(d, dist + static_cast<size_t>(r) * CSimRowSweep::kLanes);
    Lanes open = (d < cap) & (d > zero);
    // Each lane takes the street where it hits first, without a branch
    // per lane.
    Lanes streets = zero - 1;
    for (const SweepArc *a = arcs + start[r], *end = arcs + start[r + 1]; a != end; ++a) {
      Lanes next;
      CSimRowSweep::Load(next, dist + static_cast<size_t>(a->node) * CSimRowSweep::kLanes);
      const Lanes hit = (next + a->weight == d) & open;
      streets = hit ? zero + a->street : streets;
      open &= ~hit;
      if (!CSimRowSweep::Any(open)) break;
    }
    CSimRowSweep::Store(firstStreet + static_cast<size_t>(r) * CSimRowSweep::kLanes, streets);
  }
  for (int k = 0; k < count; ++k) WriteRow(first + k, k);
  FenceStreamedRows();
}

// Distances are costs plus the penalty of the crossing, 0 at dest, so a
// crossing's distance is that of the end of its first street plus the
// street's travel time and the penalty. Every street adds at least the
// penalty, so following first streets leads to dest without a cycle. The
// row is made in a small array that stays in the cache and then streamed
// into the matrix.
void CSimRoutingMatrix::WriteRow(int dest, int lane) {
  constexpr int kUnresolved = -2;
  const int32_t* dist = m_sweepDist.data() + lane;
  Route* row = m_rowScratch.data();
  const int* firstStreet = m_sweepFirst.data() + lane;
  // Local copies: the stores into the row could otherwise alias them.
  const int n = m_n;
  const int* nodeOf = m_sweep.Nodes();
  const int* streetTo = m_to.data();
  // The crossing each first street leads to, so that a walk along a chain
  // reads one number a step.
  int* next = m_chainNext.data();
  for (int r = 0; r < n; ++r) {
    const int u = nodeOf[r];
    const int d = dist[static_cast<size_t>(r) * CSimRowSweep::kLanes];
    const int street = firstStreet[static_cast<size_t>(r) * CSimRowSweep::kLanes];
    Route& e = row[u];
    if (street < 0) {
      e = u == dest ? kDiagonalEntry : kNoRouteEntry;
      continue;
    }
    e.cost = d - kCrossingPenalty;
    e.firstStreet = street;
    e.lastStreet = kUnresolved;
    next[u] = streetTo[street];
  }
  // Last streets and lengths: each chain of first streets is walked up to
  // a crossing already done or dest (whose diagonal entry is done too);
  // all of the chain share that one's last street, and their lengths add
  // up backwards.
  const int* streetLength = m_length.data();
  int* chain = m_chain.data();
  for (int u = 0; u < n; ++u) {
    if (row[u].lastStreet != kUnresolved) continue;
    int depth = 0, v = u;
    do {
      chain[depth++] = v;
      v = next[v];
    } while (row[v].lastStreet == kUnresolved);
    int last, length;
    if (v == dest) {
      last = row[chain[depth - 1]].firstStreet;
      length = 0;
    } else {
      last = row[v].lastStreet;
      length = row[v].length;
    }
    while (depth > 0) {
      Route& e = row[chain[--depth]];
      length += streetLength[e.firstStreet];
      e.length = length;
      e.lastStreet = last;
    }
  }
  StreamRow(m_matrix + static_cast<size_t>(dest) * m_n, row, n);
}

// A* over the out-streets. With a consistent bound the first time `to`
// comes out of the queue its distance is the least; of equal keys the
// crossing pushed last comes out first, which fixes the route among equal
// ones for a given network and set of bounds.
template <class BoundOf>
inline bool CSimRoutingMatrix::SearchPath(int from, int to, std::vector<int>& streets, BoundOf boundOf) {
  const uint32_t stamp = ++m_pathStamp;
  PathNode* node = m_path.data();
  auto visit = [&](int v) {
    PathNode& p = node[v];
    if (p.stamp == stamp) return;
    p.stamp = stamp;
    p.dist = INT_MAX;
    p.bound = boundOf(v);
  };
  visit(from);
  // Every route from here would cost kNoRoute or more.
  if (node[from].bound >= kBoundCap) return false;
  // Each street is relaxed at most once (crossings are closed when they
  // come out): no more pushes than streets, and the first.
  m_queue.Clear(m_streets.size() + 1);
  node[from].dist = 0;
  node[from].parent = -1;
  m_queue.Push(node[from].bound, from);
  const Arc* arcs = m_outArc.data();
  const int* start = m_outStart.data();
  bool found = false;
  while (!m_queue.Empty()) {
    int f, u;
    m_queue.Pop(f, u);
    if (f != node[u].dist + node[u].bound) continue;
    if (u == to) {
      found = true;
      break;
    }
    const int du = node[u].dist + kCrossingPenalty;
    // Closed: no later relaxation or stale item can open it again, so each
    // crossing's streets are relaxed once whatever the bounds.
    node[u].dist = kClosed;
    for (const Arc *a = arcs + start[u], *end = arcs + start[u + 1]; a != end; ++a) {
      const int v = a->node;
      visit(v);
      PathNode& p = node[v];
      const int nd = du + a->weight;
      // Routes of kNoRoute seconds or more do not exist; a crossing whose
      // bound reaches kBoundCap lies on none (nd is never below 0).
      if (nd >= p.dist || nd + p.bound >= kBoundCap) continue;
      p.dist = nd;
      p.parent = a->street;
      m_queue.Push(nd + p.bound, v);
    }
  }
  if (!found) return false;
  const size_t first = streets.size();
  for (int v = to; v != from; v = m_from[node[v].parent]) streets.push_back(node[v].parent);
  std::reverse(streets.begin() + static_cast<long>(first), streets.end());
  return true;
}

bool CSimRoutingMatrix::FindPath(int from, int to, std::vector<int>& streets) {
  return FindPathWithBounds(from, to, streets);
}

ZOR_SIM_VECTOR_CLONES bool CSimRoutingMatrix::FindPathWithBounds(int from, int to, std::vector<int>& streets) {
  if (from < 0 || to < 0 || from >= m_n || to >= m_n || from == to) return false;
  if (ShortLandmarkBounds()) {
    // The bounds from the 16-bit distances beside each crossing's state:
    // the same values as from the 32-bit table, read from the cache line
    // the search touches anyway.
    const int16_t* target = m_path[static_cast<size_t>(to)].landmark;
    const ShortLanes target0 = LoadShortLanes(target), target1 = LoadShortLanes(target + 8),
                     target2 = LoadShortLanes(target + 16);
    const PathNode* node = m_path.data();
    return SearchPath(from, to, streets, [&](int v) {
      const int16_t* own = node[v].landmark;
      ShortLanes h = MaxShort(MaxShort(target0 - LoadShortLanes(own), target1 - LoadShortLanes(own + 8)),
                              target2 - LoadShortLanes(own + 16));
      h = MaxShort(h, __builtin_shufflevector(h, h, 4, 5, 6, 7, 0, 1, 2, 3));
      h = MaxShort(h, __builtin_shufflevector(h, h, 2, 3, 0, 1, 6, 7, 4, 5));
      h = MaxShort(h, __builtin_shufflevector(h, h, 1, 0, 3, 2, 5, 4, 7, 6));
      return std::max(static_cast<int>(h[0]), 0);
    });
  }
  const int k = m_landmarks;
  if (m_tightValid && m_boundValid && k == kLandmarks) {
    // All landmarks at once, four to a vector: the target's distances stay
    // in registers and a crossing's bound reads its own 96 bytes.
    const int32_t* target = &m_tight32[static_cast<size_t>(to) * 2 * kLandmarks];
    const Lanes fromTarget0 = LoadLanes(target), fromTarget1 = LoadLanes(target + 4),
                fromTarget2 = LoadLanes(target + 8);
    const Lanes toTarget0 = LoadLanes(target + kLandmarks), toTarget1 = LoadLanes(target + kLandmarks + 4),
                toTarget2 = LoadLanes(target + kLandmarks + 8);
    const int32_t* table = m_tight32.data();
    return SearchPath(from, to, streets, [&](int v) {
      const int32_t* own = table + static_cast<size_t>(v) * (2 * kLandmarks);
      // d(L, t) - d(L, v) and d(v, L) - d(t, L) both bound d(v, t).
      Lanes h = Max(Max(fromTarget0 - LoadLanes(own), LoadLanes(own + kLandmarks) - toTarget0),
                    Max(fromTarget1 - LoadLanes(own + 4), LoadLanes(own + kLandmarks + 4) - toTarget1));
      h = Max(h, Max(fromTarget2 - LoadLanes(own + 8), LoadLanes(own + kLandmarks + 8) - toTarget2));
      const int32_t best = std::max(std::max(h[0], h[1]), std::max(h[2], h[3]));
      return std::clamp(best, 0, kBoundCap);
    });
  }
  if (m_tightValid && m_boundValid) {
    const int32_t* target = &m_tight32[static_cast<size_t>(to) * 2 * k];
    return SearchPath(from, to, streets, [&](int v) {
      const int32_t* own = &m_tight32[static_cast<size_t>(v) * 2 * k];
      int32_t h = 0;
      for (int l = 0; l < k; ++l) {
        h = std::max(h, target[l] - own[l]);
        h = std::max(h, own[k + l] - target[k + l]);
      }
      return std::min(h, kBoundCap);
    });
  }
  if (m_boundValid && m_boundsFinite) {
    // Bound() on distances known to be finite, without its tests.
    const int32_t* target = &m_landmark32[static_cast<size_t>(to) * 2 * k];
    return SearchPath(from, to, streets, [&](int v) {
      const int32_t* own = &m_landmark32[static_cast<size_t>(v) * 2 * k];
      int32_t h = 0;
      for (int l = 0; l < k; ++l) {
        h = std::max(h, target[l] - own[l]);
        h = std::max(h, own[k + l] - target[k + l]);
      }
      return std::min(h, kBoundCap);
    });
  }
  return SearchPath(from, to, streets,
                    [&](int v) { return static_cast<int>(std::min<int64_t>(Bound(v, to), kBoundCap)); });
}

bool CSimRoutingMatrix::MatrixPath(int from, int to, std::vector<int>& streets) const {
  if (from < 0 || to < 0 || from >= m_n || to >= m_n || from == to || to >= m_rowsReady) return false;
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
  if (to >= m_rowsReady) return from == to ? &kDiagonalEntry : &kNoRouteEntry;
  return m_matrix + static_cast<size_t>(to) * m_n + from;
}

bool CSimRoutingMatrix::CrossingStillRouted(int index) const {
  const CSimCrossing* c = m_crossings[static_cast<size_t>(index)];
  return c->IsCreated() && c->MatrixIndex() == index;
}

CSimCrossing* CSimRoutingMatrix::Crossing(int index) const {
  return index >= 0 && index < m_n ? m_crossings[index] : nullptr;
}

CSimStreet* CSimRoutingMatrix::Street(int index) const {
  return index >= 0 && index < static_cast<int>(m_streets.size()) ? m_streets[index] : nullptr;
}
