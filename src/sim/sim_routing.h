#pragma once
// All-pairs car routes of one slot's street network.
//
// A full pass fills the matrix with exact shortest routes: the distances
// to eight destinations at a time come from two sweeps over an elimination
// order of the network (see CSimRowSweep), and each route's first street
// from its crossing's out-streets. The rows are sliced by destinations the
// way a pivot-sliced closure would be. Every intermediate crossing of a
// route costs kCrossingPenalty seconds.
//
// Only the hour's last pass needs the whole matrix (the agents read it).
// The passes before the loading steps only need the routes of the trips
// that the next step loads, so those passes are light: the step searches
// each of its trips with A*. Streets only get slower during an hour (flows
// only grow), so distances to and from a few landmark crossings, taken at
// the hour's first pass, give lower bounds that stay admissible and
// consistent all hour long.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "sim/sim_row_sweep.h"

class CSimCrossing;
class CSimStreet;
class CBinaryTree;

// One matrix entry, 16 bytes: the way from one crossing to another. The
// full route is found by following first streets, each of whose end
// crossing holds the rest of the route in the same matrix row.
struct Route {
  static constexpr int kNoRoute = 600000;
  int cost;         // seconds; kNoRoute when there is no route
  int length;       // metres; -1 where no length was set (the diagonal)
  int firstStreet;  // routing index of the first street, -1 for none
  int lastStreet;   // routing index of the last street, -1 for none
  bool Direct() const { return firstStreet >= 0 && firstStreet == lastStreet; }
};
static_assert(sizeof(Route) == 16, "a route entry is 16 bytes");

class CSimRoutingMatrix {
 public:
  static constexpr int kCrossingPenalty = 20;
  static constexpr int kLandmarks = 12;
  // Light passes between two measurements of the landmarks on the current
  // travel times.
  static constexpr int kRemeasurePasses = 48;

  CSimRoutingMatrix() = default;
  CSimRoutingMatrix(const CSimRoutingMatrix&) = delete;
  CSimRoutingMatrix& operator=(const CSimRoutingMatrix&) = delete;

  // Numbers the created crossings with an id above 0 in id order, collects
  // the streets between them and allocates the matrix (all "no route").
  void Init(const CBinaryTree* crossings, const CBinaryTree* streets);
  void Clear();

  // Starts a pass with the streets' current travel times. A full pass
  // recomputes every row; a light pass refreshes the travel times, the
  // crossings' delay tables and, when needed, the landmark bounds, and
  // leaves the routes to FindPath. With `changed`, only the travel times of
  // those streets are read again: the caller vouches that no other street's
  // flow changed since the previous pass. The first pass after Init reads
  // every street whatever it is given.
  void StartPass(bool full, const std::vector<int>* changed = nullptr);
  // One slice: at most `destinations` rows, or until `milliseconds` have
  // passed (a started row is always finished). True while rows remain.
  bool Slice(int destinations, unsigned milliseconds);
  int Cursor() const { return m_cursor; }
  bool MatrixCurrent() const { return m_current; }

  int N() const { return m_n; }
  Route* Matrix() { return m_matrix; }
  const Route* Entry(int from, int to) const;
  CSimCrossing* Crossing(int index) const;
  // The index of the crossing with `id`, -1 when it had none at Init or is
  // no longer created: a table by id, where a lookup in the slot's tree of
  // crossings would cost a walk through it for every trip.
  int IndexOf(int id) const {
    if (id < 0 || id >= static_cast<int>(m_indexOfId.size())) return -1;
    const int index = m_indexOfId[static_cast<size_t>(id)];
    return index >= 0 && CrossingStillRouted(index) ? index : -1;
  }
  CSimStreet* Street(int index) const;
  int NrOfStreets() const { return static_cast<int>(m_streets.size()); }

  // Appends the streets of the best route from `from` to `to` under the
  // current travel times. False when there is none.
  bool FindPath(int from, int to, std::vector<int>& streets);
  // Whether the searches take their bounds from the 16-bit landmark
  // distances (all of them short enough) at the moment.
  bool ShortLandmarkBounds() const { return m_shortSource != 0 && m_shortSource == WantedLandmarkTable(); }
  // Appends the streets of the matrix route from `from` to `to`.
  bool MatrixPath(int from, int to, std::vector<int>& streets) const;

  size_t MatrixBytes() const { return m_matrix ? (static_cast<size_t>(m_n) * m_n + 1) * sizeof(Route) : 0; }

