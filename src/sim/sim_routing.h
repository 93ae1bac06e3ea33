#pragma once
// All-pairs car routes of one slot's street network.
//
// A full pass fills the matrix with exact shortest routes: one backward
// Dijkstra search per destination crossing, sliced by destinations the way
// a pivot-sliced closure would be. Every intermediate crossing of a route
// costs kCrossingPenalty seconds.
//
// Only the hour's last pass needs the whole matrix (the agents read it).
// The passes before the loading steps only need the routes of the trips
// that the next step loads, so those passes are light: the step searches
// each of its trips with A*. Streets only get slower during an hour (flows
// only grow), so distances to and from a few landmark crossings, taken at
// the hour's first pass, give lower bounds that stay admissible and
// consistent all hour long.
#include <cstddef>
#include <cstdint>
#include <vector>

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
  // leaves the routes to FindPath.
  void StartPass(bool full);
  // One slice: at most `destinations` rows, or until `milliseconds` have
  // passed (a started row is always finished). True while rows remain.
  bool Slice(int destinations, unsigned milliseconds);
  int Cursor() const { return m_cursor; }
  bool MatrixCurrent() const { return m_current; }

  int N() const { return m_n; }
  Route* Matrix() { return m_matrix; }
  const Route* Entry(int from, int to) const;
  CSimCrossing* Crossing(int index) const;
  CSimStreet* Street(int index) const;
  int NrOfStreets() const { return static_cast<int>(m_streets.size()); }

  // Appends the streets of the best route from `from` to `to` under the
  // current travel times. False when there is none.
  bool FindPath(int from, int to, std::vector<int>& streets);
  // Appends the streets of the matrix route from `from` to `to`.
  bool MatrixPath(int from, int to, std::vector<int>& streets) const;

  size_t MatrixBytes() const { return m_matrix ? (static_cast<size_t>(m_n) * m_n + 1) * sizeof(Route) : 0; }

 private:
  void ComputeRow(int dest);
  // Plain Dijkstra from (or, backward, to) `source` on the current times;
  // the distances land in m_dist for the nodes stamped m_stamp.
  void Search(int source, bool backward);
  void ComputeLandmarks();
  int64_t Bound(int v, int to);

  int m_n = 0;
  Route* m_matrix = nullptr;
  std::vector<CSimCrossing*> m_crossings;
  std::vector<CSimStreet*> m_streets;
  // Graph in compressed rows: the out-streets and in-streets of each
  // crossing, in street-id order.
  std::vector<int> m_outStart, m_out, m_inStart, m_in;
  std::vector<int> m_from, m_to, m_weight, m_length;
  // Travel times when the landmarks were measured; their bounds hold while
  // no street is faster than this.
  std::vector<int> m_baseWeight;
  bool m_boundValid = false;
  int m_landmarks = 0;
  // Distances from and to each landmark, [crossing * m_landmarks + k].
  std::vector<int64_t> m_fromLandmark, m_toLandmark;
  int m_cursor = 0;
  bool m_full = false;
  bool m_current = false;
  // Scratch of the searches, reused so that a search allocates nothing.
  std::vector<int64_t> m_dist;
  std::vector<int> m_parent;
  std::vector<uint32_t> m_seen;
  std::vector<int64_t> m_bound;
  uint32_t m_stamp = 0;
  // Monotone priority queue of the searches: keys never fall below the
  // last one taken (Dijkstra, and A* with a consistent bound), which lets
  // a radix heap replace the binary heap's comparisons by bit tricks.
  class RadixHeap {
   public:
    void Clear();
    bool Empty() const { return m_size == 0; }
    void Push(uint64_t key, int node);
    void Pop(uint64_t& key, int& node);

   private:
    int Bucket(uint64_t key) const;
    struct Item {
      uint64_t key;
      int node;
    };
    std::vector<Item> m_buckets[65];
    uint64_t m_last = 0;
    size_t m_size = 0;
  };
  RadixHeap m_heap;
};