 private:
  // Writes the rows of destinations first .. first + count - 1 (at most
  // kLanes of CSimRowSweep) from the sweep's distances.
  ZOR_SIM_VECTOR_CLONES void SweepRows(int first, int count);
  // FindPath's work, in a version for each instruction set: it picks the
  // landmark bounds and runs the search.
  ZOR_SIM_VECTOR_CLONES bool FindPathWithBounds(int from, int to, std::vector<int>& streets);
  // Writes the row of `dest` from the distances and first streets in
  // `lane`; each crossing's last street and length follow from the
  // crossing its first street leads to.
  void WriteRow(int dest, int lane);
  // Keys per bucket of the landmark searches, 1 << kRowBucketShift: no
  // more than what any street adds to a key, its travel time (never below
  // 0) and the crossing penalty.
  static constexpr int kRowBucketShift = 4;
  static_assert((1 << kRowBucketShift) <= kCrossingPenalty, "a street's key step exceeds a bucket");
  // Crossings waiting in buckets of keys: the last one linked into each
  // bucket, the links between the crossings of a bucket and a bitmap of the
  // buckets that hold any. Of a bucket the crossing linked last comes out
  // first, then the others in the order of their links.
  struct BucketLinks {
    int* head;
    int* next;
    int* prev;
    uint64_t* bits;
    void Link(int v, size_t slot) {
      const int top = head[slot];
      next[v] = top;
      prev[v] = -1;
      head[slot] = v;
      if (top >= 0)
        prev[top] = v;
      else
        bits[slot >> 6] |= uint64_t{1} << (slot & 63);
    }
    void Unlink(int v, size_t slot) {
      const int p = prev[v], n = next[v];
      if (n >= 0) prev[n] = p;
      if (p >= 0) {
        next[p] = n;
      } else {
        head[slot] = n;
        if (n < 0) bits[slot >> 6] &= ~(uint64_t{1} << (slot & 63));
      }
    }
    // Empties `slot`, a bucket that holds any, and gives its top crossing;
    // the others follow it through `next`. Only for the least bucket,
    // which no relaxation links a crossing into or out of: every street
    // adds more than a bucket's width to a key.
    int TakeAll(size_t slot) {
      const int u = head[slot];
      head[slot] = -1;
      bits[slot >> 6] &= ~(uint64_t{1} << (slot & 63));
      return u;
    }
  };
  // The buckets of the landmark searches, a ring as wide as their keys'
  // span, and the links of the crossings waiting in them.
  std::vector<int> m_ringHead, m_rowNext, m_rowPrev;
  std::vector<uint64_t> m_ringBits;
  // The full pass: the sweep over the elimination order with the pass's
  // travel times and the penalty, its distances of eight rows by rank, and
  // each crossing's out-streets in rank order with the rank of their end
  // and their weight.
  CSimRowSweep m_sweep;
  bool m_sweepReady = false;
  struct SweepArc {
    int node;
    int weight;
    int street;
  };
  std::vector<int> m_weightPenalised, m_sweepStart, m_sweepFirst, m_chain, m_chainNext;
  std::vector<SweepArc> m_sweepArc;
  // The row being written, before it is streamed into the matrix.
  std::vector<Route> m_rowScratch;
  std::vector<int32_t> m_sweepDist;
  // Plain Dijkstra from (or, backward, to) `source` on the current times;
  // the distances land in m_dist for the nodes stamped m_stamp.
  void Search(int source, bool backward);
  void ComputeLandmarks();
  int64_t Bound(int v, int to);
  // Takes street i's current travel time into the graph.
  void ReadWeight(int i);
  // Distances from and to the chosen landmarks on the current travel
  // times, 32 bits, laid out like m_landmark32; false when some crossing
  // misses a landmark.
  bool MeasureLandmarks(std::vector<int32_t>& table);
  // A* from `from` to `to` with the bounds `boundOf(v)` gives (capped at
  // kBoundCap); appends the route's streets. False when there is none.
  // Inlined into FindPath, so that each of FindPath's builds for a newer
  // processor runs it with that processor's instructions.
  template <class BoundOf>
  [[gnu::always_inline]] inline bool SearchPath(int from, int to, std::vector<int>& streets, BoundOf boundOf);

  bool CrossingStillRouted(int index) const;

  int m_n = 0;
  Route* m_matrix = nullptr;
  std::vector<CSimCrossing*> m_crossings;
  std::vector<int> m_indexOfId;
  std::vector<CSimStreet*> m_streets;
  // Graph in compressed rows: the out-streets and in-streets of each
  // crossing, in street-id order.
  std::vector<int> m_outStart, m_out, m_inStart, m_in;
  std::vector<int> m_from, m_to, m_weight, m_length;
  // The same rows with the far crossing and the travel time of each street
  // side by side, so that a search reads one array per crossing.
  struct Arc {
    int node;
    int weight;
    int street;
  };
  std::vector<Arc> m_outArc, m_inArc;
  // Where each street sits in m_outArc and m_inArc.
  std::vector<int> m_outPos, m_inPos;
  bool m_weightsRead = false;
  // Travel times when the landmarks were measured; their bounds hold while
  // no street is faster than this.
  std::vector<int> m_baseWeight;
  bool m_boundValid = false;
  int m_landmarks = 0;
  // Distances from and to each landmark, [crossing * m_landmarks + k].
  std::vector<int64_t> m_fromLandmark, m_toLandmark;
  // When every crossing reaches and is reached from every landmark, the
  // same distances in 32 bits, [crossing][from 0..k-1, to 0..k-1].
  bool m_boundsFinite = false;
  std::vector<int32_t> m_landmark32;
  // The landmark crossings, and their distances measured again on the
  // travel times of a recent pass (every kRemeasurePasses light passes).
  std::vector<int> m_landmarkNodes;
  std::vector<int32_t> m_tight32;
  // Travel times when m_tight32 was measured.
  std::vector<int> m_tightWeight;
  bool m_tightValid = false;
  int m_passesSinceMeasure = 0;
  // Rows of the matrix written since Init; the rows above are read as
  // "no route" until a full pass reaches them.
  int m_rowsReady = 0;
  int m_cursor = 0;
  bool m_full = false;
  bool m_current = false;
  // Scratch of the searches, reused so that a search allocates nothing.
  std::vector<int64_t> m_dist;
  std::vector<int> m_parent;
  std::vector<uint32_t> m_seen;
  uint32_t m_stamp = 0;
  // Per-crossing state of FindPath in one cache line: bounds are capped at
  // kBoundCap, beyond which no route can use the crossing. Beside them the
  // crossing's landmark distances in 16 bits, where they all fit: those
  // from each landmark, then those to each negated, so that every lane of
  // the target's less the crossing's is a bound (lanes of landmarks not
  // chosen are 0 in both). Distances below kShortDistanceLimit keep those
  // differences within 16 bits.
  static constexpr int kShortDistanceLimit = 32768;
  struct alignas(64) PathNode {
    int16_t landmark[2 * kLandmarks];
    uint32_t stamp;
    int dist;
    int bound;
    int parent;
  };
  static_assert(sizeof(PathNode) == 64, "a crossing's search state is one cache line");
  std::vector<PathNode> m_path;
  // Which table of landmark distances the 16-bit copy in m_path holds: 0
  // none, 1 m_tight32, 2 m_landmark32.
  int m_shortSource = 0;
  // The table the searches read now, by the numbers of m_shortSource.
  int WantedLandmarkTable() const { return !m_boundValid ? 0 : m_tightValid ? 1 : m_boundsFinite ? 2 : 0; }
  // Copies that table into m_path when all its distances fit in 16 bits.
  void CopyShortLandmarks();
  uint32_t m_pathStamp = 0;
  // The greatest travel time read since the last full read.
  int m_maxWeight = 0;
  // Priority queue of the route searches, whose keys stay below kKeyLimit:
  // a bucket per key with a bitmap over the buckets. Of equal keys the one
  // pushed last comes out first; on equal costs that order decides which
  // route a search finds. The next key is found by scanning the bitmap
  // upwards from the least key that can hold items; emptying it clears
  // the bitmap's words between the least and the greatest key pushed.
  class BucketQueue {
   public:
    static constexpr int kKeyLimit = Route::kNoRoute + kCrossingPenalty + 1;
    // Empties the queue for at most `pushes` pushes, allocating its buckets
    // on first use.
    void Clear(size_t pushes);
    // Gives the buckets back; the next Clear allocates them again.
    void Release();
    bool Empty() const { return m_size == 0; }
    // Push and Pop are forced inline: they are the inner loop of every
    // route search, and a program optimised whole at the link otherwise
    // calls them out of line from the searches' versions for newer
    // processors, and an hour of the large town took 2.6 times as long.
    [[gnu::always_inline]] void Push(int key, int node) {
      const int index = static_cast<int>(m_pushed++);
      m_items[static_cast<size_t>(index)] = {node, m_head[key]};
      m_head[key] = index;
      m_bits[static_cast<size_t>(key) >> 6] |= uint64_t{1} << (key & 63);
      m_min = std::min(m_min, static_cast<size_t>(key));
      m_max = std::max(m_max, static_cast<size_t>(key));
      ++m_size;
    }
    [[gnu::always_inline]] void Pop(int& key, int& node) {
      size_t word = m_min >> 6;
      uint64_t bits = m_bits[word] & (~uint64_t{0} << (m_min & 63));
      while (!bits) bits = m_bits[++word];
      const size_t least = word * 64 + static_cast<size_t>(__builtin_ctzll(bits));
      const Item it = m_items[static_cast<size_t>(m_head[least])];
      m_head[least] = it.next;
      if (it.next < 0) m_bits[word] &= ~(uint64_t{1} << (least & 63));
      --m_size;
      m_min = least;
      key = static_cast<int>(least);
      node = it.node;
    }

   private:
    struct Item {
      int node;
      int next;  // the item pushed before it with the same key, -1 for none
    };
    std::vector<int> m_head;     // last item pushed per key, -1 when empty
    std::vector<uint64_t> m_bits;  // the keys with items
    std::vector<Item> m_items;  // room for the pushes Clear was promised
    size_t m_pushed = 0;
    // No item lies below m_min or above m_max; sizes, so that the searches'
    // stores of crossing data cannot alias them.
    size_t m_min = kKeyLimit;
    size_t m_max = 0;
    size_t m_size = 0;
  };
  BucketQueue m_queue;
};
